#include "system_fixture.h"

SeamLog& Log() {
  static SeamLog log;
  return log;
}

namespace {
BOOL WINAPI RecordExitWindows(UINT flags, DWORD reason) {
  Log().exitFlags.push_back(flags);
  Log().exitReasons.push_back(reason);
  SetLastError(Log().exitError);
  return Log().exitAnswer;
}

BOOL WINAPI RecordAdjustPrivileges(HANDLE, BOOL disableAll, PTOKEN_PRIVILEGES wanted,
                                   DWORD previousLength, PTOKEN_PRIVILEGES previous,
                                   PDWORD returned) {
  ++Log().privilegeCalls;
  Log().privilegeRecordSound = Log().privilegeRecordSound && !disableAll && wanted &&
                               wanted->PrivilegeCount == 1 &&
                               wanted->Privileges[0].Attributes == SE_PRIVILEGE_ENABLED &&
                               previousLength == 16 && previous && returned;
  // The real call answers TRUE even when the privilege is not held; only the last error tells.
  SetLastError(Log().privilegeError);
  return TRUE;
}

BOOLEAN WINAPI RecordSuspend(BOOLEAN hibernate, BOOLEAN forceCritical, BOOLEAN noWakeEvents) {
  Log().suspendCalls.push_back({hibernate, forceCritical, noWakeEvents});
  SetLastError(Log().suspendError);
  return Log().suspendAnswer;
}

BOOLEAN WINAPI RecordShutdownAllowed() {
  ++Log().shutdownAllowedCalls;
  SetLastError(Log().shutdownAllowedError);
  return Log().shutdownAllowed;
}

LRESULT WINAPI RecordMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Log().messages.push_back({window, message, wParam, lParam});
  return Log().messageAnswer;
}

BOOL WINAPI RefuseTermination(HANDLE, UINT) {
  ADD_FAILURE() << "TerminateProcess reached outside a kill-by-name test";
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

int WINAPI RefuseAbout(HWND, LPCSTR, LPCSTR, HICON) {
  ADD_FAILURE() << "ShellAboutA reached outside the about-box test";
  return 0;
}

// Before main: nothing in this program may reach the real calls by accident.
[[maybe_unused]] const bool kInstalledAtStart = (InstallRecorders(), true);
}  // namespace

void InstallRecorders() {
  MachineSeams& seams = Seams();
  seams.exitWindowsEx = &RecordExitWindows;
  seams.adjustTokenPrivileges = &RecordAdjustPrivileges;
  seams.setSuspendState = &RecordSuspend;
  seams.isPwrShutdownAllowed = &RecordShutdownAllowed;
  seams.sendMessage = &RecordMessage;
  seams.terminateProcess = &RefuseTermination;
  seams.shellAbout = &RefuseAbout;
}
