// Shared pieces of the Windows suites: a fresh host per test, and locale checks.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "host.h"

class PluginTest : public ::testing::Test {
 protected:
  NbHost host{NbHost::DefaultPluginPath()};

  // Runs action `name` with `params` and returns what it wrote into the variable "Result"
  // (the tests pass "[Result]" as the result parameter); "<unset>" when nothing was written.
  std::string Result() const { return host.Var("Result").value_or("<unset>"); }
  std::string LastError() const { return host.Var("LastError").value_or("<unset>"); }
};

// Wine takes the ANSI code page from LC_ALL: 1251 under ru_RU.UTF-8, 1252 under C.
inline bool RussianLocale() { return GetACP() == 1251; }
inline bool UsLocale() { return GetACP() == 1252; }

#define SKIP_UNLESS_RUSSIAN() \
  if (!RussianLocale()) GTEST_SKIP() << "needs the Russian locale (LC_ALL=ru_RU.UTF-8)"
#define SKIP_UNLESS_US() \
  if (!UsLocale()) GTEST_SKIP() << "needs the US locale (LC_ALL=C)"

// A scratch folder under the temporary folder, removed with everything in it at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

std::string ReadFileBytes(const std::string& path);
