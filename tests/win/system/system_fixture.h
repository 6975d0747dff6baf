// The system suites run the plug-in's code in this process, with every call that could log
// off, power down, suspend or darken the screen replaced by a recorder. The replacements are
// installed before any test starts (see system_fixture.cpp), so even a test that forgets the
// fixture cannot reach the real ExitWindowsEx, which under Wine ends every Wine process.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "host.h"
#include "inprocess.h"
#include "platform/seams.h"

// What the replaced calls saw, and how they answer.
struct SeamLog {
  std::vector<UINT> exitFlags;
  std::vector<DWORD> exitReasons;
  BOOL exitAnswer = TRUE;
  DWORD exitError = ERROR_SUCCESS;

  int privilegeCalls = 0;
  bool privilegeRecordSound = true;      // one entry, enabled, 16-byte buffers
  DWORD privilegeError = ERROR_SUCCESS;  // what AdjustTokenPrivileges leaves behind

  std::vector<std::array<BOOLEAN, 3>> suspendCalls;
  BOOLEAN suspendAnswer = TRUE;
  DWORD suspendError = ERROR_SUCCESS;

  int shutdownAllowedCalls = 0;
  BOOLEAN shutdownAllowed = TRUE;
  DWORD shutdownAllowedError = ERROR_SUCCESS;

  struct Message {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  std::vector<Message> messages;
  LRESULT messageAnswer = 0;
};

SeamLog& Log();
// The recorders, installed into Seams(); the real functions stay only where a test puts them
// back itself (kill-by-name, the about box, the capability queries).
void InstallRecorders();

class SystemTest : public ::testing::Test {
 protected:
  NbHost host{InProcessExports()};
  MachineSeams saved_ = Seams();

  void SetUp() override {
    Log() = SeamLog{};
    InstallRecorders();
  }
  void TearDown() override { Seams() = saved_; }

  std::string Result() const { return host.Var("Result").value_or("<unset>"); }
  std::string LastError() const { return host.Var("LastError").value_or("<unset>"); }
  // The names the plug-in wrote, in order.
  std::vector<std::string> Written() const {
    std::vector<std::string> names;
    for (const auto& call : host.setCalls) names.push_back(call.name);
    return names;
  }
};
