// Error texts, memory status, ending programs by name and the about box, all for real; the
// only processes ended are copies of the idle helper started here under names of their own.
#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "core/failures.h"
#include "core/host_io.h"
#include "encoding.h"
#include "fixture.h"
#include "system_fixture.h"

namespace {

using SystemInfoTest = SystemTest;

TEST_F(SystemInfoTest, ErrorMessageTexts) {
  const struct {
    const char* code;
    std::string us, ru;  // UTF-8, the system's own texts under Wine
  } rows[] = {
      {"5", "Access denied", "Доступ запрещён"},
      {" 5", "Access denied", "Доступ запрещён"},
      {"$12", "No more files", "Больше файлов нет"},
      {"0", "Success", "Выполнено успешно"},
      {"12345", "", ""},  // no system text: empty, still a success
      {"-1", "", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string("code \"") + row.code + "\"");
    host.SetVar("Result", "<before>");
    EXPECT_TRUE(host.Exec("kxErrorMessage", {row.code, "[Result]"}));
    const std::string text = Result();
    if (UsLocale()) EXPECT_EQ(text, row.us);
    if (RussianLocale()) EXPECT_EQ(text, Cp1251(row.ru));
    // Whatever the locale: no final period, line break or blank.
    EXPECT_TRUE(text.empty() ||
                (text.back() != '.' && static_cast<unsigned char>(text.back()) > 32));
  }
  EXPECT_EQ(LastError(), "<unset>");
}

TEST_F(SystemInfoTest, ErrorMessageCodeMustBeAnInteger) {
  for (const char* code : {"abc", "", "5 ", "1.5", "2147483648"}) {
    SCOPED_TRACE(std::string("code \"") + code + "\"");
    host.setCalls.clear();
    EXPECT_FALSE(host.Exec("kxErrorMessage", {code, "[Result]"}));
    EXPECT_EQ(Written(), (std::vector<std::string>{"LastError", "[Result]"}));
    EXPECT_EQ(LastError(), "Invalid \"kxErrorMessage\" action arguments");
    EXPECT_EQ(Result(), "False");
  }
}

TEST_F(SystemInfoTest, MemoryStatusWritesSevenIndexedNumbers) {
  ASSERT_TRUE(host.Exec("kxMemoryStatus", {"Mem"}));
  std::vector<std::uint64_t> values;
  for (int index = 0; index < 7; ++index) {
    const std::string text = host.Value("Mem" + std::to_string(index));
    SCOPED_TRACE("Mem" + std::to_string(index) + " = " + text);
    ASSERT_FALSE(text.empty());
    ASSERT_EQ(text.find_first_not_of("0123456789"), std::string::npos);
    EXPECT_TRUE(text == "0" || text[0] != '0');
    values.push_back(std::stoull(text));
  }
  EXPECT_LE(values[0], 100u);
  EXPECT_GT(values[1], 0u);
  EXPECT_GE(values[1], values[2]);
  EXPECT_GE(values[3], values[4]);
  EXPECT_GE(values[5], values[6]);
  // 64-bit counts: a 64-bit process's address space alone is far beyond 4 GiB.
  if (sizeof(void*) == 8) EXPECT_GT(values[5], std::uint64_t{0xFFFFFFFF});
  EXPECT_EQ(Written().size(), 7u);
  EXPECT_FALSE(host.Var("Mem").has_value());
}

// The folder of this program, where the build puts the helpers, nbhost and the plug-in.
std::string BuildFolder() {
  char path[MAX_PATH] = {};
  std::string own(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return own.substr(0, own.find_last_of('\\') + 1);
}

std::string TempFolder() {
  char temp[MAX_PATH] = {};
  return std::string(temp, GetTempPathA(MAX_PATH, temp));
}

// A copy of a program built beside this one (the idle helper unless told otherwise) under a
// name no other process has, in `folder`, started as a child; whatever the test does, the
// children end and the copy goes with the object.
class IdleCopy {
 public:
  explicit IdleCopy(const std::string& name, const char* program = "kx_idle.exe",
                    const std::string& folder = TempFolder())
      : path_(folder + name) {
    CopyFileA((BuildFolder() + program).c_str(), path_.c_str(), FALSE);  // a failure fails Start
  }
  // `output`, when given, becomes the child's standard output.
  bool Start(const std::string& arguments = "", HANDLE output = nullptr) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (output) {
      startup.dwFlags = STARTF_USESTDHANDLES;
      startup.hStdOutput = startup.hStdError = output;
    }
    PROCESS_INFORMATION info{};
    std::string command = "\"" + path_ + "\" " + arguments;
    if (!CreateProcessA(path_.c_str(), command.data(), nullptr, nullptr, output != nullptr,
                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info))
      return false;
    CloseHandle(info.hThread);
    children_.push_back(info.hProcess);
    return true;
  }
  ~IdleCopy() {
    for (HANDLE child : children_) {
      TerminateProcess(child, 9);  // our own child, by its handle
      WaitForSingleObject(child, 5000);
      CloseHandle(child);
    }
    DeleteFileA(path_.c_str());
  }
  const std::string& path() const { return path_; }
  // True when child `index` has ended with exit code 0 within a few seconds.
  bool EndedCleanly(size_t index, DWORD milliseconds = 5000) const {
    DWORD code = 1;
    return WaitForSingleObject(children_[index], milliseconds) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(children_[index], &code) && code == 0;
  }
  bool Running(size_t index) const {
    return WaitForSingleObject(children_[index], 0) == WAIT_TIMEOUT;
  }

 private:
  std::string path_;
  std::vector<HANDLE> children_;
};

std::string UniqueName(const char* tag) {
  static int counter = 0;
  return "kx_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount64()) +
         "_" + tag + std::to_string(++counter);
}

class KillProgramTest : public SystemTest {
 protected:
  void SetUp() override {
    SystemTest::SetUp();
    Seams().terminateProcess = &TerminateProcess;
  }
};

TEST_F(KillProgramTest, EndsEveryCopyByFileNameAnyCaseOrFullPath) {
  const std::string base = UniqueName("k");
  std::string upper = base;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const struct {
    const char* how;
    std::string program;  // filled below
  } rows[] = {{"file name", base + ".exe"}, {"upper case", upper + ".EXE"}, {"full path", ""}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.how);
    IdleCopy copy(base + ".exe");
    ASSERT_TRUE(copy.Start());
    ASSERT_TRUE(copy.Start());  // two copies: each gets its own attempt
    const std::string program = row.program.empty() ? copy.path() : row.program;
    host.SetVar("Result", "");
    EXPECT_TRUE(host.Exec("kxKillProgram", {program, "[Result]"})) << program;
    EXPECT_EQ(Result(), "True");
    EXPECT_TRUE(copy.EndedCleanly(0));
    EXPECT_TRUE(copy.EndedCleanly(1));
  }
  EXPECT_EQ(LastError(), "<unset>");
}

TEST_F(KillProgramTest, NameWithoutExtensionMatchesNothing) {
  const std::string base = UniqueName("n");
  IdleCopy copy(base + ".exe");
  ASSERT_TRUE(copy.Start());
  for (const std::string& program : {base, base + ".ex", "x" + base + ".exe", std::string()}) {
    SCOPED_TRACE("\"" + program + "\"");
    host.setCalls.clear();
    EXPECT_FALSE(host.Exec("kxKillProgram", {program, "[Result]"}));
    EXPECT_EQ(Written(), (std::vector<std::string>{"LastError", "[Result]"}));
    EXPECT_EQ(LastError(), SystemErrorText(ERROR_NO_MORE_FILES));
    EXPECT_EQ(Result(), "False");
  }
  EXPECT_TRUE(copy.Running(0));
}

BOOL WINAPI RefuseWithAccessDenied(HANDLE, UINT) {
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

// The reason of a refused termination survives the rest of the walk.
TEST_F(KillProgramTest, RefusedTerminationReportsItsOwnReason) {
  const std::string name = UniqueName("r") + ".exe";
  IdleCopy copy(name);
  ASSERT_TRUE(copy.Start());
  Seams().terminateProcess = &RefuseWithAccessDenied;
  EXPECT_FALSE(host.Exec("kxKillProgram", {name, "[Result]"}));
  EXPECT_EQ(LastError(), SystemErrorText(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Result(), "False");
  EXPECT_TRUE(copy.Running(0));
}

// The host's own executable name (a publication that closes its other instances): the copy of
// the host running the script skips itself, ends the other process of that name, and goes on
// with the script; alone, it ends nothing and says so. Both copies carry a name of this run.
TEST_F(KillProgramTest, NeverEndsTheProcessItRunsIn) {
  for (const bool other : {true, false}) {
    SCOPED_TRACE(other ? "with another process of that name" : "the host alone");
    const std::string name = UniqueName("self") + ".exe";
    ScratchDir dir;
    IdleCopy idle(name);
    if (other) ASSERT_TRUE(idle.Start());
    IdleCopy host(name, "nbhost.exe", dir.path() + "\\");
    const std::string script = dir.Write(
        "kill.nbs", "kxKillProgram \"" + name + "\" \"[K]\"\r\nSetVar \"[After]\" \"on\"\r\n");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const std::string printed = dir.File("printed.txt");
    HANDLE output = CreateFileA(printed.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(output, INVALID_HANDLE_VALUE);
    const bool started =
        host.Start("--plugin \"" + BuildFolder() + "zaDode.nbp\" \"" + script + "\"", output);
    CloseHandle(output);
    ASSERT_TRUE(started);
    EXPECT_TRUE(host.EndedCleanly(0, 60000));
    const std::string variables = Ansi(ReadFileBytes(printed));
    EXPECT_NE(variables.find("After=on"), std::string::npos) << variables;
    if (other) {
      EXPECT_NE(variables.find("K=True"), std::string::npos) << variables;
      EXPECT_TRUE(idle.EndedCleanly(0));
    } else {
      EXPECT_NE(variables.find("K=False"), std::string::npos) << variables;
      EXPECT_NE(variables.find("LastError=" + SystemErrorText(ERROR_NO_MORE_FILES)),
                std::string::npos)
          << variables;
    }
  }
}

// Finds the about box, checks its texts and closes it; runs beside the modal call.
struct AboutWatcher {
  std::string title, body;
  std::atomic<bool> found{false};

  void Watch() {
    for (int attempt = 0; attempt < 200 && !found; ++attempt) {
      Sleep(50);
      const HWND dialog = OwnDialog();
      if (!dialog) continue;
      title = WindowText(dialog);
      EnumChildWindows(
          dialog,
          [](HWND child, LPARAM self) {
            reinterpret_cast<AboutWatcher*>(self)->body += WindowText(child) + "\n";
            return TRUE;
          },
          reinterpret_cast<LPARAM>(this));
      found = true;
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
  }
  // Only this program's: a suite running beside it in the same prefix shows dialogs too, and
  // closing one of those instead left the about box open for good.
  static HWND OwnDialog() {
    HWND dialog = nullptr;
    while ((dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr))) {
      DWORD process = 0;
      GetWindowThreadProcessId(dialog, &process);
      if (process == GetCurrentProcessId()) return dialog;
    }
    return nullptr;
  }
  static std::string WindowText(HWND window) {
    char text[1024] = {};
    return std::string(text, GetWindowTextA(window, text, sizeof text));
  }
};

TEST_F(SystemInfoTest, ShellAboutShowsTheTextsAndReturnsWhenClosed) {
  Seams().shellAbout = &ShellAboutA;
  AboutWatcher watcher;
  std::thread thread([&] { watcher.Watch(); });
  const bool ok =
      host.Exec("kxShellAbout", {"First zaDode", "Second zaDode", "Third zaDode", "[Result]"});
  thread.join();
  ASSERT_TRUE(watcher.found);
  EXPECT_TRUE(ok);
  EXPECT_EQ(Result(), "True");
  EXPECT_NE(watcher.title.find("Second zaDode"), std::string::npos) << watcher.title;
  EXPECT_NE(watcher.body.find("First zaDode"), std::string::npos) << watcher.body;
  EXPECT_NE(watcher.body.find("Third zaDode"), std::string::npos) << watcher.body;
  EXPECT_EQ(LastError(), "<unset>");
}

}  // namespace
