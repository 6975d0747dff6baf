#include "platform/seams.h"

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
