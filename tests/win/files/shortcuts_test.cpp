// kxAddShortcut and kxGetShortcut on links in a scratch folder; links with hotkeys and
// window states the actions cannot set are made here through the shell's link object.
#include <windows.h>
// The shell link interfaces build on the types that windows.h declares.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/failures.h"
#include "core/host_io.h"
#include "encoding.h"
#include "fixture.h"
#include "platform/buffers.h"
#include "platform/raii.h"

namespace {

using ShortcutTest = PluginTest;

std::vector<std::string> Fields(const NbHost& host, const std::string& array) {
  std::vector<std::string> fields;
  for (int i = 0; i < 8; ++i)
    fields.push_back(host.Var(array + std::to_string(i)).value_or("<unset>"));
  return fields;
}

// A link made here, for hotkeys and window states kxAddShortcut does not set; and the show
// command a fresh link object reads back from it. Wine's loader leaves that at 1 whatever the
// file holds, so window-state names can only be checked where the shell keeps them.
bool MakeLink(const std::string& path, const std::string& target, WORD hotkey, int show) {
  const ComScope com;
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;
  return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    link.put_void())) &&
         SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put_void())) &&
         SUCCEEDED(link->SetPath(target.c_str())) && SUCCEEDED(link->SetHotkey(hotkey)) &&
         SUCCEEDED(link->SetShowCmd(show)) && SUCCEEDED(file->Save(AnsiToWide(path).c_str(), TRUE));
}

int LoadedShowCommand(const std::string& path) {
  const ComScope com;
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;
  int show = -1;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 link.put_void())) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put_void())) &&
      SUCCEEDED(file->Load(AnsiToWide(path).c_str(), STGM_READ)))
    link->GetShowCmd(&show);
  return show;
}

TEST_F(ShortcutTest, RoundTripOfAProgramLink) {
  ScratchDir dir;
  const std::string tools = dir.File("Tools"), links = dir.File("Links");
  ASSERT_TRUE(CreateDirectoryA(tools.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(links.c_str(), nullptr));
  const std::string app = dir.Write("Tools\\app.exe", "MZ");

  ASSERT_TRUE(host.Exec("kxAddShortcut", {app, "/x", links, "App", "Test", "[Result]"}))
      << LastError();
  EXPECT_EQ(Result(), "True");
  ASSERT_TRUE(FileExists(links + "\\App.lnk"));
  ASSERT_TRUE(host.Exec("kxGetShortcut", {links + "\\App.lnk", "Link"}));
  EXPECT_EQ(Fields(host, "Link"),
            (std::vector<std::string>{app, "/x", tools, "Test", "", "0", "SW_SHOWNORMAL", ""}));

  // Saving again over the same name replaces the link.
  ASSERT_TRUE(host.Exec("kxAddShortcut", {app, "/y", links + "\\", "App", "", "[Result]"}));
  ASSERT_TRUE(host.Exec("kxGetShortcut", {links + "\\App.lnk", "Link"}));
  EXPECT_EQ(host.Value("Link1"), "/y");
}

TEST_F(ShortcutTest, AFolderTargetStartsInTheFolderAbove) {
  ScratchDir dir;
  const std::string folder = dir.File("Data");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(host.Exec("kxAddShortcut", {folder, "", dir.path(), "Data", "", "[Result]"}));
  ASSERT_TRUE(host.Exec("kxGetShortcut", {dir.File("Data.lnk"), "Link"}));
  EXPECT_EQ(host.Value("Link0"), folder);
  EXPECT_EQ(host.Value("Link2"), dir.path());
}

TEST_F(ShortcutTest, HotkeysAndWindowStates) {
  ScratchDir dir;
  const std::string target = dir.Write("t.txt", "t");
  const struct {
    WORD hotkey;
    int show;
    std::string hotkeyText, showName;
  } rows[] = {
      {MAKEWORD(VK_F5, HOTKEYF_CONTROL | HOTKEYF_ALT), 7, "CTRL+ALT+F5", "SW_SHOWMINNOACTIVE"},
      {MAKEWORD('A', HOTKEYF_SHIFT), 2, "SHIFT+A", "SW_UNKNOW"},
      {MAKEWORD(VK_HOME, HOTKEYF_EXT), 3, "Extended+Home", "SW_SHOWMAXIMIZED"},
  };
  for (const auto& row : rows) {
    const std::string link = dir.File("hot" + std::to_string(row.hotkey) + ".lnk");
    ASSERT_TRUE(MakeLink(link, target, row.hotkey, row.show)) << row.hotkeyText;
    ASSERT_TRUE(host.Exec("kxGetShortcut", {link, "Link"})) << row.hotkeyText;
    EXPECT_EQ(host.Value("Link7"), row.hotkeyText);
    if (LoadedShowCommand(link) == row.show)
      EXPECT_EQ(host.Value("Link6"), row.showName) << row.hotkeyText;
    else
      std::printf("the shell's loader does not keep show command %d here\n", row.show);
  }
}

TEST_F(ShortcutTest, AFileThatIsNoLinkReadsAsEmptyFields) {
  ScratchDir dir;
  const std::string text = dir.Write("plain.txt", "not a link");
  ASSERT_TRUE(host.Exec("kxGetShortcut", {text, "Link"}));
  const std::vector<std::string> fields = Fields(host, "Link");
  for (int i : {0, 1, 2, 3, 4, 7}) EXPECT_EQ(fields[i], "") << i;
  EXPECT_EQ(fields[5], "0");
}

TEST_F(ShortcutTest, Failures) {
  ScratchDir dir;
  const std::string missing = dir.File("missing.exe");
  EXPECT_FALSE(host.Exec("kxAddShortcut", {missing, "", dir.path(), "M", "", "[Result]"}));
  EXPECT_EQ(Result(), "False");
  EXPECT_EQ(LastError(), PathNotFoundText(missing));
  EXPECT_EQ(LastError(), Ansi(InEdition("Путь \"", "Path \"")) + missing +
                             Ansi(InEdition("\" не существует", "\" does not exist")));

  EXPECT_FALSE(host.Exec("kxGetShortcut", {dir.File("none.lnk"), "Link"}));
  EXPECT_EQ(host.Value("Link"), "False");
  EXPECT_EQ(LastError(), "Invalid \"kxGetShortcut\" action arguments");
  EXPECT_FALSE(host.Var("Link0"));
}

}  // namespace
