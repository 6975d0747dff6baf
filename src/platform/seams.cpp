#include "platform/seams.h"

#include <string>

MachineSeams& Seams() {
  static MachineSeams seams;
  return seams;
}

HWND(WINAPI* HtmlHelpEntry())(HWND, LPCSTR, UINT, DWORD_PTR) {
  using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
  if (Seams().htmlHelp) return Seams().htmlHelp;
  // hhctrl.ocx has no import library in the toolchain; it is loaded on demand and stays
  // loaded, since the help window it opens lives on after the call.
  static HMODULE hhctrl = LoadLibraryA("hhctrl.ocx");
  if (!hhctrl) return nullptr;
  return reinterpret_cast<HtmlHelpProc>(
      reinterpret_cast<void*>(GetProcAddress(hhctrl, "HtmlHelpA")));
}

FARPROC PowrprofProc(const char* name) {
  // Loaded by full path so that a powrprof.dll beside the publication is never picked up.
  static const HMODULE powrprof = [] {
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return LoadLibraryA("powrprof.dll");
    return LoadLibraryA((std::string(folder, length) + "\\powrprof.dll").c_str());
  }();
  if (!powrprof) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return GetProcAddress(powrprof, name);
}
