// The publication's windows and captions, on the host's own windows under Xvfb.
#include <gtest/gtest.h>

#include <string>

#include "core/failures.h"
#include "core/host_io.h"
#include "fixture.h"
#include "window_helpers.h"

namespace {

class PublicationTest : public PluginTest {
 protected:
  void SetUp() override {
    title = "zaDode publication " + std::to_string(GetCurrentProcessId());
    workform = host.OpenPublication(title);
    application = host.applicationWindow;
    ASSERT_TRUE(workform && application);
  }
  bool Run(const std::string& action, const std::vector<std::string>& params = {}) {
    const bool ok = host.Exec(action, params);
    NbHost::PumpMessages();
    return ok;
  }

  std::string title;
  HWND workform = nullptr, application = nullptr;
};

TEST_F(PublicationTest, HideThenShowBringsBothBackRestored) {
  ASSERT_EQ(host.Value("WinHandle"), HandleText(workform));
  ShowWindow(workform, SW_MINIMIZE);
  host.ClearLogs();
  EXPECT_TRUE(Run("kxHidePublication"));
  EXPECT_FALSE(IsWindowVisible(workform));
  EXPECT_FALSE(IsWindowVisible(application));
  // The title is asked for before each of the two lookups.
  EXPECT_EQ(host.getCalls, (std::vector<std::string>{"PubTitle", "PubTitle"}));

  EXPECT_TRUE(Run("kxShowPublication"));
  EXPECT_TRUE(IsWindowVisible(workform));
  EXPECT_TRUE(IsWindowVisible(application));
  EXPECT_FALSE(IsIconic(workform));
  EXPECT_FALSE(host.Var("LastError"));
}

TEST_F(PublicationTest, TaskbarActionsLeaveThePublicationWindowAlone) {
  EXPECT_TRUE(Run("kxHideFromTaskbar"));
  EXPECT_TRUE(IsWindowVisible(workform));
  EXPECT_FALSE(IsWindowVisible(application));
  EXPECT_TRUE(Run("kxShowOnTaskbar"));
  EXPECT_TRUE(IsWindowVisible(application));
  EXPECT_TRUE(IsWindowVisible(workform));
}

// An empty title must not reach windows that happen to have no text.
TEST_F(PublicationTest, NoTitleChangesNothing) {
  const HWND untitledForm = host.OpenHostWindow("TWorkform", "");
  const HWND untitledApplication = host.OpenHostWindow("TApplication", "");
  for (const bool defined : {true, false}) {
    if (defined)
      host.SetVar("PubTitle", "");
    else
      host.ClearVariables("PubTitle");
    for (const char* action :
         {"kxHidePublication", "kxHideFromTaskbar", "kxShowPublication", "kxShowOnTaskbar"}) {
      EXPECT_TRUE(Run(action)) << action;
      for (const HWND window : {workform, application, untitledForm, untitledApplication})
        EXPECT_TRUE(IsWindowVisible(window)) << action << " defined " << defined;
    }
  }
  EXPECT_FALSE(host.Var("LastError"));
}

TEST_F(PublicationTest, OnlyTheWindowFindWindowReturnsChanges) {
  for (const char* className : {"TWorkform", "TApplication"}) {
    const HWND twin = host.OpenHostWindow(className, title);
    const HWND found = FindWindowA(className, title.c_str());
    const HWND other =
        found == twin ? FindWindowExA(nullptr, twin, className, title.c_str()) : twin;
    ASSERT_TRUE(found && other && found != other) << className;
    EXPECT_TRUE(
        Run(std::string(className) == "TWorkform" ? "kxHidePublication" : "kxHideFromTaskbar"));
    EXPECT_FALSE(IsWindowVisible(found)) << className;
    EXPECT_TRUE(IsWindowVisible(other)) << className;
    EXPECT_TRUE(Run("kxShowPublication"));
    DestroyWindow(twin);
  }
}

TEST_F(PublicationTest, HideCaptionClearsOnlyTheCaptionBits) {
  const std::uint32_t before = StyleOf(workform);
  ASSERT_EQ(before & WS_CAPTION, static_cast<std::uint32_t>(WS_CAPTION));
  EXPECT_TRUE(Run("kxHideAppCaption", {host.Value("WinHandle"), "[Result]"}));
  EXPECT_EQ(Result(), "True");
  EXPECT_EQ(StyleOf(workform), before & 0xFF3FFFFFu);
  // Hiding twice changes nothing more.
  EXPECT_TRUE(Run("kxHideAppCaption", {HandleText(workform), "[Result]"}));
  EXPECT_EQ(StyleOf(workform), before & 0xFF3FFFFFu);

  EXPECT_TRUE(Run("kxShowAppCaption", {HandleText(workform), "[Result]"}));
  EXPECT_EQ(Result(), "True");
  EXPECT_EQ(StyleOf(workform), before);
  EXPECT_TRUE(Run("kxShowAppCaption", {HandleText(workform), "[Result]"}));
  EXPECT_EQ(StyleOf(workform), before);
  EXPECT_FALSE(host.Var("LastError"));
}

TEST_F(PublicationTest, CaptionHandleTexts) {
  const std::string handle = HandleText(workform);
  char hex[32];
  wsprintfA(hex, "$%X", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(workform)));
  const std::string invalidWindow = SystemErrorText(ERROR_INVALID_WINDOW_HANDLE);
  const struct {
    std::string text;
    bool ok;
    bool invalidArguments;
  } rows[] = {
      {" " + handle, true, false}, {hex, true, false},
      {"abc", false, true},        {"", false, true},
      {handle + " ", false, true}, {"12ab", false, true},
      {"0", false, false},         {HandleText(ClosedWindowHandle()), false, false},
  };
  for (const std::string action : {"kxHideAppCaption", "kxShowAppCaption"}) {
    for (const auto& row : rows) {
      host.ClearVariables("");
      host.ClearLogs();
      EXPECT_EQ(Run(action, {row.text, "[Result]"}), row.ok) << action << " " << row.text;
      EXPECT_EQ(Result(), row.ok ? "True" : "False") << action << " " << row.text;
      if (row.ok) {
        EXPECT_FALSE(host.Var("LastError")) << action << " " << row.text;
      } else {
        EXPECT_EQ(LastError(), row.invalidArguments ? "Invalid \"" + action + "\" action arguments"
                                                    : invalidWindow)
            << action << " " << row.text;
        // LastError before the result variable.
        ASSERT_GE(host.setCalls.size(), 2u);
        EXPECT_EQ(host.setCalls[0].name, "LastError");
      }
    }
  }
}

}  // namespace
