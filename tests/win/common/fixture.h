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

// The plug-in speaks one of two editions, chosen by the ANSI code page: Russian where it is
// 1251, English on every other. A table of expected texts holds both; this picks the one due.
template <typename Text>
Text InEdition(Text russian, Text english) {
  return RussianLocale() ? russian : english;
}
// One expected text in both editions: a row of a table's two columns.
template <typename Char>
struct EditionText {
  const Char* russian;
  const Char* english;
  const Char* operator()() const { return InEdition(russian, english); }
};

#define SKIP_UNLESS_RUSSIAN() \
  if (!RussianLocale()) GTEST_SKIP() << "needs the Russian locale (LC_ALL=ru_RU.UTF-8)"
#define SKIP_UNLESS_US() \
  if (!UsLocale()) GTEST_SKIP() << "needs the US locale (LC_ALL=C)"

// Registers the help file the plug-in looks up for F1 and Help, as install.cmd does; an empty
// path removes the registration. False when the key cannot be written.
inline bool RegisterHelpFile(const std::string& path) {
  const char* const key = "Software\\Tessoran\\Vellmark\\zaDode";
  RegDeleteKeyA(HKEY_CURRENT_USER, key);
  if (path.empty()) return true;
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const LONG written =
      RegSetValueExA(handle, "HelpFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                     static_cast<DWORD>(path.size() + 1));
  RegCloseKey(handle);
  return written == ERROR_SUCCESS;
}

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
