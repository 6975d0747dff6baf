// Power and session actions through the recorders: the exact ExitWindowsEx flag words, the
// privilege step, the order of the failure report. Only the capability queries and the
// execution state run for real.
#include "actions/system/power.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/failures.h"
#include "core/host_io.h"
#include "system_fixture.h"

namespace {

using PowerTest = SystemTest;

BOOLEAN WINAPI Forbidden() { return FALSE; }

struct SessionAction {
  const char* name;
  UINT type;
  bool privilege;
};
// kxRestart is a reboot that brings the open applications back (EWX_RESTARTAPPS).
constexpr SessionAction kSessionActions[] = {
    {"kxLogOff", 0x00, false},  {"kxShutdown", 0x01, true}, {"kxReboot", 0x02, true},
    {"kxPowerOff", 0x08, true}, {"kxRestart", 0x42, true},
};

TEST_F(PowerTest, FlagWordForEveryActionAndForceOption) {
  const struct {
    const char* option;
    UINT modifier;
  } options[] = {{"EWX_FORCE", 0x04}, {"EWX_FORCEIFHUNG", 0x10}, {"EWX_NOFORCE", 0}, {"", 0},
                 {"ewx_force", 0},    {" EWX_FORCE", 0},         {"EWX_FORCE ", 0}};
  for (const auto& action : kSessionActions) {
    for (const auto& option : options) {
      SCOPED_TRACE(std::string(action.name) + " \"" + option.option + "\"");
      Log() = SeamLog{};
      host.ClearVariables("");
      EXPECT_TRUE(host.Exec(action.name, {option.option, "[Result]"}));
      EXPECT_EQ(Log().exitFlags, std::vector<UINT>{action.type | option.modifier});
      EXPECT_EQ(Log().exitReasons, std::vector<DWORD>{0});
      EXPECT_EQ(Log().privilegeCalls, action.privilege ? 1 : 0);
      EXPECT_TRUE(Log().privilegeRecordSound);
      EXPECT_EQ(Result(), "True");
      EXPECT_EQ(LastError(), "<unset>");
    }
  }
}

TEST_F(PowerTest, PrivilegeNotHeldStopsBeforeTheShutdownCall) {
  Log().privilegeError = ERROR_NOT_ALL_ASSIGNED;
  for (const auto& action : kSessionActions) {
    SCOPED_TRACE(action.name);
    Log().exitFlags.clear();
    host.ClearVariables("");
    host.setCalls.clear();
    const bool ok = host.Exec(action.name, {"EWX_FORCE", "[Result]"});
    if (!action.privilege) {  // logging off needs no privilege
      EXPECT_TRUE(ok);
      EXPECT_EQ(Log().exitFlags.size(), 1u);
      EXPECT_EQ(Result(), "True");
      continue;
    }
    EXPECT_FALSE(ok);
    EXPECT_TRUE(Log().exitFlags.empty());
    EXPECT_EQ(LastError(), SystemErrorText(ERROR_NOT_ALL_ASSIGNED));
    EXPECT_NE(LastError(), "");
    EXPECT_EQ(Written(), (std::vector<std::string>{"LastError", "[Result]"}));
    EXPECT_EQ(Result(), "False");
  }
  for (const char* action : {"kxSuspend", "kxHibernate"}) {
    SCOPED_TRACE(action);
    EXPECT_FALSE(host.Exec(action, {"[Result]"}));
    EXPECT_TRUE(Log().suspendCalls.empty());
    EXPECT_EQ(LastError(), SystemErrorText(ERROR_NOT_ALL_ASSIGNED));
    EXPECT_EQ(Result(), "False");
  }
}

TEST_F(PowerTest, PowerOffRefusedByPolicyTouchesNothing) {
  Log().shutdownAllowed = FALSE;
  Log().shutdownAllowedError = ERROR_NOT_SUPPORTED;
  EXPECT_FALSE(host.Exec("kxPowerOff", {"EWX_FORCE", "[Result]"}));
  EXPECT_EQ(Log().shutdownAllowedCalls, 1);
  EXPECT_EQ(Log().privilegeCalls, 0);
  EXPECT_TRUE(Log().exitFlags.empty());
  EXPECT_EQ(Written(), (std::vector<std::string>{"LastError", "[Result]"}));
  EXPECT_EQ(LastError(), SystemErrorText(ERROR_NOT_SUPPORTED));
  EXPECT_EQ(Result(), "False");
}

TEST_F(PowerTest, RefusedCallsGiveTheSystemTextThenFalse) {
  Log().exitAnswer = FALSE;
  Log().exitError = ERROR_ACCESS_DENIED;
  Log().suspendAnswer = FALSE;
  Log().suspendError = ERROR_NOT_SUPPORTED;
  for (const auto& action : kSessionActions) {
    SCOPED_TRACE(action.name);
    host.setCalls.clear();
    EXPECT_FALSE(host.Exec(action.name, {"", "[Result]"}));
    EXPECT_EQ(Written(), (std::vector<std::string>{"LastError", "[Result]"}));
    EXPECT_EQ(LastError(), SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Result(), "False");
  }
  for (const char* action : {"kxSuspend", "kxHibernate"}) {
    SCOPED_TRACE(action);
    host.setCalls.clear();
    EXPECT_FALSE(host.Exec(action, {"[Result]"}));
    EXPECT_EQ(Written(), (std::vector<std::string>{"LastError", "[Result]"}));
    EXPECT_EQ(LastError(), SystemErrorText(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(Result(), "False");
  }
}

TEST_F(PowerTest, SuspendAndHibernateAskForTheirStateWithThePrivilege) {
  EXPECT_TRUE(host.Exec("kxSuspend", {"[Result]"}));
  EXPECT_EQ(Result(), "True");
  EXPECT_TRUE(host.Exec("kxHibernate", {"[Result]"}));
  ASSERT_EQ(Log().suspendCalls.size(), 2u);
  EXPECT_EQ(Log().suspendCalls[0], (std::array<BOOLEAN, 3>{FALSE, FALSE, FALSE}));
  EXPECT_EQ(Log().suspendCalls[1], (std::array<BOOLEAN, 3>{TRUE, FALSE, FALSE}));
  EXPECT_EQ(Log().privilegeCalls, 2);
}

TEST_F(PowerTest, EmptyResultVariableStillPerformsTheOperation) {
  EXPECT_TRUE(host.Exec("kxShutdown", {"", ""}));
  EXPECT_TRUE(host.Exec("kxSuspend", {""}));
  EXPECT_EQ(Log().exitFlags, std::vector<UINT>{0x01});
  EXPECT_EQ(Log().suspendCalls.size(), 1u);
  EXPECT_TRUE(host.setCalls.empty());
  // A failure still reaches LastError.
  Log().exitAnswer = FALSE;
  Log().exitError = ERROR_ACCESS_DENIED;
  EXPECT_FALSE(host.Exec("kxReboot", {"", "  "}));
  EXPECT_EQ(Written(), std::vector<std::string>{"LastError"});
}

TEST_F(PowerTest, ShutdownPrivilegeCanBeEnabledForReal) {
  Seams().adjustTokenPrivileges = &AdjustTokenPrivileges;
  EXPECT_TRUE(SetProcessPrivilege(kShutdownPrivilege, true));
  EXPECT_FALSE(SetProcessPrivilege("SeNoSuchPrivilege", true));
}

TEST_F(PowerTest, CapabilityQueriesSucceedWhateverTheyAnswer) {
  Seams().isPwrShutdownAllowed = nullptr;  // powrprof's own answers
  for (const char* action : {"kxCanSuspend", "kxCanPowerOff", "kxCanHibernate"}) {
    SCOPED_TRACE(action);
    host.SetVar("Result", "");
    EXPECT_TRUE(host.Exec(action, {"[Result]"}));
    EXPECT_TRUE(Result() == "True" || Result() == "False") << Result();
  }
  EXPECT_EQ(LastError(), "<unset>");
  // A policy that forbids it answers "False", still a success.
  Seams().isPwrShutdownAllowed = &Forbidden;
  EXPECT_TRUE(host.Exec("kxCanPowerOff", {"[Result]"}));
  EXPECT_EQ(Result(), "False");
}

TEST_F(PowerTest, DisableThenEnableSleep) {
  EXPECT_TRUE(host.Exec("kxDisableSleep", {"[Result]"}));
  EXPECT_EQ(Result(), "True");
  host.SetVar("Result", "");
  EXPECT_TRUE(host.Exec("kxEnableSleep", {"[Result]"}));
  EXPECT_EQ(Result(), "True");
  // The state left behind is the plain continuous one.
  EXPECT_EQ(SetThreadExecutionState(ES_CONTINUOUS), ES_CONTINUOUS);
  EXPECT_EQ(LastError(), "<unset>");
}

}  // namespace
