// Table rows for the text actions: the action, its parameters without the result variable,
// and what it must write into "Result".
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host.h"

struct Case {
  const char* action;
  std::vector<std::string> params;
  const char* expected;
};

inline std::string Describe(const Case& c) {
  std::string text = c.action;
  for (const auto& p : c.params) text += " [" + p + "]";
  return text;
}

// Every case succeeds, writes `expected` into the result variable and leaves LastError alone.
inline void RunCases(NbHost& host, const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    host.SetVar("LastError", "untouched");
    std::vector<std::string> params = c.params;
    params.push_back("[Result]");
    EXPECT_TRUE(host.Exec(c.action, params)) << Describe(c);
    EXPECT_EQ(host.Value("Result"), c.expected) << Describe(c);
    EXPECT_EQ(host.Value("LastError"), "untouched") << Describe(c);
  }
}
