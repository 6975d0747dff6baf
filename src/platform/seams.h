// Calls that change the machine or wait for a person. Production code reaches them only
// through this table, which holds the Windows functions themselves; tests swap single entries
// so that no test logs off, powers down, kills a stranger's process or waits on a dialog.
// Entries that live in a DLL the plug-in must not import (powrprof, hhctrl.ocx) start null
// and are looked up at first use by the action that needs them.
#pragma once

#include <windows.h>
// windows.h first: the dialog and shell headers need its types.
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

struct MachineSeams {
  BOOL(WINAPI* exitWindowsEx)(UINT flags, DWORD reason) = &ExitWindowsEx;
  LRESULT(WINAPI* sendMessage)(HWND, UINT, WPARAM, LPARAM) = &SendMessageA;
  BOOL(WINAPI* terminateProcess)(HANDLE process, UINT exitCode) = &TerminateProcess;
  int(WINAPI* shFileOperation)(LPSHFILEOPSTRUCTA operation) = &SHFileOperationA;
  BOOL(WINAPI* getOpenFileName)(LPOPENFILENAMEA) = &GetOpenFileNameA;
  BOOL(WINAPI* getSaveFileName)(LPOPENFILENAMEA) = &GetSaveFileNameA;
  BOOL(WINAPI* chooseColor)(LPCHOOSECOLORA) = &ChooseColorA;
  BOOL(WINAPI* chooseFont)(LPCHOOSEFONTA) = &ChooseFontA;
  HINSTANCE(WINAPI* shellExecute)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) = &ShellExecuteA;
  HWND(WINAPI* htmlHelp)(HWND, LPCSTR, UINT, DWORD_PTR) = nullptr;  // hhctrl.ocx, see HtmlHelpEntry
  // Power and session. The privilege step is here so tests can watch it and make it fail; the
  // powrprof entries start null and are resolved by PowrprofEntry.
  BOOL(WINAPI* adjustTokenPrivileges)
  (HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES wanted, DWORD previousLength,
   PTOKEN_PRIVILEGES previous, PDWORD returnedLength) = &AdjustTokenPrivileges;
  BOOLEAN(WINAPI* setSuspendState)
  (BOOLEAN hibernate, BOOLEAN forceCritical, BOOLEAN disableWakeEvent) = nullptr;
  BOOLEAN(WINAPI* isPwrSuspendAllowed)() = nullptr;
  BOOLEAN(WINAPI* isPwrShutdownAllowed)() = nullptr;
  BOOLEAN(WINAPI* isPwrHibernateAllowed)() = nullptr;
  int(WINAPI* shellAbout)(HWND owner, LPCSTR application, LPCSTR otherText,
                          HICON icon) = &ShellAboutA;
  // A wipe flushes once per pass; tests look at the file's bytes at each flush. The counter
  // seeds the plug-in's generators, so a test can fix the bytes a wipe writes.
  BOOL(WINAPI* flushFileBuffers)(HANDLE file) = &FlushFileBuffers;
  BOOL(WINAPI* queryPerformanceCounter)(LARGE_INTEGER* counter) = &QueryPerformanceCounter;
  PIDLIST_ABSOLUTE(WINAPI* shBrowseForFolder)(LPBROWSEINFOW) = &SHBrowseForFolderW;
};

MachineSeams& Seams();

// The help engine's HtmlHelpA: the seam when a test set one, otherwise hhctrl.ocx's, loaded
// on first use; null (with the system's last error) when the engine is missing.
HWND(WINAPI* HtmlHelpEntry())(HWND, LPCSTR, UINT, DWORD_PTR);

// A function of powrprof.dll, loaded from the system folder on first use and kept loaded: the
// plug-in must still load on systems without it. Null, with the system's last error, when the
// DLL or the function is missing.
FARPROC PowrprofProc(const char* name);

// The seam when a test set one, otherwise powrprof's own function `name`.
template <typename Proc>
Proc PowrprofEntry(Proc seam, const char* name) {
  if (seam) return seam;
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(PowrprofProc(name)));
}
