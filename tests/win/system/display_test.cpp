// Monitor power through the recorder (the screen never goes dark), the cursor counter for real.
#include <gtest/gtest.h>

#include "system_fixture.h"

namespace {

using DisplayTest = SystemTest;

// A visible top-level window of this thread, made the active one.
class ActiveWindow {
 public:
  ActiveWindow() {
    window_ = CreateWindowExA(0, "STATIC", "zaDode monitor test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              10, 10, 200, 100, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
  }
  ~ActiveWindow() { DestroyWindow(window_); }
  HWND get() const { return window_; }

 private:
  HWND window_;
};

// The display counter of this thread: one show and one hide leave it as it was.
int CursorCounter() {
  ShowCursor(TRUE);
  return ShowCursor(FALSE);
}

TEST_F(DisplayTest, MonitorRequestsGoToTheActiveWindow) {
  const ActiveWindow window;
  ASSERT_EQ(GetActiveWindow(), window.get());
  const struct {
    const char* action;
    LPARAM state;
    LRESULT answer;
    const char* expected;
  } rows[] = {{"kxMonitorOff", 2, 0, "True"},
              {"kxMonitorOn", -1, 0, "True"},
              {"kxMonitorOff", 2, 1, "False"},
              {"kxMonitorOn", -1, 1, "False"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.action) + " answered " + std::to_string(row.answer));
    Log().messages.clear();
    Log().messageAnswer = row.answer;
    EXPECT_TRUE(host.Exec(row.action, {"[Result]"}));
    ASSERT_EQ(Log().messages.size(), 1u);
    EXPECT_EQ(Log().messages[0].window, window.get());
    EXPECT_EQ(Log().messages[0].message, UINT{WM_SYSCOMMAND});
    EXPECT_EQ(Log().messages[0].wParam, WPARAM{SC_MONITORPOWER});
    EXPECT_EQ(Log().messages[0].lParam, row.state);
    EXPECT_EQ(Result(), row.expected);
  }
  EXPECT_EQ(LastError(), "<unset>");
}

// SendMessage to no window answers 0 as well; that must not pass for a success.
TEST_F(DisplayTest, WithoutAnActiveWindowNothingIsSentAndTheAnswerIsFalse) {
  SetActiveWindow(nullptr);
  ASSERT_EQ(GetActiveWindow(), nullptr);
  EXPECT_TRUE(host.Exec("kxMonitorOff", {"[Result]"}));
  EXPECT_TRUE(Log().messages.empty());
  EXPECT_EQ(Result(), "False");
  EXPECT_EQ(LastError(), "<unset>");
}

TEST_F(DisplayTest, CursorCounterFollowsHidesAndShows) {
  const int start = CursorCounter();
  EXPECT_TRUE(host.Exec("kxHideCursor", std::vector<std::string>{}));
  EXPECT_TRUE(host.Exec("kxHideCursor", std::vector<std::string>{}));
  EXPECT_TRUE(host.Exec("kxShowCursor", std::vector<std::string>{}));
  EXPECT_EQ(CursorCounter(), start - 1);
  if (start == 0) EXPECT_EQ(CursorCounter(), -1);
  EXPECT_TRUE(host.Exec("kxShowCursor", std::vector<std::string>{}));
  EXPECT_EQ(CursorCounter(), start);
  EXPECT_TRUE(host.setCalls.empty());
}

}  // namespace
