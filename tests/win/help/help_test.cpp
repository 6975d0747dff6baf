// The shipped help as an author meets it: install.cmd registers it, F1 in a property form
// opens it at the form's own action, uninstall.cmd takes it away again.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "core/failures.h"
#include "core/host_io.h"
#include "core/shell.h"
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

// cmd /c "script" "argument", as an author runs it from a console: its exit code and what it
// printed. Standard input is NUL, so the pause a double-click gets returns at once. cmd reads
// the script and writes into the pipe in the OEM code page, so the script's own bytes (866)
// come back in either locale.
struct ScriptRun {
  DWORD code = 0;
  std::string said;
};
ScriptRun RunScript(const std::string& script, const std::string& argument) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  CreatePipe(&read, &write, &inherit, 0);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  HANDLE nul = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           OPEN_EXISTING, 0, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nul;
  startup.hStdOutput = startup.hStdError = write;
  PROCESS_INFORMATION process{};
  std::string command = "cmd.exe /c \"\"" + script + "\" \"" + argument + "\"\"";
  ScriptRun run{GetLastError() | 0x80000000, ""};
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                     nullptr, &startup, &process)) {
    CloseHandle(write);
    write = nullptr;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got)
      run.said.append(buffer, got);
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &run.code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (HANDLE handle : {read, write, nul})
    if (handle) CloseHandle(handle);
  return run;
}

bool KeyExists(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
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

// The registry names the Russian help; the English edition opens its own beside it.
TEST_F(HelpTest, F1InAPropertyFormOpensTheBuiltHelpOfItsEditionAtTheActionsTopic) {
  RegisterHelpFile(BuildDir() + "\\zaDode.chm");
  const std::string chm = BuildDir() + InEdition("\\zaDode.chm", "\\zaDode-en.chm");
  for (const int id : {1, 75, 95}) {
    g_helpTarget.clear();
    ASSERT_TRUE(PressF1InForm(host, id)) << id;
    EXPECT_EQ(g_helpTarget, chm + "::\\index.html#" + std::string(FindAction(id)->name));
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

// The package's scripts, run by cmd as the README tells the author to: each says what it did,
// and none reports success for something it did not do.
TEST_F(HelpTest, InstallAndUninstallDoWhatTheySay) {
  ScratchDir package, plugins;
  const std::string build = BuildDir();
  for (const char* file : {"zaDode.nbp", "zaDode.chm", "zaDode-en.chm"})
    ASSERT_TRUE(CopyFileA((build + "\\" + file).c_str(), package.File(file).c_str(), FALSE));
  for (const char* file : {"install.cmd", "uninstall.cmd"})
    ASSERT_TRUE(
        CopyFileA((build + "\\release\\" + file).c_str(), package.File(file).c_str(), FALSE));
  // NeoBook's folder as on 64-bit Windows: a blank and brackets in its name.
  const std::string target = plugins.File("Neo Book (x86)");
  const std::string missing = plugins.File("PlugIns");
  ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
  const std::string russian = "\x8D\xA8\xE7\xA5\xA3\xAE";  // "Ничего", code page 866
  struct Step {
    const char* script;
    std::string folder;
    DWORD code;
    std::vector<std::string> said;
    std::string helpFile;  // registered afterwards
  };
  const Step steps[] = {
      {"install.cmd", missing, 1, {missing, russian, "Nothing was installed."}, "<none>"},
      {"install.cmd",
       target,
       0,
       {"zaDode-en.chm", target + "\\zaDode.chm"},
       target + "\\zaDode.chm"},
      {"uninstall.cmd",
       target,
       0,
       {target + "\\zaDode.nbp", target + "\\zaDode.chm", target + "\\zaDode-en.chm"},
       "<none>"},
      {"install.cmd",
       "",
       0,
       {package.File("zaDode.chm"), "\"C:\\Program Files (x86)\\NeoBook\\PlugIns\""},
       package.File("zaDode.chm")},
      {"uninstall.cmd", "", 0, {"zaDode.nbp"}, "<none>"},
      {"uninstall.cmd", missing, 1, {missing, russian, "Nothing was removed."}, "<none>"},
  };
  for (const Step& step : steps) {
    const ScriptRun run = RunScript(package.File(step.script), step.folder);
    const std::string where =
        std::string(step.script) + " \"" + step.folder + "\" said:\n" + run.said;
    EXPECT_EQ(run.code, step.code) << where;
    for (const std::string& phrase : step.said)
      EXPECT_NE(run.said.find(phrase), std::string::npos) << phrase << "\n" << where;
    EXPECT_EQ(RegisteredHelpFile(), step.helpFile) << where;
    // Nothing is created where the author named a folder that is not there.
    EXPECT_FALSE(FileExists(missing)) << where;
  }
  // The round trip left the package whole and no key of ours behind; the install in between
  // copied exactly the package's files, which the help lookup then found.
  EXPECT_TRUE(FileExists(package.File("zaDode.nbp")));
  for (const char* file : {"zaDode.nbp", "zaDode.chm", "zaDode-en.chm"})
    EXPECT_FALSE(FileExists(target + "\\" + file)) << file;
  EXPECT_FALSE(KeyExists("Software\\Tessoran"));
}

// Each edition opens its own help; the English one falls back to the registered (Russian)
// file when its own is missing.
TEST_F(HelpTest, InstalledHelpOfTheEditionOpensAtTheActionsTopic) {
  ScratchDir package, plugins;
  const std::string build = BuildDir();
  const char* const files[] = {"zaDode.nbp", "zaDode.chm", "zaDode-en.chm"};
  for (const char* file : files)
    ASSERT_TRUE(CopyFileA((build + "\\" + file).c_str(), package.File(file).c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((build + "\\release\\install.cmd").c_str(),
                        package.File("install.cmd").c_str(), FALSE));
  ASSERT_EQ(RunScript(package.File("install.cmd"), plugins.path()).code, 0u);
  for (const char* file : files)
    EXPECT_EQ(ReadFileBytes(plugins.File(file)), ReadFileBytes(package.File(file))) << file;
  for (const char* help : {InEdition("zaDode.chm", "zaDode-en.chm"), "zaDode.chm"}) {
    g_helpTarget.clear();
    EXPECT_TRUE(OpenPluginHelp("kxFileSize"));
    EXPECT_EQ(g_helpTarget, plugins.File(help) + "::\\index.html#kxFileSize");
    DeleteFileA(plugins.File("zaDode-en.chm").c_str());
  }
}

}  // namespace
