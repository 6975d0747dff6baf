// The shipped help as an author meets it: install.cmd registers it, F1 in a property form
// opens it at the form's own action, uninstall.cmd takes it away again.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "core/conventions.h"
#include "editor/form_layer.h"
#include "fixture.h"
#include "inprocess.h"
#include "platform/resources.h"
#include "platform/seams.h"
#include "resources/resource.h"

namespace {

const char* const kKey = "Software\\Tessoran\\Vellmark\\zaDode";

std::string BuildDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir = path;
  return dir.substr(0, dir.find_last_of('\\'));
}

std::string RegisteredHelpFile() {
  char value[MAX_PATH * 2] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, kKey, "HelpFile", RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return "<none>";
  return value;
}

void RegisterHelpFile(const std::string& path) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "HelpFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                 static_cast<DWORD>(path.size() + 1));
  RegCloseKey(key);
}

// cmd /c "script" "argument", as an author runs it from a console; its exit code.
DWORD RunScript(const std::string& script, const std::string& argument) {
  std::string command = "cmd.exe /c \"\"" + script + "\" \"" + argument + "\"\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process))
    return GetLastError() | 0x80000000;
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

std::string g_helpTarget;
HWND WINAPI RecordHelp(HWND, LPCSTR target, UINT command, DWORD_PTR) {
  g_helpTarget = target + std::string(command == 0 ? "" : " (not HH_DISPLAY_TOPIC)");
  return reinterpret_cast<HWND>(1);
}

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM out) {
  char cls[16] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(out) = window;
  return FALSE;
}

// Opens action `id`'s property form (a generic one: the special forms are built elsewhere),
// presses F1 in its first field once the form runs, and cancels it. False when no form showed.
bool PressF1InForm(NbHost& host, int id) {
  std::vector<char*> slots(8);
  for (char*& slot : slots) slot = static_cast<char*>(GlobalAlloc(GPTR, 16));
  HWND form = nullptr;
  std::thread presser([&form, ui = GetCurrentThreadId()] {
    for (int i = 0; i < 1000 && !form; ++i, Sleep(10))
      EnumThreadWindows(ui, &FindVisibleDialog, reinterpret_cast<LPARAM>(&form));
    if (!form) return;
    SendMessageA(form, WM_NULL, 0, 0);  // answered once the form's loop runs
    PostMessageA(GetDlgItem(form, FrameControlId(0, IDE_FRAME_INPUT)), WM_KEYUP, VK_F1, 0xC03B0001);
    Sleep(300);
    PostMessageA(form, WM_COMMAND, IDCANCEL, 0);
  });
  host.Edit(id, slots);
  presser.join();
  for (char* slot : slots) GlobalFree(slot);
  return form != nullptr;
}

class HelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = Seams();
    Seams().htmlHelp = &RecordHelp;
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
  }
  void TearDown() override {
    Seams() = saved_;
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
  }
  NbHost host{InProcessExports()};
  MachineSeams saved_;
};

TEST_F(HelpTest, F1InAPropertyFormOpensTheBuiltHelpAtTheActionsTopic) {
  const std::string chm = BuildDir() + "\\zaDode.chm";
  RegisterHelpFile(chm);
  for (const int id : {1, 75, 95}) {
    g_helpTarget.clear();
    ASSERT_TRUE(PressF1InForm(host, id)) << id;
    EXPECT_EQ(g_helpTarget, chm + "::\\index.html#" + LoadResString(IDS_ACTION_NAME_BASE + id));
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(HelpTest, F1WithoutARegisteredHelpFileShowsTheMissingHelpMessage) {
  g_helpTarget.clear();
  ASSERT_TRUE(PressF1InForm(host, 75));
  EXPECT_EQ(g_helpTarget, "");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], LoadResString(IDS_HELP_MISSING));
}

// The package's scripts, run by cmd as the README tells the author to.
TEST_F(HelpTest, InstallRegistersTheCopiedHelpAndUninstallRemovesIt) {
  ScratchDir package, plugins;
  const std::string build = BuildDir();
  for (const char* file : {"zaDode.nbp", "zaDode.chm"})
    ASSERT_TRUE(CopyFileA((build + "\\" + file).c_str(), package.File(file).c_str(), FALSE));
  for (const char* file : {"install.cmd", "uninstall.cmd"})
    ASSERT_TRUE(
        CopyFileA((build + "\\release\\" + file).c_str(), package.File(file).c_str(), FALSE));
  // A folder that does not exist yet, with a blank in its name, as "Program Files" has.
  const std::string target = plugins.File("Neo Book\\PlugIns");

  ASSERT_EQ(RunScript(package.File("install.cmd"), target), 0u);
  EXPECT_EQ(RegisteredHelpFile(), target + "\\zaDode.chm");
  EXPECT_TRUE(FileExists(target + "\\zaDode.nbp"));
  EXPECT_EQ(ReadFileBytes(target + "\\zaDode.chm"), ReadFileBytes(package.File("zaDode.chm")));
  g_helpTarget.clear();
  EXPECT_TRUE(OpenPluginHelp("kxFileSize"));
  EXPECT_EQ(g_helpTarget, target + "\\zaDode.chm::\\index.html#kxFileSize");

  ASSERT_EQ(RunScript(package.File("uninstall.cmd"), target), 0u);
  EXPECT_EQ(RegisteredHelpFile(), "<none>");
  EXPECT_FALSE(FileExists(target + "\\zaDode.nbp"));
  EXPECT_FALSE(FileExists(target + "\\zaDode.chm"));
  EXPECT_FALSE(OpenPluginHelp("kxFileSize"));
}

// Without a folder the package's own folder is the install: the help is registered where it
// lies and nothing is copied.
TEST_F(HelpTest, InstallWithoutAFolderRegistersTheHelpWhereItLies) {
  ScratchDir package;
  const std::string build = BuildDir();
  ASSERT_TRUE(
      CopyFileA((build + "\\zaDode.chm").c_str(), package.File("zaDode.chm").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((build + "\\release\\install.cmd").c_str(),
                        package.File("install.cmd").c_str(), FALSE));
  ASSERT_EQ(RunScript(package.File("install.cmd"), ""), 0u);
  EXPECT_EQ(RegisteredHelpFile(), package.File("zaDode.chm"));
}

}  // namespace
