// A host on the plug-in code linked into this program, so a test can replace entries of the
// seam table; every entry is put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "fixture.h"
#include "inprocess.h"
#include "platform/seams.h"

class SeamTest : public ::testing::Test {
 protected:
  NbHost host{InProcessExports()};
  MachineSeams saved_ = Seams();
  ~SeamTest() override { Seams() = saved_; }

  std::string Result() const { return host.Var("Result").value_or("<unset>"); }
  std::string LastError() const { return host.Var("LastError").value_or("<unset>"); }
};
