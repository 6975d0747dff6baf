// Option words, custom-colour texts and the file dialog's buffer shapes.
#include "pure/dialog_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

constexpr std::uint32_t kBase = 0x4 | 0x80000;  // OFN_HIDEREADONLY | OFN_EXPLORER

TEST(FileDialogOptions, EveryKeywordInItsColumns) {
  const struct {
    const char* word;
    std::uint32_t open, save;
  } rows[] = {
      {"ofOverwritePrompt", 0, 0x2},
      {"ofNoChangeDir", 0x8, 0x8},
      {"ofNoValidate", 0x100, 0x100},
      {"ofAllowMultiSelect", 0x200, 0},
      {"ofPathMustExist", 0x800, 0},
      {"ofFileMustExist", 0x1000, 0},
      {"ofCreatePrompt", 0x2000, 0},
      {"ofShareAware", 0x4000, 0x4000},
      {"ofNoReadOnlyReturn", 0x8000, 0x8000},
      {"ofNoTestFileCreate", 0x10000, 0x10000},
      {"ofNoNetworkButton", 0x20000, 0x20000},
      {"ofNoLongNames", 0x40000, 0x40000},
      {"ofNoDereferenceLinks", 0x100000, 0x100000},
      {"ofEnableSizing", 0x800000, 0x800000},
      {"ofDontAddToRecent", 0x2000000, 0x2000000},
      {"ofForceShowHidden", 0x10000000, 0x10000000},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FileDialogOptions(row.word, false).flags, kBase | row.open) << row.word;
    EXPECT_EQ(FileDialogOptions(row.word, true).flags, kBase | row.save) << row.word;
    EXPECT_EQ(FileDialogOptions(row.word, false).flagsEx, 0u) << row.word;
  }
}

TEST(FileDialogOptions, OldStylePlacesBarSubstringsAndCase) {
  EXPECT_EQ(FileDialogOptions("", false).flags, kBase);
  EXPECT_EQ(FileDialogOptions("ofOldStyleDialog", false).flags, 0x4u);
  EXPECT_EQ(FileDialogOptions("ofOldStyleDialog", true).flags, 0x4u);
  EXPECT_EQ(FileDialogOptions("ofExNoPlacesBar", true).flagsEx, 1u);
  EXPECT_EQ(FileDialogOptions("ofExNoPlacesBar", true).flags, kBase);
  EXPECT_EQ(FileDialogOptions("ofNoChangeDir,ofAllowMultiSelect", false).flags,
            kBase | 0x8 | 0x200);
  EXPECT_EQ(FileDialogOptions("xxofNoChangeDirofFileMustExist", false).flags, kBase | 0x8 | 0x1000);
  EXPECT_EQ(FileDialogOptions("ofnochangedir OFALLOWMULTISELECT", false).flags, kBase);
  EXPECT_TRUE(FileDialogOptions("ofAllowMultiSelect", false).multiSelect());
  EXPECT_FALSE(FileDialogOptions("ofAllowMultiSelect", true).multiSelect());
}

TEST(ColorDialogOptions, KeywordsOnTopOfRgbInit) {
  EXPECT_EQ(ColorDialogOptions(""), 0x1u);
  EXPECT_EQ(ColorDialogOptions("cdFullOpen"), 0x3u);
  EXPECT_EQ(ColorDialogOptions("cdAnyColor"), 0x101u);
  EXPECT_EQ(ColorDialogOptions("cdSolidColor"), 0x81u);
  EXPECT_EQ(ColorDialogOptions("cdPreventFullOpen"), 0x5u);
  EXPECT_EQ(ColorDialogOptions("cdFullOpen,cdAnyColor,cdSolidColor,cdPreventFullOpen"), 0x187u);
  EXPECT_EQ(ColorDialogOptions("cdfullopen"), 0x1u);
}

TEST(CustomColors, TextBothWays) {
  const struct {
    std::uint32_t value;
    const char* text;
  } rows[] = {{0x0000FF, "0000FF"}, {0, "000000"},          {0xFF0000, "FF0000"},
              {0x123456, "123456"}, {0x1000000, "1000000"}, {0xFFFFFFFF, "FFFFFFFF"},
              {0xABCDEF, "ABCDEF"}};
  for (const auto& row : rows) {
    EXPECT_EQ(CustomColorText(row.value), row.text) << row.text;
    EXPECT_EQ(ParseCustomColor(row.text), row.value) << row.text;
  }
  EXPECT_EQ(ParseCustomColor(" ff "), 0xFFu);
  for (const char* bad : {"", "  ", "255,0,0", "$FF", "0x0000FF", "123456789", "GG"})
    EXPECT_FALSE(ParseCustomColor(bad).has_value()) << bad;
}

TEST(FilterForDialog, BarsBecomeZeros) {
  EXPECT_EQ(FilterForDialog("Text|*.txt|All|*.*"), "Text\0*.txt\0All\0*.*\0\0"s);
  EXPECT_EQ(FilterForDialog(""), "");
}

TEST(SelectedFiles, SingleMultiAndOldStyle) {
  const std::vector<std::string> three = {"C:\\Data\\a.txt", "C:\\Data\\b.txt", "C:\\Data\\c.txt"};
  EXPECT_EQ(SelectedFiles("C:\\Data\\a.txt\0\0"s, false, true),
            std::vector<std::string>{"C:\\Data\\a.txt"});
  EXPECT_EQ(SelectedFiles("C:\\Data\\a.txt\0\0"s, true, true),
            std::vector<std::string>{"C:\\Data\\a.txt"});
  EXPECT_EQ(SelectedFiles("C:\\Data\0a.txt\0b.txt\0c.txt\0\0"s, true, true), three);
  EXPECT_EQ(SelectedFiles("C:\\Data a.txt b.txt c.txt\0"s, true, false), three);
  EXPECT_EQ(SelectedFiles("C:\\\0a.txt\0b.txt\0\0"s, true, true),
            (std::vector<std::string>{"C:\\a.txt", "C:\\b.txt"}));
  EXPECT_EQ(SelectedFiles("\0\0"s, true, true), std::vector<std::string>{});
  // The dialog's offset of the first name tells a single long path from a list.
  EXPECT_EQ(SelectedFiles("C:\\My Data\\a b.txt\0"s, true, false, 11),
            std::vector<std::string>{"C:\\My Data\\a b.txt"});
  EXPECT_EQ(SelectedFiles("C:\\Data\0a.txt\0b.txt\0\0"s, true, true, 8),
            (std::vector<std::string>{"C:\\Data\\a.txt", "C:\\Data\\b.txt"}));
  EXPECT_EQ(SelectedFiles("C:\\DATA A.TXT B.TXT\0"s, true, false, 8),
            (std::vector<std::string>{"C:\\DATA\\A.TXT", "C:\\DATA\\B.TXT"}));
  EXPECT_EQ(SelectedFiles("C:\\My Data\\a b.txt\0"s, false, true),
            std::vector<std::string>{"C:\\My Data\\a b.txt"});
}

TEST(HelpTopic, IntegerTextsAreContextNumbers) {
  const struct {
    const char* topic;
    std::uint32_t command, data;
    std::string file;
  } rows[] = {
      {"1001", 0xF, 1001, "h.chm"},
      {"0x3E9", 0xF, 1001, "h.chm"},
      {" $3e9", 0xF, 1001, "h.chm"},
      {"intro.htm", 0, 0, "h.chm::\\intro.htm"},
      {"html/start.htm", 0, 0, "h.chm::\\html/start.htm"},
      {"1001 ", 0, 0, "h.chm::\\1001 "},
      {"", 0, 0, "h.chm::\\"},
  };
  for (const auto& row : rows) {
    const HelpTopicCall call = HelpTopic("h.chm", row.topic);
    EXPECT_EQ(call.command, row.command) << row.topic;
    EXPECT_EQ(call.data, row.data) << row.topic;
    EXPECT_EQ(call.file, row.file) << row.topic;
  }
}

}  // namespace
