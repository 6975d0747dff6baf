// The help actions: what each hands the help engine (through the seam), and Wine's own engine
// on a small compiled help file built from tests/win/dialogs/help (two topics, context numbers
// 1001 and 1002 in its map).
#include <windows.h>
// htmlhelp.h builds on the types that windows.h declares.
#include <gtest/gtest.h>
#include <htmlhelp.h>

#include <string>
#include <vector>

#include "core/failures.h"
#include "core/host_io.h"
#include "dialog_watcher.h"
#include "encoding.h"
#include "fixture.h"
#include "inprocess.h"
#include "platform/seams.h"

namespace {

struct HelpCall {
  HWND caller;
  std::string file;
  UINT command;
  DWORD_PTR data;
  std::string keyword;  // HH_DISPLAY_INDEX
  HH_FTS_QUERY query;   // HH_DISPLAY_SEARCH
};
std::vector<HelpCall> calls;
HWND answer = nullptr;

HWND WINAPI CaptureHelp(HWND caller, LPCSTR file, UINT command, DWORD_PTR data) {
  HelpCall call{caller, file ? file : "<null>", command, data, {}, {}};
  if (command == HH_DISPLAY_INDEX && data) call.keyword = reinterpret_cast<const char*>(data);
  if (command == HH_DISPLAY_SEARCH && data)
    call.query = *reinterpret_cast<const HH_FTS_QUERY*>(data);
  calls.push_back(call);
  SetLastError(answer ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
  return answer;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\'));
}

class HelpFiles : public ::testing::Test {
 protected:
  NbHost host{InProcessExports()};
  ScratchDir dir;
  std::string chm = dir.Write("help.chm", "not opened through the seam");
  std::string Var(const std::string& name) const { return host.Var(name).value_or("<unset>"); }
};

class HelpSeam : public HelpFiles {
 protected:
  MachineSeams saved = Seams();
  void SetUp() override {
    calls.clear();
    answer = reinterpret_cast<HWND>(static_cast<intptr_t>(0x1234));
    Seams().htmlHelp = &CaptureHelp;
  }
  void TearDown() override { Seams() = saved; }
};

TEST_F(HelpSeam, EachActionMakesItsOneCall) {
  const struct {
    const char* action;
    std::vector<std::string> params;
    std::string file;
    UINT command;
  } rows[] = {
      {"kxOpenHelpToc", {chm, "[Result]"}, chm, HH_DISPLAY_TOC},
      {"kxOpenHelpIndex", {chm, "second", "[Result]"}, chm, HH_DISPLAY_INDEX},
      {"kxOpenHelpIndex", {chm, "", "[Result]"}, chm, HH_DISPLAY_INDEX},
      {"kxOpenHelpSearch", {chm, "[Result]"}, chm, HH_DISPLAY_SEARCH},
      {"kxOpenHelpTheme", {chm, "1001", "[Result]"}, chm, HH_HELP_CONTEXT},
      {"kxOpenHelpTheme", {chm, "0x3E9", "[Result]"}, chm, HH_HELP_CONTEXT},
      {"kxOpenHelpTheme", {chm, "intro.htm", "[Result]"}, chm + "::\\intro.htm", HH_DISPLAY_TOPIC},
      {"kxCloseHelpFile", {chm, "[Result]"}, chm, HH_CLOSE_ALL},
  };
  for (const auto& row : rows) {
    const std::string label = std::string(row.action) + " " + row.params[1];
    calls.clear();
    host.SetVar("Result", "before");
    EXPECT_TRUE(host.Exec(row.action, row.params)) << label;
    EXPECT_EQ(Var("Result"), "True") << label;
    ASSERT_EQ(calls.size(), 1u) << label;
    EXPECT_EQ(calls[0].file, row.file) << label;
    EXPECT_EQ(calls[0].command, row.command) << label;
    EXPECT_EQ(calls[0].caller, GetActiveWindow()) << label;
    if (row.command == HH_HELP_CONTEXT) EXPECT_EQ(calls[0].data, 1001u) << label;
    if (row.command == HH_DISPLAY_INDEX) EXPECT_EQ(calls[0].keyword, row.params[1]) << label;
    if (row.command == HH_DISPLAY_TOC || row.command == HH_DISPLAY_TOPIC ||
        row.command == HH_CLOSE_ALL)
      EXPECT_EQ(calls[0].data, 0u) << label;
  }
  EXPECT_EQ(host.Var("LastError"), std::nullopt);
}

TEST_F(HelpSeam, SearchRecordOpensAnEmptySearchTab) {
  ASSERT_TRUE(host.Exec("kxOpenHelpSearch", {chm, "[Result]"}));
  ASSERT_EQ(calls.size(), 1u);
  const HH_FTS_QUERY& query = calls[0].query;
  EXPECT_EQ(query.cbStruct, static_cast<int>(sizeof(HH_FTS_QUERY)));
  EXPECT_EQ(sizeof(HH_FTS_QUERY), sizeof(void*) == 4 ? 32u : 40u);
  EXPECT_FALSE(query.fUniCodeStrings);
  EXPECT_EQ(query.pszSearchQuery, nullptr);
  EXPECT_EQ(query.iProximity, HH_FTS_DEFAULT_PROXIMITY);
  EXPECT_FALSE(query.fStemmedSearch);
  EXPECT_FALSE(query.fTitleOnly);
  EXPECT_FALSE(query.fExecute);
  EXPECT_EQ(query.pszWindow, nullptr);
}

TEST_F(HelpSeam, RefusalGivesTheSystemTextExceptForClose) {
  answer = nullptr;
  EXPECT_FALSE(host.Exec("kxOpenHelpTheme", {chm, "9999", "[Result]"}));
  EXPECT_EQ(Var("Result"), "False");
  EXPECT_EQ(Var("LastError"), SystemErrorText(ERROR_FILE_NOT_FOUND));
  host.ClearVariables("");
  EXPECT_TRUE(host.Exec("kxCloseHelpFile", {chm, "[Result]"}));
  EXPECT_EQ(Var("Result"), "True");
  EXPECT_EQ(Var("LastError"), "<unset>");
}

// The message quotes the path as passed, blanks included, and the engine is not called.
TEST_F(HelpSeam, MissingFileOrFolderIsReportedBeforeTheEngine) {
  for (const std::string& path :
       {" " + chm + " ", dir.File("missing.chm"), dir.path(), std::string()}) {
    for (const char* action : {"kxOpenHelpToc", "kxOpenHelpSearch", "kxCloseHelpFile"}) {
      host.ClearVariables("");
      EXPECT_FALSE(host.Exec(action, {path, "[Result]"})) << action << " " << path;
      EXPECT_EQ(Var("Result"), "False") << action << " " << path;
      EXPECT_EQ(Var("LastError"), FileNotFoundText(path)) << action << " " << path;
      EXPECT_EQ(Var("LastError"), Ansi(InEdition("Файл \"", "File \"")) + path +
                                      Ansi(InEdition("\" не существует.", "\" does not exist.")));
    }
    host.ClearVariables("");
    EXPECT_FALSE(host.Exec("kxOpenHelpTheme", {path, "1001", "[Result]"}));
    EXPECT_EQ(Var("LastError"), FileNotFoundText(path));
  }
  // The engine would open a device and wait on its port.
  for (const char* device : {"COM1", "\\\\.\\PhysicalDrive0"}) {
    EXPECT_FALSE(host.Exec("kxOpenHelpIndex", {device, "", "[Result]"})) << device;
    char full[MAX_PATH] = {};
    GetFullPathNameA(device, MAX_PATH, full, nullptr);
    EXPECT_EQ(Var("LastError"), CannotOpenFileText(full, ERROR_INVALID_NAME)) << device;
  }
  EXPECT_TRUE(calls.empty());
}

// Wine's own help engine (hhctrl) on a real file: its window opens without a browser engine
// when mshtml is switched off, as tools/wine-run does.
class RealHelp : public HelpFiles {
 protected:
  void SetUp() override {
    const std::string built = ProgramFolder() + "\\dialogs_help.chm";
    if (GetFileAttributesA(built.c_str()) == INVALID_FILE_ATTRIBUTES)
      GTEST_SKIP() << "no dialogs_help.chm beside the test program (chmcmd missing at build time)";
    ASSERT_TRUE(CopyFileA(built.c_str(), chm.c_str(), FALSE));
    second = dir.File("other help.chm");
    ASSERT_TRUE(CopyFileA(built.c_str(), second.c_str(), FALSE));
  }
  void TearDown() override { host.Exec("kxCloseHelpFile", {chm, ""}); }
  std::string second;
};

bool HelpWindowOpen() { return FindThreadWindow(GetCurrentThreadId(), "HH Parent") != nullptr; }

TEST_F(RealHelp, OpensTabsAndTopicsAndClosesEveryWindow) {
  const std::vector<std::vector<std::string>> opens = {{"kxOpenHelpToc", chm},
                                                       {"kxOpenHelpIndex", chm, ""},
                                                       {"kxOpenHelpIndex", chm, "second"},
                                                       {"kxOpenHelpSearch", chm},
                                                       {"kxOpenHelpTheme", chm, "1001"},
                                                       {"kxOpenHelpTheme", chm, "0x3E9"},
                                                       {"kxOpenHelpTheme", chm, "intro.htm"},
                                                       {"kxOpenHelpToc", second}};
  for (const auto& row : opens) {
    std::vector<std::string> params(row.begin() + 1, row.end());
    params.push_back("[Result]");
    const std::string label = row[0] + " " + params[params.size() - 2];
    host.ClearVariables("");
    EXPECT_TRUE(host.Exec(row[0], params)) << label << ": " << Var("LastError");
    EXPECT_EQ(Var("Result"), "True") << label;
  }
  EXPECT_TRUE(HelpWindowOpen());
  ASSERT_TRUE(host.Exec("kxCloseHelpFile", {chm, "[Result]"}));
  EXPECT_EQ(Var("Result"), "True");
  EXPECT_FALSE(HelpWindowOpen());
}

TEST_F(RealHelp, UnknownContextNumberFails) {
  host.SetVar("Result", "before");
  EXPECT_FALSE(host.Exec("kxOpenHelpTheme", {chm, "4242", "[Result]"}));
  EXPECT_EQ(Var("Result"), "False");
  EXPECT_NE(Var("LastError"), "<unset>");
}

}  // namespace
