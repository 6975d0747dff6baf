// The host stand-in's own script handling, which every end-to-end test relies on.
#include <gtest/gtest.h>

#include "fixture.h"

TEST_F(PluginTest, ScriptCommandsAndExpansion) {
  std::string error;
  ASSERT_TRUE(host.RunScript(
      ". comment\r\nSetVar \"[Name]\" \"a[#34]b\"\nSetVar \"[Copy]\" \"<[name]> [Unknown]\"\r\n",
      &error))
      << error;
  EXPECT_EQ(host.Value("Name"), "a\"b");
  EXPECT_EQ(host.Value("copy"), "<a\"b> [Unknown]");
  ASSERT_TRUE(host.RunScript("ClearVariables \"NAME\"", &error)) << error;
  EXPECT_FALSE(host.Var("Name"));
  ASSERT_TRUE(host.RunScript("ClearVariables \"\"", &error)) << error;
  EXPECT_TRUE(host.Variables().empty());
}

// What the help's examples use: arrays walked by a counter, inner references first.
TEST_F(PluginTest, ScriptLoopsAndConditions) {
  std::string error;
  ASSERT_TRUE(
      host.RunScript("kxSetVar \"A\" \"x|y|z\" \"\"\nSetVar \"[s]\" \"\"\n"
                     "Loop \"0\" \"2\" \"[i]\"\n If \"[i]\" \">=\" \"1\"\n"
                     "  SetVar \"[s]\" \"[s]+[A[i]]\"\n Else\n  SetVar \"[s]\" \"[A[i]]\"\n"
                     " EndIf\nEndLoop\nIf \"10\" \">\" \"9\"\nSetVar \"[n]\" \"numeric\"\nEndIf",
                     &error))
      << error;
  EXPECT_EQ(host.Value("s"), "x+y+z");
  EXPECT_EQ(host.Value("n"), "numeric");
  EXPECT_FALSE(host.RunScript("Loop \"1\" \"2\" \"[i]\"\nEndIf", &error));
  EXPECT_EQ(error, "line 1: Loop without its EndLoop");
  EXPECT_FALSE(host.RunScript("SetVar \"[a]\" \"1\"\nEndIf", &error));
  EXPECT_EQ(error, "line 2: EndIf without its If");
}

TEST_F(PluginTest, ScriptErrorsNameTheLine) {
  std::string error;
  EXPECT_FALSE(host.RunScript("SetVar \"[a]\" \"1\"\nFoo \"x\"", &error));
  EXPECT_EQ(error, "line 2: unknown command \"Foo\"");
  EXPECT_FALSE(host.RunScript("SetVar \"[a]\" \"1", &error));
  EXPECT_EQ(error, "line 1: unterminated quoted parameter");
  EXPECT_FALSE(host.RunScript("kxTrimStr \"a\" \"[r]\" \"extra\"", &error));
  EXPECT_EQ(error, "line 1: kxTrimStr takes 2 parameters, 3 given");
}

TEST_F(PluginTest, SavedVariablesAreNameValueLinesInCreationOrder) {
  ScratchDir dir;
  host.SetVar("B", "2");
  host.SetVar("a", "1=one");
  host.SetVar("b", "3");  // same variable as B: keeps its place
  const std::string path = dir.File("vars.txt");
  ASSERT_TRUE(host.RunScript("SaveVariables \"" + path + "\""));
  EXPECT_EQ(ReadFileBytes(path), "B=3\r\na=1=one\r\n");
}
