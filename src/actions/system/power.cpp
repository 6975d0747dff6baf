// Power and session: log-off, shutdown, power-off and restart, standby and hibernation, what
// the machine supports, and keeping it awake. The calls that end the session or put the
// machine to sleep go through Seams(), so the suites can check the exact flag words.
#include "actions/system/power.h"

#include <windows.h>

#include <string>
#include <string_view>

#include "actions/actions.h"
#include "core/conventions.h"
#include "platform/raii.h"
#include "platform/seams.h"

namespace {
// Restart that also starts again the applications registered for it, as the action's hint
// promises; EWX_RESTARTAPPS is missing from older headers.
constexpr UINT kRestartAppsFlag = 0x40;
constexpr UINT kRestartType = EWX_REBOOT | kRestartAppsFlag;

// The force keywords are exact: "ewx_force" or " EWX_FORCE" add nothing.
UINT ForceModifier(std::string_view option) {
  if (option == "EWX_FORCE") return EWX_FORCE;
  if (option == "EWX_FORCEIFHUNG") return EWX_FORCEIFHUNG;
  return 0;
}

bool ReportLastError(std::string_view variable) {
  const DWORD code = GetLastError();
  return ReportSystemError(variable, code);
}

// ExitWindowsEx only starts the shutdown: "True" means the system accepted it.
bool EndSession(Params params, UINT type, bool needsPrivilege) {
  const std::string option = Param(params, 0), variable = Param(params, 1);
  if (needsPrivilege && !SetProcessPrivilege(kShutdownPrivilege, true))
    return ReportLastError(variable);
  if (!Seams().exitWindowsEx(type | ForceModifier(option), 0)) return ReportLastError(variable);
  SetResultVariable(variable, kTrue);
  return true;
}

// SetSuspendState returns only after the machine has woken again.
bool EnterSleepState(Params params, bool hibernate) {
  const std::string variable = Param(params, 0);
  if (!SetProcessPrivilege(kShutdownPrivilege, true)) return ReportLastError(variable);
  const auto suspend = PowrprofEntry(Seams().setSuspendState, "SetSuspendState");
  if (!suspend || !suspend(hibernate, FALSE, FALSE)) return ReportLastError(variable);
  SetResultVariable(variable, kTrue);
  return true;
}

// Without powrprof the machine counts as unable to do it.
bool AnswerCapability(Params params, BOOLEAN(WINAPI* seam)(), const char* function) {
  const auto query = PowrprofEntry(seam, function);
  SetResultVariable(Param(params, 0), TruthText(query && query()));
  return true;
}

// The state belongs to the calling host thread; a zero previous state means the call failed.
bool SetExecutionState(Params params, EXECUTION_STATE state) {
  const bool accepted = SetThreadExecutionState(state) != 0;
  SetResultVariable(Param(params, 0), TruthText(accepted));
  return accepted;
}
}  // namespace

bool SetProcessPrivilege(const char* name, bool enable) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExA(&version) && version.dwPlatformId != VER_PLATFORM_WIN32_NT) return true;
  HANDLE opened = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) {
    const Handle token(opened);
    LUID id{};
    if (LookupPrivilegeValueA(nullptr, name, &id)) {
      // One entry: the record and the previous-state buffer are both exactly one
      // TOKEN_PRIVILEGES long.
      static_assert(sizeof(TOKEN_PRIVILEGES) == 16);
      TOKEN_PRIVILEGES wanted{};
      wanted.PrivilegeCount = 1;
      wanted.Privileges[0].Luid = id;
      wanted.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
      TOKEN_PRIVILEGES previous{};
      DWORD returned = 0;
      Seams().adjustTokenPrivileges(token.get(), FALSE, &wanted, sizeof previous, &previous,
                                    &returned);
    }
  }
  return GetLastError() == ERROR_SUCCESS;
}

// kxLogOff: ends the user's session; no privilege is needed for that.
bool RunLogOff(Params params) { return EndSession(params, EWX_LOGOFF, false); }
bool RunShutdown(Params params) { return EndSession(params, EWX_SHUTDOWN, true); }
bool RunReboot(Params params) { return EndSession(params, EWX_REBOOT, true); }

// kxRestart: a reboot that brings back the applications that were open (EWX_RESTARTAPPS),
// not a power-off.
bool RunRestart(Params params) { return EndSession(params, kRestartType, true); }

// kxPowerOff: refused before anything else when the power policy does not allow it; LastError
// then carries whatever reason the thread holds, the policy query sets none of its own.
bool RunPowerOff(Params params) {
  const auto allowed = PowrprofEntry(Seams().isPwrShutdownAllowed, "IsPwrShutdownAllowed");
  if (!allowed || !allowed()) return ReportLastError(Param(params, 1));
  return EndSession(params, EWX_POWEROFF, true);
}

bool RunSuspend(Params params) { return EnterSleepState(params, false); }
bool RunHibernate(Params params) { return EnterSleepState(params, true); }

// The capability queries always succeed, whatever they answer, and never touch LastError.
bool RunCanSuspend(Params params) {
  return AnswerCapability(params, Seams().isPwrSuspendAllowed, "IsPwrSuspendAllowed");
}
bool RunCanPowerOff(Params params) {
  return AnswerCapability(params, Seams().isPwrShutdownAllowed, "IsPwrShutdownAllowed");
}
bool RunCanHibernate(Params params) {
  return AnswerCapability(params, Seams().isPwrHibernateAllowed, "IsPwrHibernateAllowed");
}

// kxDisableSleep keeps both the system and the display awake until kxEnableSleep runs on the
// same thread; neither writes LastError.
bool RunDisableSleep(Params params) {
  return SetExecutionState(params, ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
}
bool RunEnableSleep(Params params) { return SetExecutionState(params, ES_CONTINUOUS); }
