// The about box through the real nbAbout: its texts, the hidden credits, Esc from every control,
// the links and the help topic, with the shell and the help engine replaced.
#include "editor/about_box.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "core/fonts.h"
#include "fixture.h"
#include "inprocess.h"
#include "platform/resources.h"
#include "platform/seams.h"
#include "resources/resource.h"
#include "watcher.h"

namespace {

struct ShellCall {
  std::string file, parameters;
  int show;
};
std::vector<ShellCall> g_shell;
HINSTANCE WINAPI RecordShell(HWND, LPCSTR, LPCSTR file, LPCSTR parameters, LPCSTR, INT show) {
  g_shell.push_back({file ? file : "", parameters ? parameters : "", show});
  return reinterpret_cast<HINSTANCE>(33);
}

std::vector<std::string> g_help;
std::atomic<int> g_helpCalls{0};  // read by the watcher while the box runs
HWND WINAPI RecordHelp(HWND, LPCSTR target, UINT, DWORD_PTR) {
  g_help.push_back(target);
  ++g_helpCalls;
  return reinterpret_cast<HWND>(1);
}

class AboutBoxTest : public ::testing::Test {
 protected:
  NbHost host{InProcessExports()};
  MachineSeams saved = Seams();
  AboutBoxTest() {
    g_shell.clear();
    g_help.clear();
    g_helpCalls = 0;
    Seams().shellExecute = &RecordShell;
    Seams().htmlHelp = &RecordHelp;
  }
  ~AboutBoxTest() override { Seams() = saved; }
};

TEST_F(AboutBoxTest, ShowsTheNameVersionDateAndDescriptionWithTheCreditsHidden) {
  std::wstring caption, nameVersion, date, hint, notice;
  bool creditsShown = true, okFocused = false;
  int hintHeight = 0;
  FormWatcher watcher([&](HWND box) {
    caption = TextOf(box);
    nameVersion = ItemText(box, IDA_NAME_VERSION);
    date = ItemText(box, IDA_RELEASE_DATE);
    hint = ItemText(box, IDA_HINT);
    notice = ItemText(box, IDA_COPYRIGHTS);
    creditsShown = IsWindowVisible(GetDlgItem(box, IDA_THIRDPARTY)) ||
                   IsWindowVisible(GetDlgItem(box, IDA_THIRDPARTY_LABEL));
    RECT memo{};
    GetClientRect(GetDlgItem(box, IDA_HINT), &memo);
    hintHeight = MulDiv(memo.bottom + 2 * GetSystemMetrics(SM_CYEDGE), 96, ScreenPixelsPerInch());
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &gui);
    okFocused = gui.hwndFocus == GetDlgItem(box, IDA_OK);
  });
  nbAbout();
  ASSERT_TRUE(watcher.SawForm());
  EXPECT_EQ(caption, L"About zaDode plugin");
  EXPECT_EQ(nameVersion, L"zaDode 1.6");
  EXPECT_EQ(date, L"12/23/2011");
  EXPECT_EQ(hint, InEdition(L"Этот плагин содержит много полезных команд. Работа со строками, "
                            L"создание ярлыка и т.д.",
                            L"This plugin adds many useful actions: working with strings, creating "
                            L"shortcuts and more."));
  // The copyright sign is missing from code pages 932, 936, 874 ...: the English edition,
  // which serves them all, spells it.
  EXPECT_EQ(notice, InEdition(L"© 2011 Tessoran, Vellmark", L"(c) 2011 Tessoran, Vellmark"));
  EXPECT_FALSE(creditsShown);
  EXPECT_EQ(hintHeight, 155);
  EXPECT_TRUE(okFocused);
}

TEST_F(AboutBoxTest, EscClosesTheBoxFromEveryControl) {
  for (const int id : {IDA_OK, IDA_HELP, IDA_HINT}) {
    bool closed = false;
    FormWatcher watcher([&](HWND box) {
      HWND control = GetDlgItem(box, id);
      SendMessageW(box, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
      PostMessageW(control, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
      PostMessageW(control, WM_KEYUP, VK_ESCAPE, 0xC0010001);
      for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(10);
      closed = !IsWindow(box);
    });
    nbAbout();
    ASSERT_TRUE(watcher.SawForm());
    EXPECT_TRUE(closed) << "control " << id;
  }
}

TEST_F(AboutBoxTest, LinksOpenTheWebsiteAndAMailToTheMaker) {
  FormWatcher watcher([](HWND box) {
    Click(box, IDA_WEBSITE);
    Click(box, IDA_EMAIL);
  });
  nbAbout();
  ASSERT_EQ(g_shell.size(), 2u);
  EXPECT_EQ(g_shell[0].file, "http://www.tessoran.com");
  EXPECT_EQ(g_shell[1].file, "mailto:support@tessoran.com");
  for (const auto& call : g_shell) {
    EXPECT_EQ(call.parameters, "");
    EXPECT_EQ(call.show, SW_SHOWNORMAL);
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(AboutBoxTest, HelpButtonF1AndDescriptionOpenTheAboutTopic) {
  // No help file registered: the message, and the box stays open.
  RegisterHelpFile("");
  bool open = false;
  FormWatcher missing([&](HWND box) {
    Click(box, IDA_HELP);
    open = IsWindowVisible(box);
  });
  nbAbout();
  EXPECT_TRUE(open);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], LoadResString(IDS_HELP_MISSING));

  ScratchDir dir;
  const std::string helpFile = dir.Write("zaDode.chm", "help");
  ASSERT_TRUE(RegisterHelpFile(helpFile));
  bool okFocused = false;
  FormWatcher registered([&](HWND box) {
    Click(box, IDA_HELP);
    PostMessageW(GetDlgItem(box, IDA_OK), WM_KEYUP, VK_F1, 0xC03B0001);
    HWND hint = GetDlgItem(box, IDA_HINT);
    PostMessageW(hint, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(hint, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    // The posted messages go through the box's loop: the click in the memo ends on OK.
    for (int i = 0; i < 200 && !okFocused; ++i) {
      Sleep(10);
      GUITHREADINFO gui{};
      gui.cbSize = sizeof gui;
      GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &gui);
      okFocused = g_helpCalls == 3 && gui.hwndFocus == GetDlgItem(box, IDA_OK);
    }
  });
  nbAbout();
  RegisterHelpFile("");
  const std::string about = helpFile + "::\\index.html#about";
  EXPECT_EQ(g_help, (std::vector<std::string>{about, about, about}));
  EXPECT_TRUE(okFocused);
  EXPECT_EQ(host.messages.size(), 1u);
}

}  // namespace
