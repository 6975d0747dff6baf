// The shared operations, called directly on the plug-in code linked into this program and
// registered with a host stand-in, so what the host receives can be checked exactly.
#include <gtest/gtest.h>

#include "core/failures.h"
#include "core/host.h"
#include "core/host_io.h"
#include "core/random.h"
#include "core/shell.h"
#include "encoding.h"
#include "fixture.h"
#include "inprocess.h"

namespace {

class Conventions : public ::testing::Test {
 protected:
  NbHost host{InProcessExports()};
};

class ConventionsWithoutInterface : public ::testing::Test {
 protected:
  NbHost host{InProcessExports(), /*registerInterface=*/false};
  void SetUp() override { Host().interfaceAccess = nullptr; }
  void TearDown() override { Host().interfaceAccess = nullptr; }
};

TEST_F(Conventions, ResultVariableNameIsPassedAsGivenAndBlankDiscards) {
  SetResultVariable("   ", "x");
  SetResultVariable("", "x");
  SetResultVariable(std::string("\t\0", 2), "x");
  EXPECT_TRUE(host.setCalls.empty());
  SetResultVariable(" x ", "1");
  SetResultVariable("[Result]", "2");
  ASSERT_EQ(host.setCalls.size(), 2u);
  EXPECT_EQ(host.setCalls[0].name, " x ");
  EXPECT_EQ(host.setCalls[1].name, "[Result]");
  EXPECT_EQ(host.Value("Result"), "2");
}

TEST_F(Conventions, IndexedVariableAppendsTheDecimalIndex) {
  SetIndexedVariable(0, "Arr", "a");
  SetIndexedVariable(12, "Arr", "b");
  SetIndexedVariable(-1, "Arr", "c");
  SetIndexedVariable(3, "  ", "d");
  ASSERT_EQ(host.setCalls.size(), 3u);
  EXPECT_EQ(host.setCalls[0].name, "Arr0");
  EXPECT_EQ(host.setCalls[1].name, "Arr12");
  EXPECT_EQ(host.setCalls[2].name, "Arr-1");
}

TEST_F(Conventions, AMegabyteValueArrivesWhole) {
  std::string big(1 << 20, 'x');
  big[12345] = '%';
  SetResultVariable("Big", big);
  EXPECT_EQ(host.Value("Big"), big);
}

TEST_F(Conventions, HostVariablesAreCopiedAndTheirBlocksFreed) {
  host.SetVar("Name", "value");
  EXPECT_EQ(GetHostVariable("Name"), "value");
  EXPECT_EQ(GetHostVariable("[name]"), "value");
  EXPECT_EQ(GetHostVariable("Missing"), "");
  host.getVariableReturnsNull = true;
  EXPECT_EQ(GetHostVariable("Name"), "");
}

TEST_F(Conventions, ClearHostVariableEscapesQuotesInTheName) {
  host.SetVar("tmp", "1");
  host.SetVar("other", "2");
  ClearHostVariable("tmp");
  EXPECT_FALSE(host.Var("tmp"));
  ASSERT_EQ(host.scripts.size(), 2u);
  EXPECT_EQ(host.scripts[0], "DefineVar \"tmp\" \"Undefined\" \"\" \"Global\" \"\"");
  EXPECT_EQ(host.scripts[1], "ClearVariables \"tmp\"");

  // A quote must not end the parameter and let the rest run as a command of its own.
  host.ClearLogs();
  ClearHostVariable("x\" \"\"\r\nClearVariables \"");
  ASSERT_EQ(host.scripts.size(), 2u);
  EXPECT_EQ(host.scripts[1], "ClearVariables \"x[#34] [#34][#34][#13][#10]ClearVariables [#34]\"");
  EXPECT_TRUE(host.scriptErrors.empty());
  EXPECT_TRUE(host.Var("other"));
}

TEST_F(Conventions, ClearHostVariableWithAnEmptyNameClearsEverything) {
  host.SetVar("a", "1");
  host.SetVar("b", "2");
  ClearHostVariable("");
  EXPECT_TRUE(host.Variables().empty());
}

TEST_F(Conventions, PlayScriptHandsTheTextOverWhole) {
  PlayScript("SetVar \"[a]\" \"1\"\r\nSetVar \"[b]\" \"2\"");
  ASSERT_EQ(host.scripts.size(), 1u);
  EXPECT_EQ(host.Value("a"), "1");
  EXPECT_EQ(host.Value("b"), "2");
}

TEST_F(Conventions, HostVersionAndMessages) {
  EXPECT_EQ(HostVersionText(), "5.8.7");
  host.versionText.reset();
  EXPECT_EQ(HostVersionText(), "");
  ShowHostMessage("Hello, 100%s");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "Hello, 100%s");
}

TEST_F(Conventions, PickerMapsKindsToRequestsAndCopiesTheAnswer) {
  const int expected[] = {2, 14, 13, 1, 8, 10};
  for (int kind = 0; kind < 6; ++kind) {
    SCOPED_TRACE(kind);
    host.ClearLogs();
    host.pickerAnswers = {std::string("picked") + std::to_string(kind)};
    EXPECT_EQ(OpenHostPicker(kind, "field"), "picked" + std::to_string(kind));
    ASSERT_EQ(host.requests.size(), 2u);
    EXPECT_EQ(host.requests[0], 6);
    EXPECT_EQ(host.requests[1], expected[kind]);
    EXPECT_EQ(host.pickerTexts.at(0), "field");
  }
  host.pickerAnswers = {std::nullopt};  // the host leaves the slot alone: the field text stays
  EXPECT_EQ(OpenHostPicker(3, "as before"), "as before");
}

TEST_F(Conventions, PickerNeedsVersionFiveForInsertingVariables) {
  const std::string message = "Sorry, this feature need NeoBook version 5 or later";
  struct {
    std::optional<std::string> version;
    bool allowed;
  } cases[] = {{"4.9.9", false},      {"5", true},   {"9.1", true}, {"", false},
               {std::nullopt, false}, {"v5", false}, {" 5", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version.value_or("<none>"));
    host.ClearLogs();
    host.versionText = c.version;
    host.pickerAnswers = {std::string("[Var]")};
    EXPECT_EQ(OpenHostPicker(1, ""), c.allowed ? "[Var]" : "");
    EXPECT_EQ(host.messages.size(), c.allowed ? 0u : 1u);
    if (!c.allowed) EXPECT_EQ(host.messages[0], message);
    host.pickerAnswers.clear();
  }
  host.versionText = "4.0";
  host.pickerAnswers = {std::string("1,2,3")};
  EXPECT_EQ(OpenHostPicker(5, "0,0,0"), "1,2,3");  // only kinds 1 and 2 need version 5
}

TEST_F(ConventionsWithoutInterface, RequestsAreSkippedWithoutTheCallback) {
  EXPECT_EQ(HostVersionText(), "");
  ShowHostMessage("nobody listens");
  EXPECT_EQ(OpenHostPicker(0, "text"), "");
  EXPECT_EQ(OpenHostPicker(1, "text"), "");
  EXPECT_TRUE(host.requests.empty());
}

TEST_F(Conventions, TempFilePathIsTheTempFolderAndABracedGuid) {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = temp;
  const std::string withExtension = MakeTempFilePath("tmp");
  ASSERT_EQ(withExtension.size(), folder.size() + 38 + 4);
  EXPECT_EQ(withExtension.substr(0, folder.size()), folder);
  EXPECT_EQ(withExtension[folder.size()], '{');
  EXPECT_EQ(withExtension.substr(folder.size() + 37), "}.tmp");
  const std::string guid = withExtension.substr(folder.size(), 38);
  EXPECT_EQ(guid.find_first_not_of("{}-0123456789ABCDEF"), std::string::npos) << guid;
  EXPECT_EQ(MakeTempFilePath("  ").size(), folder.size() + 38);
  EXPECT_EQ(MakeTempFilePath("").back(), '}');
  EXPECT_NE(MakeTempFilePath(""), MakeTempFilePath(""));
}

TEST_F(Conventions, FailureTextsAndTheirOrder) {
  const char* const params[] = {"x", "[Result]"};
  const ActionCall setVar{*FindAction(24), params}, toRoman{*FindAction(22), params};
  EXPECT_EQ(InvalidArgumentsText(setVar), "Invalid \"kxSetVar\" action arguments");
  EXPECT_EQ(InvalidArgumentsText(toRoman), "Invalid \"kxNumberToRoman\" action arguments");
  // "False" goes into the row's result slot.
  EXPECT_FALSE(ReportInvalidArguments(toRoman));
  ASSERT_EQ(host.setCalls.size(), 2u);
  EXPECT_EQ(host.setCalls[0].name, "LastError");
  EXPECT_EQ(host.setCalls[1].name, "[Result]");
  EXPECT_EQ(host.setCalls[1].value, "False");
  host.ClearLogs();
  EXPECT_FALSE(ReportFailure("  ", "text"));
  ASSERT_EQ(host.setCalls.size(), 1u);  // a blank result variable gets nothing
}

TEST_F(Conventions, MissingFileAndPathTextsInEachEdition) {
  EXPECT_EQ(FileNotFoundText("C:\\x 100%s.txt"),
            Ansi(InEdition("Файл \"C:\\x 100%s.txt\" не существует.",
                           "File \"C:\\x 100%s.txt\" does not exist.")));
  EXPECT_EQ(PathNotFoundText("C:\\d"),
            Ansi(InEdition("Путь \"C:\\d\" не существует", "Path \"C:\\d\" does not exist")));
}

TEST_F(Conventions, SystemErrorTextLosesTrailingBlanksAndPeriods) {
  for (DWORD code : {2u, 3u, 5u, 32u, 87u}) {
    const std::string text = SystemErrorText(code);
    SCOPED_TRACE(code);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '.');
    EXPECT_GT(static_cast<unsigned char>(text.back()), 32);
  }
  EXPECT_EQ(SystemErrorText(0xDEADBEEF), "");
}

TEST_F(Conventions, ExistingFilesAndFolders) {
  ScratchDir dir;
  const std::string file = dir.Write("a.txt", "x");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FolderExists(file));
  EXPECT_TRUE(FolderExists(dir.path()));
  EXPECT_FALSE(FileExists(dir.path()));
  EXPECT_FALSE(FileExists(dir.File("missing")));
  EXPECT_FALSE(FileExists(""));
}

TEST_F(Conventions, PluginHelpIsFalseWithoutARegisteredFile) {
  RegisterHelpFile("");
  EXPECT_FALSE(OpenPluginHelp("topic"));
  ASSERT_TRUE(RegisterHelpFile("C:\\no\\such\\help.chm"));
  EXPECT_FALSE(OpenPluginHelp("topic"));
  RegisterHelpFile("");
}

TEST_F(Conventions, ShellOpenOfAMissingFileFails) {
  ScratchDir dir;
  EXPECT_FALSE(OpenWithShell(dir.File("missing.zzz"), "", SW_HIDE));
}

TEST_F(Conventions, RandomDrawsStayInRange) {
  ClockSeededRandom random;
  for (int i = 0; i < 1000; ++i) EXPECT_LT(random.Next(3), 3u);
}

}  // namespace

namespace {

// A host that registered no callbacks at all: every action must still return, never calling
// through a null pointer.
TEST(NoCallbacks, ActionsRunWithoutAnyHostCallback) {
  NbHost host{InProcessExports()};
  nbRegisterPlugIn(nullptr, nullptr, nullptr, nullptr);
  nbRegisterScriptProcessor(nullptr);
  nbRegisterInterfaceAccess(nullptr);
  ScratchDir dir;
  const std::string file = dir.Write("a.txt", "SetVar \"[x]\" \"1\"\r\n");
  struct {
    int id;
    std::vector<std::string> params;
    bool expected;
  } cases[] = {
      {10, {" a ", "[Result]"}, true},
      {22, {"12a", "[Result]"}, false},
      {24, {"a,b", "1|2", ""}, true},
      {27, {"SetVar \"[x]\" \"1\""}, true},
      {28, {file}, true},
      {29, {"a,tmp*"}, true},
      {30, {"a,b*", dir.File("out.txt")}, true},
      {70, {file, "[Size]"}, true},
      {70, {dir.File("missing"), "[Size]"}, false},
  };
  for (const auto& c : cases) {
    std::vector<char*> block;
    for (const auto& p : c.params) block.push_back(const_cast<char*>(p.c_str()));
    EXPECT_EQ(nbExecAction(c.id, block.data(), static_cast<int>(block.size()) - 1) != FALSE,
              c.expected)
        << "id " << c.id;
  }
  EXPECT_TRUE(host.setCalls.empty());
  EXPECT_TRUE(host.scripts.empty());
}

}  // namespace
