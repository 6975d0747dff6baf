// Device names pass the attribute test like files. Reading one can wait on a port for ever,
// writing one sends the bytes to the device: every action that opens a file refuses them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture.h"

namespace {

TEST_F(PluginTest, NoActionOpensADeviceAsAFile) {
  const struct {
    const char* action;
    std::vector<std::string> params;
  } cases[] = {
      {"kxWipeFile", {"NUL", "1", "[Result]"}},
      {"kxBase64EncodeFile", {"NUL", "[Result]"}},
      {"kxBase64DecodeFile", {"QUJD", "NUL", "[Result]"}},
      {"kxGetShortcut", {"NUL", "Result"}},
      {"kxScreenShot", {"NUL", "[Result]"}},
      {"kxSaveVariables", {"", "NUL"}},
  };
  for (const auto& c : cases) {
    host.SetVar("Result", "before");
    host.SetVar("LastError", "");
    EXPECT_FALSE(host.Exec(c.action, c.params)) << c.action;
    EXPECT_NE(host.Value("LastError"), "") << c.action;
    if (c.params.back().find("Result") != std::string::npos)
      EXPECT_TRUE(host.Value("Result") == "False" || host.Value("Result0") == "False")
          << c.action << ": " << host.Value("Result");
  }
}

}  // namespace
