#include "pure/string_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A made-up double-byte page in the manner of Shift-JIS: 0x81 to 0x9F open a character, and a
// second byte may be any byte, "\" (0x5C) and "'" included.
LeadBytes ShiftJisLike() {
  LeadBytes lead{};
  for (int b = 0x81; b <= 0x9F; ++b) lead[b] = true;
  return lead;
}

// "\x95\x5C" stands for one double-byte character whose second byte is "\".
const std::string kKanji = "\x95\x5C";
const std::string kKanjiQuote = "\x95'";

}  // namespace

TEST(CopyText, Rules) {
  struct Row {
    const char* text;
    std::int64_t start, count;
    const char* expected;
  } rows[] = {
      {"Hello", 1, 2, "He"},
      {"Hello", 2, 3, "ell"},
      {"Hello", 0, 2, "He"},
      {"Hello", -5, 2, "He"},
      {"Hello", 5, 1, "o"},
      {"Hello", 6, 1, ""},
      {"Hello", 1, -1, ""},
      {"Hello", 2, 99, "ello"},
      {"Hello", 1, 0, ""},
      {"", 1, 5, ""},
      {"Hello", -2147483647, 2147483647, "Hello"},
      {"Hello", 2147483648, 1, ""},
  };
  for (const auto& row : rows)
    EXPECT_EQ(CopyText(row.text, row.start, row.count), row.expected)
        << row.text << " " << row.start << " " << row.count;
}

TEST(QuoteText, SingleByte) {
  struct Row {
    const char *text, *quote, *expected;
  } rows[] = {
      {"it's", "'", "'it''s'"}, {"it's", "''", "it's"}, {"it's", "", "it's"},
      {"", "\"", "\"\""},       {"''", "'", "''''''"},  {"a\"b", "\"", "\"a\"\"b\""},
  };
  for (const auto& row : rows)
    EXPECT_EQ(QuoteText(row.text, row.quote, kNoLeadBytes), row.expected)
        << "[" << row.text << "] quote [" << row.quote << "]";
}

TEST(DequoteText, SingleByte) {
  struct Row {
    const char *text, *quote, *expected;
  } rows[] = {
      {"'it''s'", "'", "it's"},
      {"'abc'def", "'", "abc"},
      {"'abc", "'", "'abc"},
      {"''", "'", ""},
      {"abc'", "'", "abc'"},
      {"'", "'", ""},
      {"''x", "'", "''x"},
      {"'a''", "'", "a'"},
      {"'abc'", "''", "'abc'"},
      {"'abc'", "", "'abc'"},
      {"", "'", ""},
      {"'a'b'", "'", "a"},
      {"'''a'", "'", "'a"},
      {"x'a'", "'", "x'a'"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(DequoteText(row.text, row.quote, kNoLeadBytes), row.expected)
        << "[" << row.text << "] quote [" << row.quote << "]";
}

TEST(QuoteText, SecondByteIsNeverTheQuote) {
  const LeadBytes lead = ShiftJisLike();
  EXPECT_EQ(QuoteText(kKanji, "\\", lead), "\\" + kKanji + "\\");
  EXPECT_EQ(QuoteText(kKanjiQuote + "'", "'", lead), "'" + kKanjiQuote + "'''");
  // A lead byte at the very end has no second byte: it is a character of its own.
  EXPECT_EQ(QuoteText("a\x95", "'", lead), "'a\x95'");
}

TEST(DequoteText, SecondByteIsNeverTheQuote) {
  const LeadBytes lead = ShiftJisLike();
  for (const std::string& text :
       {kKanji, kKanjiQuote, "a" + kKanjiQuote + "''b", kKanjiQuote + kKanji, std::string()}) {
    EXPECT_EQ(DequoteText(QuoteText(text, "'", lead), "'", lead), text) << text;
    EXPECT_EQ(DequoteText(QuoteText(text, "\\", lead), "\\", lead), text) << text;
  }
  // Ending on a second byte that equals the quote is not being framed by quotes.
  EXPECT_EQ(DequoteText("'" + kKanjiQuote, "'", lead), "'" + kKanjiQuote);
}

TEST(ReverseText, KeepsDoubleByteCharactersWhole) {
  const LeadBytes lead = ShiftJisLike();
  struct Row {
    std::string text, expected;
    const LeadBytes& lead;
  } rows[] = {
      {"abc", "cba", kNoLeadBytes},
      {"", "", kNoLeadBytes},
      {"a" + kKanji + "b", "b" + kKanji + "a", lead},
      {kKanji + kKanjiQuote, kKanjiQuote + kKanji, lead},
      {"a" + kKanji + "b",
       "b\x5C\x95"
       "a",
       kNoLeadBytes},
      {"ab\x95",
       "\x95"
       "ba",
       lead},
  };
  for (const auto& row : rows) EXPECT_EQ(ReverseText(row.text, row.lead), row.expected) << row.text;
}

TEST(IsTrailByteAt, FollowsCharactersFromTheStart) {
  const LeadBytes lead = ShiftJisLike();
  const std::string text = "a" + kKanji + kKanji;  // a 95 5C 95 5C
  EXPECT_FALSE(IsTrailByteAt(text, 0, lead));
  EXPECT_FALSE(IsTrailByteAt(text, 1, lead));
  EXPECT_TRUE(IsTrailByteAt(text, 2, lead));
  EXPECT_FALSE(IsTrailByteAt(text, 3, lead));
  EXPECT_TRUE(IsTrailByteAt(text, 4, lead));
  EXPECT_FALSE(IsTrailByteAt(text, 4, kNoLeadBytes));
}

TEST(RepeatText, CountsAndBound) {
  struct Row {
    const char* text;
    std::int64_t count;
    std::uint64_t bound;
    std::optional<std::string> expected;
  } rows[] = {
      {"ab", 3, 100, "ababab"},
      {"ab", 0, 100, ""},
      {"ab", -2, 100, ""},
      {"", 2147483647, 100, ""},
      {"ab", 51, 100, std::nullopt},
      {"abc", 2147483647, 1ull << 28, std::nullopt},
      {"x", 7, 7, "xxxxxxx"},
      {"x", 8, 7, std::nullopt},
      // Odd counts exercise the tail copied after the doublings.
      {"abc", 13, 1000, "abcabcabcabcabcabcabcabcabcabcabcabcabc"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(RepeatText(row.text, row.count, row.bound), row.expected)
        << row.text << " x" << row.count << " bound " << row.bound;
  std::string fifty;
  for (int i = 0; i < 50; ++i) fifty += "ab";
  EXPECT_EQ(RepeatText("ab", 50, 100), fifty);
}

TEST(AppendPrepend, OnlyWhenMissing) {
  struct Row {
    const char *text, *addition, *appended, *prepended;
  } rows[] = {
      {"C:\\dir", "\\", "C:\\dir\\", "\\C:\\dir"},
      {"C:\\dir\\", "\\", "C:\\dir\\", "\\C:\\dir\\"},
      {"a", "abc", "aabc", "abca"},
      {"name", "pre", "namepre", "prename"},
      {"prename", "pre", "prenamepre", "prename"},
      {"abc", "", "abc", "abc"},
      {"", "x", "x", "x"},
      {"abc", "abc", "abc", "abc"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(AppendUnlessEnds(row.text, row.addition), row.appended)
        << row.text << " + " << row.addition;
    EXPECT_EQ(PrependUnlessStarts(row.text, row.addition), row.prepended)
        << row.addition << " + " << row.text;
  }
}

// kxIfAppendStr "C:\表" "\" added nothing: the last byte of 表 is "\".
TEST(AppendPrepend, CompareWholeDoubleByteCharacters) {
  const LeadBytes lead = ShiftJisLike();
  struct Row {
    std::string text, addition, appended, prepended;
  } rows[] = {
      {"C:\\" + kKanji, "\\", "C:\\" + kKanji + "\\", "\\C:\\" + kKanji},
      {kKanji + "\\", "\\", kKanji + "\\", "\\" + kKanji + "\\"},
      {kKanji, kKanji, kKanji, kKanji},
      {kKanji + "x", "\x95", kKanji + "x\x95", "\x95" + kKanji + "x"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(AppendUnlessEnds(row.text, row.addition, lead), row.appended)
        << ::testing::PrintToString(row.text) << " + " << row.addition;
    EXPECT_EQ(PrependUnlessStarts(row.text, row.addition, lead), row.prepended)
        << row.addition << " + " << ::testing::PrintToString(row.text);
  }
}

TEST(WithTrailingBackslash, OneOfItsOwn) {
  EXPECT_EQ(WithTrailingBackslash("C:\\Temp", kNoLeadBytes), "C:\\Temp\\");
  EXPECT_EQ(WithTrailingBackslash("C:\\", kNoLeadBytes), "C:\\");
}

TEST(FilterChars, Sets) {
  // "Привет" in code page 1251: letters above 127 are never Latin letters.
  const std::string mixed = "\xCF\xF0\xE8\xE2\xE5\xF2, World 2!";
  const auto allowed = [](std::string_view text) { return AllowedChars(text, kNoLeadBytes); };
  struct Row {
    std::string text;
    CharSet keep;
    const char* expected;
  } rows[] = {
      {mixed, {LatinLetterBytes(), {}}, "World"},
      {mixed, {LatinLetterAndDigitBytes(), {}}, "World2"},
      {"-12.5 kg", {DigitBytes(), {}}, "125"},
      {"a1b2c3", allowed("abc"), "abc"},
      {"a1b2c3", allowed("a"), "a"},
      {"a1b2c3", allowed(""), ""},
      {"aAbB", allowed("ab"), "ab"},
      {"   ", allowed("  "), ""},
      {" a ", allowed(" a"), " a "},
      {"\t\x01 ", allowed("\t\x01 "), ""},
      {"\xE9t\xE9", allowed("\xE9"), "\xE9\xE9"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(FilterChars(row.text, row.keep, kNoLeadBytes), row.expected) << row.text;
}

// The second byte of a double-byte character ("A", "5", "\") was kept as if it were one.
TEST(FilterChars, NeverKeepsTheSecondByteOfADoubleByteCharacter) {
  const LeadBytes lead = ShiftJisLike();
  const std::string kanjiA = "\x83\x41", kanji5 = "\x82\x35";
  struct Row {
    std::string text;
    CharSet keep;
    std::string expected;
  } rows[] = {
      {kanjiA + "b" + kanji5, {LatinLetterBytes(), {}}, "b"},
      {kanjiA + "7" + kanji5, {DigitBytes(), {}}, "7"},
      {kanjiA + "x9" + kanji5, {LatinLetterAndDigitBytes(), {}}, "x9"},
      {"a" + kKanji + "\\", AllowedChars("\\", lead), "\\"},
      {"a" + kKanji + "\\" + kKanji, AllowedChars(kKanji + "a", lead), "a" + kKanji + kKanji},
      {"\x95", AllowedChars("\x95", lead), "\x95"},  // a lead byte with nothing after it
  };
  for (const auto& row : rows)
    EXPECT_EQ(FilterChars(row.text, row.keep, lead), row.expected)
        << ::testing::PrintToString(row.text);
}

TEST(IsTrueWord, ExactWordsOnly) {
  EXPECT_TRUE(IsTrueWord("True"));
  EXPECT_TRUE(IsTrueWord("Checked"));
  for (const char* word : {"true", "TRUE", "checked", " True", "1", "", "Yes"})
    EXPECT_FALSE(IsTrueWord(word)) << word;
}
