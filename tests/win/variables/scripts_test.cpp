// kxExecAction and kxExecActions end to end: what the host's script processor receives.
#include <string>
#include <vector>

#include "core/failures.h"
#include "core/host_io.h"
#include "fixture.h"

namespace {

// Parameters as texts (a braced list of literals would fit both Exec overloads).
bool ExecTexts(NbHost& host, int id, const std::vector<std::string>& params) {
  return host.Exec(id, params);
}

constexpr int kExecAction = 27, kExecActions = 28;

class Scripts : public PluginTest {
 protected:
  // Records the texts without running them.
  void CaptureOnly() {
    host.scriptHook = [](const std::string&) {};
  }
};

}  // namespace

TEST_F(Scripts, ExecActionHandsTheTextOverWhole) {
  const struct {
    std::string text;
  } cases[] = {{""}, {"SetVar \"[a]\" \"1\""}, {"line 1\r\nline 2\nline 3\r"}, {"  \t"}};
  for (const auto& c : cases) {
    NbHost fresh(NbHost::DefaultPluginPath());
    fresh.scriptHook = [](const std::string&) {};
    EXPECT_TRUE(ExecTexts(fresh, kExecAction, {c.text})) << c.text;
    EXPECT_EQ(fresh.scripts, std::vector<std::string>{c.text});
  }
}

TEST_F(Scripts, ExecActionWithANullTextSendsAnEmptyOne) {
  CaptureOnly();
  EXPECT_TRUE(host.Exec(kExecAction, std::vector<const char*>{nullptr}));
  EXPECT_EQ(host.scripts, std::vector<std::string>{""});
}

TEST_F(Scripts, ExecActionsPlaysOneLinePerCall) {
  const struct {
    std::string bytes;
    std::vector<std::string> expected;
  } cases[] = {
      {"one\r\n\r\nthree\r\n", {"one", "", "three"}},
      {"one\ntwo\nthree", {"one", "two", "three"}},
      {"one\rtwo\r", {"one", "two"}},
      {"  indented \t\r\n   \r\n.comment", {"  indented \t", "   ", ".comment"}},
      {"\r\n", {""}},
      {"", {}},
      {std::string("one\r\ntw\0o\r\nthree", 16), {"one", "tw"}},
      {"If \"[a]\" \"=\" \"1\"\r\nEndIf", {"If \"[a]\" \"=\" \"1\"", "EndIf"}},
      {"\n\n", {"", ""}},
      {"\r\n\r\n", {"", ""}},
      {"a\r\r\nb\n\rc", {"a", "", "b", "", "c"}},
      {std::string("\0one\r\n", 6), {}},
      {std::string("last\r\n\0more\r\n", 13), {"last"}},
      // Bytes go to the host as they are: no byte-order mark handling, no conversion.
      {"\xEF\xBB\xBFone\r\n\xC8\xEC\xFF", {"\xEF\xBB\xBFone", "\xC8\xEC\xFF"}},
  };
  for (const auto& c : cases) {
    NbHost fresh(NbHost::DefaultPluginPath());
    fresh.scriptHook = [](const std::string&) {};
    ScratchDir dir;
    const std::string path = dir.Write("script.txt", c.bytes);
    EXPECT_TRUE(ExecTexts(fresh, kExecActions, {path}));
    EXPECT_EQ(fresh.scripts, c.expected) << ::testing::PrintToString(c.bytes);
    EXPECT_FALSE(fresh.Var("LastError"));
  }
}

TEST_F(Scripts, ExecActionsIgnoresMissingFilesAndFolders) {
  CaptureOnly();
  ScratchDir dir;
  for (const std::string& path : {dir.path(), dir.File("missing.txt"), std::string()}) {
    EXPECT_TRUE(ExecTexts(host, kExecActions, {path})) << path;
    EXPECT_TRUE(host.scripts.empty()) << path;
    EXPECT_FALSE(host.Var("LastError")) << path;
  }
}

TEST_F(Scripts, ExecActionsRunsATenThousandLineFile) {
  std::string text;
  for (int i = 0; i < 10000; ++i)
    text += "SetVar \"[v" + std::to_string(i) + "]\" \"" + std::to_string(i * 2) + "\"\r\n";
  ScratchDir dir;
  const std::string path = dir.Write("long.txt", text);
  ASSERT_TRUE(ExecTexts(host, kExecActions, {path}));
  EXPECT_EQ(host.scripts.size(), 10000u);
  EXPECT_EQ(host.Value("v0"), "0");
  EXPECT_EQ(host.Value("v9999"), "19998");
  EXPECT_TRUE(host.scriptErrors.empty());
}

namespace {
const char* g_received = nullptr;
int g_calls = 0;
void HOSTCALL RecordPointer(const char* script) {
  g_received = script;
  ++g_calls;
}
}  // namespace

// The host gets its own text back, not a copy: the same pointer, in one call.
TEST_F(Scripts, ExecActionPassesTheHostsOwnPointer) {
  reinterpret_cast<RegisterScriptProcessorProc>(host.Export("nbRegisterScriptProcessor"))(
      &RecordPointer);
  const auto exec = reinterpret_cast<ExecActionProc>(host.Export("nbExecAction"));
  for (std::string text : {std::string(""), std::string("SetVar \"[a]\" \"1\"\r\nSetVar")}) {
    std::vector<char*> params(8, nullptr);
    params[0] = text.data();
    g_received = nullptr;
    g_calls = 0;
    EXPECT_TRUE(exec(kExecAction, params.data(), 7)) << text;
    EXPECT_EQ(g_calls, 1) << text;
    EXPECT_EQ(static_cast<const void*>(g_received), static_cast<const void*>(text.data())) << text;
  }
}
