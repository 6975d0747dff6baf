#include <gtest/gtest.h>

#include <string>

#include "pure/drive_names.h"
#include "pure/file_operations.h"
#include "pure/shortcut_fields.h"

using namespace std::string_literals;

TEST(DriveNames, FiltersAreExactAndNeverNoRootDir) {
  const struct {
    std::string filter;
    std::optional<int> code;
  } rows[] = {
      {"DRIVE_UNKNOWN", 0},      {"DRIVE_REMOVABLE", 2},    {"DRIVE_FIXED", 3},
      {"DRIVE_REMOTE", 4},       {"DRIVE_CDROM", 5},        {"DRIVE_RAMDISK", 6},
      {"DRIVE_ALL", kAllDrives}, {"DRIVE_NO_ROOT_DIR", {}}, {"drive_fixed", {}},
      {" DRIVE_FIXED", {}},      {"DRIVE_FIXED ", {}},      {"", {}},
  };
  for (const auto& row : rows) EXPECT_EQ(DriveFilterCode(row.filter), row.code) << row.filter;
  for (unsigned code : {0u, 2u, 3u, 4u, 5u, 6u})
    EXPECT_EQ(DriveFilterCode(DriveTypeName(code)), static_cast<int>(code)) << code;
  EXPECT_EQ(DriveTypeName(1), "DRIVE_NO_ROOT_DIR");
  EXPECT_EQ(DriveTypeName(7), "");
}

TEST(ShellOperations, FlagWords) {
  const struct {
    std::string text;
    unsigned flags;
  } rows[] = {
      {"FOF_NOCONFIRMATION FOF_SILENT", 0x14},
      {"FOF_SILENT,FOF_NOCONFIRMATION", 0x14},
      {"FOF_NO_UI", 0x614},
      {"FOF_SILENT|FOF_NO_UI", 0x614},
      {"FOF_NOCONFIRMMKDIR", 0x200},  // not also FOF_NOCONFIRMATION
      {"xxFOF_ALLOWUNDOxxFOF_FILESONLY", 0xC0},
      {"FOF_MULTIDESTFILES FOF_RENAMEONCOLLISION FOF_SIMPLEPROGRESS", 0x109},
      {"FOF_NO_CONNECTED_ELEMENTS FOF_NOCOPYSECURITYATTRIBS FOF_NORECURSION", 0x3800},
      {"FOF_NOERRORUI", 0x400},
      {"fof_silent", 0},
      {"", 0},
  };
  for (const auto& row : rows) EXPECT_EQ(ShellOperationFlags(row.text), row.flags) << row.text;
}

TEST(ShellOperations, PathLists) {
  const struct {
    std::string text;
    std::optional<std::string> list;
  } rows[] = {
      {"a.txt", "a.txt\0\0"s},      {"a.txt|b.txt", "a.txt\0b.txt\0\0"s},
      {" a | b ", " a \0 b \0\0"s},  // pieces keep their blanks
      {"a||b|", "a\0b\0\0"s},       {"|", "\0\0"s},
      {"", std::nullopt},           {" \t", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(ShellPathList(row.text), row.list) << row.text;
}

TEST(ShellOperations, PatternFillCutsTheLastCopy) {
  for (std::size_t size : {0u, 1u, 3u, 7u, 1025u, 3000u, 70000u}) {
    std::string out(size, '\0');
    FillWithPattern("abc", out.data(), size);
    for (std::size_t i = 0; i < size; ++i) ASSERT_EQ(out[i], "abc"[i % 3]) << size << " at " << i;
  }
}

TEST(ShortcutFields, ShowCommands) {
  const struct {
    int value;
    std::string name;
  } rows[] = {{1, "SW_SHOWNORMAL"}, {3, "SW_SHOWMAXIMIZED"}, {7, "SW_SHOWMINNOACTIVE"},
              {2, "SW_UNKNOW"},     {0, "SW_UNKNOW"},        {-1, "SW_UNKNOW"}};
  for (const auto& row : rows) EXPECT_EQ(ShowCommandName(row.value), row.name) << row.value;
}

TEST(ShortcutFields, HotkeyTexts) {
  const struct {
    std::uint16_t hotkey;
    std::string text;
  } rows[] = {
      {0, ""},
      {0x0674, "CTRL+ALT+F5"},
      {0x0141, "SHIFT+A"},
      {0x0F87, "SHIFT+CTRL+ALT+Extended+F24"},
      {0x0208, "CTRL+BkSp"},
      {0x0009, "Tab"},
      {0x000D, "Enter"},
      {0x001B, "Esc"},
      {0x0020, "Space"},
      {0x0021, "PgUp"},
      {0x0028, "Down"},
      {0x002D, "Ins"},
      {0x002E, "Del"},
      {0x0030, "0"},
      {0x0039, "9"},
      {0x005A, "Z"},
      {0x0060, "0"},  // keypad digits
      {0x0069, "9"},
      {0x0070, "F1"},
      {0x04BA, "ALT+<layout>"},  // VK_OEM_1: the layout names it
      {0x0200, "CTRL+<layout>"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(HotkeyText(row.hotkey, "<layout>"), row.text) << row.hotkey;
}

TEST(ShortcutFields, WorkingFolders) {
  const struct {
    std::string target, folder;
  } rows[] = {
      {"C:\\Tools\\app.exe", "C:\\Tools"},
      {"C:\\app.exe", "C:\\"},
      {"C:\\Tools\\Sub", "C:\\Tools"},
      {"C:\\Tools\\Sub\\", "C:\\Tools"},
      {"C:\\", "C:\\"},
      {"\\\\server\\share\\app.exe", "\\\\server\\share"},
      {"C:app.exe", "C:"},
      {"app.exe", ""},
  };
  for (const auto& row : rows)
    EXPECT_EQ(WorkingFolderOf(row.target, kNoLeadBytes), row.folder) << row.target;

  // Code page 932: 0x95 0x5C is one character whose second byte looks like a backslash.
  LeadBytes lead{};
  lead[0x95] = true;
  EXPECT_EQ(WorkingFolderOf("C:\\\x95\\\\a.exe", lead), "C:\\\x95\\");
  EXPECT_EQ(WorkingFolderOf("C:\\\x95\\", lead), "C:\\");
  EXPECT_EQ(ShortcutFileName("C:\\\x95\\", "App", lead), "C:\\\x95\\\\App.lnk");
}

// Windows takes "/" for a separator: Z:/tmp/app.exe gave the drive-relative Z:, and a target
// mixing both separators the grandparent.
TEST(ShortcutFields, WorkingFolderOfATargetWrittenWithSlashes) {
  const struct {
    std::string target, folder;
  } rows[] = {
      {"Z:/tmp/rfx/tools/sub/app.exe", "Z:/tmp/rfx/tools/sub"},
      {"Z:\\tmp\\rfx\\tools\\sub/app.exe", "Z:\\tmp\\rfx\\tools\\sub"},
      {"Z:/tmp/sub/", "Z:/tmp"},
      {"Z:/app.exe", "Z:/"},
      {"//server/share/app.exe", "//server/share"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(WorkingFolderOf(row.target, kNoLeadBytes), row.folder) << row.target;
}

TEST(ShortcutFields, FileNames) {
  EXPECT_EQ(ShortcutFileName("C:\\Links", "App", kNoLeadBytes), "C:\\Links\\App.lnk");
  EXPECT_EQ(ShortcutFileName("C:\\Links\\", "App", kNoLeadBytes), "C:\\Links\\App.lnk");
  EXPECT_EQ(ShortcutFileName("", "App", kNoLeadBytes), "\\App.lnk");
}
