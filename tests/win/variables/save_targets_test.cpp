// kxSaveVariables and kxClearVariables against awkward names: zero bytes in values, square
// brackets in names and paths.
#include <string>
#include <vector>

#include "core/failures.h"
#include "core/host_io.h"
#include "fixture.h"

namespace {

constexpr int kClearVariables = 29, kSaveVariables = 30;

bool ExecTexts(NbHost& host, int id, const std::vector<std::string>& params) {
  return host.Exec(id, params);
}

std::string Names(const NbHost& host) {
  std::string out;
  for (const auto& [name, value] : host.Variables()) out += name + ";";
  return out;
}

}  // namespace

// The host's dump was read only up to its first zero byte: the variables listed after a
// value holding one were neither saved nor cleared.
TEST_F(PluginTest, AZeroByteInAValueKeepsTheVariablesAfterIt) {
  host.SetVar("V1", std::string("x\0y", 3));
  host.SetVar("V2", "2");
  host.SetVar("other", "3");
  host.SetVar("V3", "4");
  ScratchDir dir;
  const std::string out = dir.File("saved.txt");
  ASSERT_TRUE(ExecTexts(host, kSaveVariables, {"V*", out}));
  EXPECT_EQ(ReadFileBytes(out), std::string("V1=x\0y\r\nV2=2\r\nV3=4\r\n", 20));
  ASSERT_TRUE(ExecTexts(host, kSaveVariables, {"V*,other", out}));
  EXPECT_EQ(ReadFileBytes(out), std::string("V1=x\0y\r\nV2=2\r\nV3=4\r\nother=3\r\n", 29));
  // A name with a zero byte cannot be written into a script without cutting it short.
  host.SetVar(std::string("V\0", 2), "5");
  host.ClearLogs();
  ASSERT_TRUE(ExecTexts(host, kClearVariables, {"V*"}));
  EXPECT_EQ(Names(host), std::string("other;V\0;", 9));
  EXPECT_TRUE(host.scriptErrors.empty());
}

// "[b]" inside a name or path reached the host unescaped and was read as the value of b.
TEST_F(PluginTest, BracketsInNamesAndPathsReachTheHostAsWritten) {
  const struct {
    const char *list, *remaining;
  } cases[] = {
      {"a[b]", "b;ac;"},
      {"a[*", "b;ac;"},
      {"A[B]|a[c]", "b;ac;"},
  };
  for (const auto& c : cases) {
    NbHost fresh(NbHost::DefaultPluginPath());
    fresh.SetVar("a[b]", "1");
    fresh.SetVar("b", "c");
    fresh.SetVar("ac", "keep");
    EXPECT_TRUE(ExecTexts(fresh, kClearVariables, {c.list})) << c.list;
    EXPECT_EQ(Names(fresh), c.remaining) << c.list;
    EXPECT_TRUE(fresh.scriptErrors.empty()) << c.list;
  }
  host.SetVar("b", "c");
  ScratchDir dir;
  const std::string path = dir.File("x[b].txt");
  ASSERT_TRUE(ExecTexts(host, kSaveVariables, {"", path}));
  EXPECT_EQ(host.scripts.back(), "SaveVariables \"" + dir.path() + "\\x[#91]b[#93].txt\"");
  EXPECT_EQ(ReadFileBytes(path), "b=c\r\n");
  EXPECT_FALSE(FileExists(dir.File("xc.txt")));
  host.SetVar("a[b]", "1");
  const std::string listed = dir.File("y[b].txt");
  ASSERT_TRUE(ExecTexts(host, kSaveVariables, {"a[b],a[*", listed}));
  EXPECT_EQ(ReadFileBytes(listed), "a[b]=1\r\na[b]=1\r\n");
}
