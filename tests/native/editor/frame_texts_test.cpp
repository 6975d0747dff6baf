#include "pure/frame_texts.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

TEST(FrameTexts, ActionEditorLineBreaks) {
  EXPECT_EQ(ScriptToEditorText("a[#13][#10]b"), "a\r\nb");
  EXPECT_EQ(ScriptToEditorText("[#10][#13]"), "\n\r");
  EXPECT_EQ(ScriptToEditorText("[#1310]"), "[#1310]");
  EXPECT_EQ(EditorTextToScript("a\r\nb\r\n"), "a[#13][#10]b[#13][#10]");
  // Lone CR or LF are not a line break of the editor's answer.
  EXPECT_EQ(EditorTextToScript("a\nb\rc"), "a\nb\rc");
}

TEST(FrameTexts, ColorAnswers) {
  const struct {
    const char* answer;
    std::optional<std::uint32_t> color;
  } rows[] = {
      {"clRed", 0x0000FF},       {"CLRED", 0x0000FF},
      {" clBlue ", 0xFF0000},    {"255", 0x0000FF},
      {"$FF0000", 0xFF0000},     {"0x00FF00", 0x00FF00},
      {"clBtnFace", 0x8000000F}, {"-2147483633", 0x8000000F},
      {"16777215", 0xFFFFFF},    {"clNoSuchColor", std::nullopt},
      {"255,0,0", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(ParseColorAnswer(row.answer), row.color) << row.answer;
}

TEST(FrameTexts, AppendedPaths) {
  EXPECT_EQ(AppendPath("", "D:\\b.txt"), "D:\\b.txt");
  EXPECT_EQ(AppendPath("C:\\a.txt", "D:\\b.txt"), "C:\\a.txt|D:\\b.txt");
}
