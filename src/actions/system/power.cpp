// Power and session: log-off, shutdown, power-off and restart, standby and hibernation, what
// the machine supports, and keeping it awake. The calls that end the session or put the
// machine to sleep go through Seams(), so the suites can check the exact flag words.
#include "actions/system/power.h"

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "platform/raii.h"
#include "platform/seams.h"

namespace {
// Restart that also starts again the applications registered for it, as the action's hint
// promises; EWX_RESTARTAPPS is missing from older headers.
constexpr UINT kRestartAppsFlag = 0x40;
constexpr UINT kRestartType = EWX_REBOOT | kRestartAppsFlag;

constexpr std::array<std::string_view, 3> kSessionEndOptions = {"EWX_FORCE", "EWX_NOFORCE",
                                                                "EWX_FORCEIFHUNG"};
constexpr std::array<UINT, 3> kForceModifiers = {EWX_FORCE, 0, EWX_FORCEIFHUNG};

// The force keywords are exact: "ewx_force" or " EWX_FORCE" add nothing.
UINT ForceModifier(std::string_view option) {
  for (std::size_t i = 0; i < kSessionEndOptions.size(); ++i)
    if (option == kSessionEndOptions[i]) return kForceModifiers[i];
  return 0;
}

// ExitWindowsEx only starts the shutdown: "True" means the system accepted it.
bool EndSession(const ActionCall& call, UINT type, bool needsPrivilege) {
  const std::string option = call.Param(0), variable = call.Param(1);
  if (needsPrivilege && !SetProcessPrivilege(kShutdownPrivilege, true))
    return ReportSystemError(variable);
  if (!Seams().exitWindowsEx(type | ForceModifier(option), 0)) return ReportSystemError(variable);
  SetResultVariable(variable, kTrue);
  return true;
}

// SetSuspendState returns only after the machine has woken again.
bool EnterSleepState(const ActionCall& call, bool hibernate) {
  const std::string variable = call.Param(0);
  if (!SetProcessPrivilege(kShutdownPrivilege, true)) return ReportSystemError(variable);
  const auto suspend = PowrprofEntry(Seams().setSuspendState, "SetSuspendState");
  if (!suspend || !suspend(hibernate, FALSE, FALSE)) return ReportSystemError(variable);
  SetResultVariable(variable, kTrue);
  return true;
}

// Without powrprof the machine counts as unable to do it.
bool AnswerCapability(const ActionCall& call, BOOLEAN(WINAPI* seam)(), const char* function) {
  const auto query = PowrprofEntry(seam, function);
  SetResultVariable(call.Param(0), TruthText(query && query()));
  return true;
}

// The state belongs to the calling host thread; a zero previous state means the call failed.
bool SetExecutionState(const ActionCall& call, EXECUTION_STATE state) {
  const bool accepted = SetThreadExecutionState(state) != 0;
  SetResultVariable(call.Param(0), TruthText(accepted));
  return accepted;
}
}  // namespace

bool SetProcessPrivilege(const char* name, bool enable) {
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
bool RunLogOff(const ActionCall& call) { return EndSession(call, EWX_LOGOFF, false); }
bool RunShutdown(const ActionCall& call) { return EndSession(call, EWX_SHUTDOWN, true); }
bool RunReboot(const ActionCall& call) { return EndSession(call, EWX_REBOOT, true); }

// kxRestart: a reboot that brings back the applications that were open (EWX_RESTARTAPPS),
// not a power-off.
bool RunRestart(const ActionCall& call) { return EndSession(call, kRestartType, true); }

// kxPowerOff: refused before anything else when the power policy does not allow it; LastError
// then carries whatever reason the thread holds, the policy query sets none of its own.
bool RunPowerOff(const ActionCall& call) {
  const auto allowed = PowrprofEntry(Seams().isPwrShutdownAllowed, "IsPwrShutdownAllowed");
  if (!allowed || !allowed()) return ReportSystemError(call.Param(1));
  return EndSession(call, EWX_POWEROFF, true);
}

bool RunSuspend(const ActionCall& call) { return EnterSleepState(call, false); }
bool RunHibernate(const ActionCall& call) { return EnterSleepState(call, true); }

// The capability queries always succeed, whatever they answer, and never touch LastError.
bool RunCanSuspend(const ActionCall& call) {
  return AnswerCapability(call, Seams().isPwrSuspendAllowed, "IsPwrSuspendAllowed");
}
bool RunCanPowerOff(const ActionCall& call) {
  return AnswerCapability(call, Seams().isPwrShutdownAllowed, "IsPwrShutdownAllowed");
}
bool RunCanHibernate(const ActionCall& call) {
  return AnswerCapability(call, Seams().isPwrHibernateAllowed, "IsPwrHibernateAllowed");
}

// kxDisableSleep keeps both the system and the display awake until kxEnableSleep runs on the
// same thread; neither writes LastError.
bool RunDisableSleep(const ActionCall& call) {
  return SetExecutionState(call, ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
}
bool RunEnableSleep(const ActionCall& call) { return SetExecutionState(call, ES_CONTINUOUS); }

std::span<const std::string_view> SessionEndOptions() { return kSessionEndOptions; }
