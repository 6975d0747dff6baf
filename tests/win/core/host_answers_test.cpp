// The host stand-in as a NeoBook author relies on it: names taken as written, and every false
// answer of an action visible.
#include <gtest/gtest.h>

#include "fixture.h"

// SetVar "[a]" assigned to the variable named by a's value.
TEST_F(PluginTest, SetVarTargetIsTheNameNotItsValue) {
  host.SetVar("a", "b");
  std::string error;
  ASSERT_TRUE(
      host.RunScript("SetVar \"[a]\" \"2\"\nSetVar \"c\" \"[a]\"\n"
                     "DefineVar \"[a]\" \"Undefined\" \"\" \"Global\" \"\"",
                     &error))
      << error;
  EXPECT_EQ(host.Value("a"), "2");
  EXPECT_FALSE(host.Var("b"));
  EXPECT_EQ(host.Value("c"), "2");
}

// A script run could not tell that an action answered false.
TEST_F(PluginTest, FalseAnswersAreListedWithTheirLines) {
  const std::string script =
      "kxTrimStr \" a \" \"[r]\"\n"
      "kxSetVar \"\" \"\"\n"
      ". comment\n"
      "kxNumberToRoman \"x\" \"[n]\"\n"
      "kxTrimStr \" b \" \"[s]\"\n";
  std::string error;
  EXPECT_TRUE(host.RunScript(script, &error)) << error;
  EXPECT_EQ(host.falseAnswers,
            (std::vector<std::string>{"line 2: kxSetVar answered false",
                                      "line 4: kxNumberToRoman answered false"}));
  EXPECT_EQ(host.Value("s"), "b");

  NbHost strict(NbHost::DefaultPluginPath());
  strict.strict = true;
  EXPECT_FALSE(strict.RunScript(script, &error));
  EXPECT_EQ(error, "line 2: kxSetVar answered false");
  EXPECT_EQ(strict.falseAnswers, std::vector<std::string>{error});
  EXPECT_FALSE(strict.Var("s")) << "the run went on past the false answer";
}
