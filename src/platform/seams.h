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
  PIDLIST_ABSOLUTE(WINAPI* shBrowseForFolder)(LPBROWSEINFOW) = &SHBrowseForFolderW;
};

MachineSeams& Seams();

// The help engine's HtmlHelpA: the seam when a test set one, otherwise hhctrl.ocx's, loaded
// on first use; null (with the system's last error) when the engine is missing.
HWND(WINAPI* HtmlHelpEntry())(HWND, LPCSTR, UINT, DWORD_PTR);
