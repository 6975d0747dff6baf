// kxFileOperation: real shell operations with FOF_NO_UI in a scratch folder, and what the
// shell receives and answers through the seam.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/failures.h"
#include "core/host_io.h"
#include "fixture.h"
#include "platform/resources.h"
#include "resources/resource.h"
#include "seam_fixture.h"

namespace {

using FileOperationTest = PluginTest;

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST_F(FileOperationTest, CopyMoveRenameDelete) {
  ScratchDir dir;
  const std::string a = dir.Write("a.txt", "alpha"), b = dir.Write("b.txt", "beta");
  const std::string copies = dir.File("copies");
  ASSERT_TRUE(CreateDirectoryA(copies.c_str(), nullptr));

  ASSERT_TRUE(host.Exec("kxFileOperation",
                        {"FO_COPY", a + "|" + b, copies, "Copying", "FOF_NO_UI", "[Result]"}));
  EXPECT_EQ(Result(), "True");
  EXPECT_EQ(ReadFileBytes(copies + "\\a.txt"), "alpha");
  EXPECT_EQ(ReadFileBytes(copies + "\\b.txt"), "beta");

  const std::string moved = dir.File("moved");
  ASSERT_TRUE(CreateDirectoryA(moved.c_str(), nullptr));
  ASSERT_TRUE(host.Exec("kxFileOperation", {"FO_MOVE", a, moved, "", "FOF_NO_UI", "[Result]"}));
  EXPECT_EQ(Result(), "True");
  EXPECT_FALSE(Exists(a));
  EXPECT_EQ(ReadFileBytes(moved + "\\a.txt"), "alpha");

  const std::string c = dir.File("c.txt");
  ASSERT_TRUE(host.Exec("kxFileOperation", {"FO_RENAME", b, c, "", "FOF_NO_UI", "[Result]"}));
  EXPECT_EQ(Result(), "True");
  EXPECT_FALSE(Exists(b));
  EXPECT_EQ(ReadFileBytes(c), "beta");

  ASSERT_TRUE(host.Exec("kxFileOperation",
                        {"FO_DELETE", c + "|" + copies, "", "", "FOF_NO_UI", "[Result]"}));
  EXPECT_EQ(Result(), "True");
  EXPECT_FALSE(Exists(c));
  EXPECT_FALSE(Exists(copies));
}

TEST_F(FileOperationTest, FailuresWriteFalseAndAText) {
  ScratchDir dir;
  for (const std::string operation : {"fo_copy", "FO_COPY ", "FO_ERASE", ""}) {
    EXPECT_FALSE(host.Exec("kxFileOperation",
                           {operation, dir.File("x"), dir.File("y"), "", "FOF_NO_UI", "[Result]"}))
        << operation;
    EXPECT_EQ(Result(), "False") << operation;
    EXPECT_EQ(LastError(), "Invalid \"kxFileOperation\" action arguments") << operation;
  }
  // The shell's failure: "False" and a message, never an earlier "True" left standing.
  for (const std::string operation : {"FO_COPY", "FO_DELETE"}) {
    host.SetVar("Result", "True");
    host.SetVar("LastError", "");
    EXPECT_FALSE(host.Exec("kxFileOperation", {operation, dir.File("missing.txt"),
                                               dir.File("copy.txt"), "", "FOF_NO_UI", "[Result]"}))
        << operation;
    EXPECT_EQ(Result(), "False") << operation;
    EXPECT_FALSE(LastError().empty()) << operation;
  }
}

// What the shell receives: the flag word, both lists, the title, the code.
struct Received {
  UINT operation = 0;
  FILEOP_FLAGS flags = 0;
  std::optional<std::string> from, to;
  std::string title;
};
Received g_received;
int g_answer = 0;
BOOL g_aborted = FALSE;
DWORD g_lastError = 0;

std::optional<std::string> DoubleZeroList(const char* list) {
  if (!list) return std::nullopt;
  std::size_t size = 0;
  while (list[size] || list[size + 1]) ++size;
  return std::string(list, size + 2);
}

int WINAPI FakeShellOperation(LPSHFILEOPSTRUCTA operation) {
  g_received = {operation->wFunc, operation->fFlags, DoubleZeroList(operation->pFrom),
                DoubleZeroList(operation->pTo),
                operation->lpszProgressTitle ? operation->lpszProgressTitle : "<null>"};
  operation->fAnyOperationsAborted = g_aborted;
  SetLastError(g_lastError);
  return g_answer;
}

class FileOperationSeamTest : public SeamTest {
 protected:
  void SetUp() override {
    Seams().shFileOperation = &FakeShellOperation;
    g_answer = 0;
    g_aborted = FALSE;
    g_lastError = 0;
  }
};

TEST_F(FileOperationSeamTest, FlagWordsFromNamesInAnyOrder) {
  const struct {
    std::string flags;
    FILEOP_FLAGS word;
  } rows[] = {
      {"FOF_NOCONFIRMATION FOF_SILENT", 0x14},
      {"FOF_SILENT,FOF_NOCONFIRMATION", 0x14},
      {"FOF_NO_UI", 0x614},
      {"FOF_SILENT | FOF_NO_UI", 0x614},
  };
  for (const auto& row : rows) {
    ASSERT_TRUE(
        host.Exec("kxFileOperation", {"FO_COPY", "a.txt", "dest", "Title", row.flags, "[Result]"}))
        << row.flags;
    EXPECT_EQ(g_received.flags, row.word) << row.flags;
    EXPECT_EQ(g_received.operation, static_cast<UINT>(FO_COPY)) << row.flags;
  }
}

TEST_F(FileOperationSeamTest, PathListsAndTitleAsTheShellReadsThem) {
  using namespace std::string_literals;
  ASSERT_TRUE(host.Exec("kxFileOperation",
                        {"FO_MOVE", "C:\\a.txt| b.txt", "D:\\x", "Moving", "", "[Result]"}));
  EXPECT_EQ(g_received.operation, static_cast<UINT>(FO_MOVE));
  EXPECT_EQ(g_received.from, "C:\\a.txt\0 b.txt\0\0"s);
  EXPECT_EQ(g_received.to, "D:\\x\0\0"s);
  EXPECT_EQ(g_received.title, "Moving");

  ASSERT_TRUE(host.Exec("kxFileOperation", {"FO_DELETE", "a.txt", " ", "", "", "[Result]"}));
  EXPECT_EQ(g_received.operation, static_cast<UINT>(FO_DELETE));
  EXPECT_EQ(g_received.to, std::nullopt);  // a blank destination passes no list at all
  EXPECT_EQ(g_received.title, "");
  EXPECT_EQ(Result(), "True");
}

struct ShellAnswer {
  int answer;
  BOOL aborted;
  DWORD lastError;
  bool ok;
  std::string result, lastErrorText;
};

class FileOperationAnswerTest : public FileOperationSeamTest {
 protected:
  void Check(const std::vector<ShellAnswer>& rows) {
    for (const auto& row : rows) {
      host.ClearVariables("");
      g_answer = row.answer;
      g_aborted = row.aborted;
      g_lastError = row.lastError;
      const std::string trace = std::to_string(row.answer) + (row.aborted ? " aborted" : "");
      EXPECT_EQ(host.Exec("kxFileOperation", {"FO_COPY", "a", "b", "", "", "[Result]"}), row.ok)
          << trace;
      EXPECT_EQ(Result(), row.result) << trace;
      EXPECT_EQ(LastError(), row.lastErrorText) << trace;
    }
  }
};

TEST_F(FileOperationAnswerTest, CancelAndFailureAnswers) {
  Check({
      {0, TRUE, 0, true, "Cancel", "<unset>"},
      {ERROR_CANCELLED, TRUE, 0, true, "Cancel", "<unset>"},
      {0x75, FALSE, 0, true, "Cancel", "<unset>"},  // the shell's own "cancelled"
      {ERROR_FILE_NOT_FOUND, FALSE, 0, false, "False", SystemErrorText(ERROR_FILE_NOT_FOUND)},
      {0x7C, FALSE, ERROR_ACCESS_DENIED, false, "False", SystemErrorText(ERROR_ACCESS_DENIED)},
      {0x7C, FALSE, 0, false, "False", SystemErrorText(ERROR_BAD_PATHNAME)},
      {0x71, FALSE, 0, false, "False", FormatResString(IDS_FILE_OPERATION_FAILED, {"0x71"})},
  });
}

// Without error UI the shell also sets its aborted flag for a file it could not touch: the
// return code decides, and only the cancel codes are "Cancel".
TEST_F(FileOperationAnswerTest, FailureWithTheAbortedFlagSetIsAFailureNotCancel) {
  Check({
      {ERROR_SHARING_VIOLATION, TRUE, ERROR_SHARING_VIOLATION, false, "False",
       SystemErrorText(ERROR_SHARING_VIOLATION)},
      {0x78, TRUE, 0, false, "False", SystemErrorText(ERROR_ACCESS_DENIED)},
      {0x75, TRUE, 0, true, "Cancel", "<unset>"},
  });
}

}  // namespace
