#include "platform/seams.h"

#include <string>

MachineSeams& Seams() {
  static MachineSeams seams;
  return seams;
}

namespace {

// Loaded by full path so that a DLL of the same name beside the publication is never picked
// up, and kept loaded: a help window lives on after the call that opened it.
HMODULE LoadSystemLibrary(const char* file) {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return LoadLibraryA(file);
  return LoadLibraryA((std::string(folder, length) + "\\" + file).c_str());
}

}  // namespace

HWND(WINAPI* HtmlHelpEntry())(HWND, LPCSTR, UINT, DWORD_PTR) {
  using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
  if (Seams().htmlHelp) return Seams().htmlHelp;
  // hhctrl.ocx has no import library in the toolchain.
  static const HMODULE hhctrl = LoadSystemLibrary("hhctrl.ocx");
  if (!hhctrl) return nullptr;
  return reinterpret_cast<HtmlHelpProc>(
      reinterpret_cast<void*>(GetProcAddress(hhctrl, "HtmlHelpA")));
}

FARPROC PowrprofProc(const char* name) {
  static const HMODULE powrprof = LoadSystemLibrary("powrprof.dll");
  if (!powrprof) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return GetProcAddress(powrprof, name);
}
