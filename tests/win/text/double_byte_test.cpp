// Code page 932 (Shift-JIS), where the second byte of a character can be "\" or "@". These
// run only when Wine starts in Japanese: LC_ALL=ja_JP.UTF-8 tools/wine-run win_text.exe
#include <gtest/gtest.h>

#include <string>

#include "cases.h"
#include "fixture.h"

class DoubleByteActions : public PluginTest {
 protected:
  void SetUp() override {
    if (GetACP() != 932) GTEST_SKIP() << "needs code page 932 (LC_ALL=ja_JP.UTF-8)";
  }
};

namespace {
const std::string kHyo = "\x95\x5C";  // 表, second byte "\"
const std::string kSo = "\x83\x5C";   // ソ, second byte "\"
const std::string kA = "\x83\x40";    // ァ, second byte "@"
}  // namespace

TEST_F(DoubleByteActions, ReverseKeepsCharactersWhole) {
  RunCases(host, {
                     {"kxReverseStr", {"a" + kHyo + "b"}, ("b" + kHyo + "a").c_str()},
                     {"kxReverseStr", {kHyo + kSo + kA}, (kA + kSo + kHyo).c_str()},
                     {"kxReverseStr", {kHyo + "\\"}, ("\\" + kHyo).c_str()},
                 });
}

TEST_F(DoubleByteActions, QuotingLeavesSecondBytesAlone) {
  RunCases(host, {
                     {"kxQuotedStr", {kHyo, "\\"}, ("\\" + kHyo + "\\").c_str()},
                     {"kxQuotedStr", {kHyo + "\\x", "\\"}, ("\\" + kHyo + "\\\\x\\").c_str()},
                     {"kxQuotedStr", {kA + "@", "@"}, ("@" + kA + "@@@").c_str()},
                     {"kxDequotedStr", {"\\" + kHyo + "\\", "\\"}, kHyo.c_str()},
                     {"kxDequotedStr", {"\\" + kHyo + "\\\\x\\", "\\"}, (kHyo + "\\x").c_str()},
                     {"kxDequotedStr", {"@" + kA + "@@@", "@"}, (kA + "@").c_str()},
                     // Ends on a second byte "\": not framed, so left as it is.
                     {"kxDequotedStr", {"\\" + kHyo, "\\"}, ("\\" + kHyo).c_str()},
                 });
}

TEST_F(DoubleByteActions, EndsStrNeverStartsOnASecondByte) {
  RunCases(host, {
                     {"kxEndsStr", {kHyo, "\\"}, "False"},
                     {"kxEndsStr", {"a" + kSo, "\\"}, "False"},
                     {"kxEndsStr", {"a" + kHyo, kHyo}, "True"},
                     {"kxEndsStr", {kHyo + "\\", "\\"}, "True"},
                     {"kxEndsStr", {kHyo + kA, "@"}, "False"},
                     {"kxStartsStr", {kHyo + "a", kHyo}, "True"},
                 });
}

// The filters kept the second byte of a character when it was a letter or digit: アイウ
// (0x83 0x41, 0x83 0x43, 0x83 0x45) gave "ACE".
TEST_F(DoubleByteActions, FiltersNeverKeepASecondByte) {
  const std::string aiu = "\x83\x41\x83\x43\x83\x45", two = "\x82\x51";  // アイウ, ２ (0x82 0x51)
  RunCases(host, {
                     {"kxExtractAlphas", {aiu}, ""},
                     {"kxExtractAlphas", {"x" + aiu + "y"}, "xy"},
                     {"kxExtractAlphaNum", {aiu + "1" + two}, "1"},
                     {"kxExtractChars", {"a" + kHyo + "\\", "\\"}, "\\"},
                     {"kxExtractChars", {"a" + kHyo + "\\" + kHyo, kHyo}, (kHyo + kHyo).c_str()},
                 });
}

// kxIfAppendStr "C:\表" "\" added nothing: the second byte of 表 is "\".
TEST_F(DoubleByteActions, IfAppendAndPrependCompareWholeCharacters) {
  RunCases(host,
           {
               {"kxIfAppendStr", {"C:\\" + kHyo, "\\"}, ("C:\\" + kHyo + "\\").c_str()},
               {"kxIfAppendStr", {"C:\\" + kHyo + "\\", "\\"}, ("C:\\" + kHyo + "\\").c_str()},
               {"kxIfAppendStr", {"a" + kA, "@"}, ("a" + kA + "@").c_str()},
               {"kxIfPrependStr", {kHyo + "x", "\x95"}, ("\x95" + kHyo + "x").c_str()},
               {"kxIfPrependStr", {kHyo + "x", kHyo}, (kHyo + "x").c_str()},
           });
}

// A Japanese system gets the English edition, whose texts its code page can show, with the
// author's double-byte text inside them as it was given.
TEST_F(DoubleByteActions, TheEditionIsEnglish) {
  EXPECT_EQ(host.Catalogue().at(0).name, "Strings");
  EXPECT_EQ(host.FindEntry("kxFileSize")->hint, "Get the size of a file (in bytes).");
  const std::string path = "C:\\" + kHyo + kSo + "\\" + kA + ".txt";
  EXPECT_FALSE(host.Exec("kxFileSize", {path, "[Result]"}));
  EXPECT_EQ(LastError(), "File \"" + path + "\" does not exist.");
}
