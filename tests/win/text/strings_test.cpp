#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cases.h"
#include "fixture.h"
#include "pure/random.h"

class StringActions : public PluginTest {};

TEST_F(StringActions, StartsAndEnds) {
  RunCases(host, {
                     {"kxStartsStr", {"abc", "ab"}, "True"},
                     {"kxStartsStr", {"abc", "AB"}, "False"},
                     {"kxStartsStr", {"abc", ""}, "True"},
                     {"kxStartsStr", {"", ""}, "True"},
                     {"kxStartsStr", {"abc", "abcd"}, "False"},
                     {"kxStartsStr", {"abc", "abc"}, "True"},
                     {"kxStartsStr", {"", "a"}, "False"},
                     {"kxStartsStr", {"abc", "b"}, "False"},
                     {"kxEndsStr", {"abc", "bc"}, "True"},
                     {"kxEndsStr", {"abc", ""}, "False"},
                     {"kxEndsStr", {"", ""}, "False"},
                     {"kxEndsStr", {"abc", "BC"}, "False"},
                     {"kxEndsStr", {"abc", "abc"}, "True"},
                     {"kxEndsStr", {"abc", "zabc"}, "False"},
                     {"kxEndsStr", {"abc", "b"}, "False"},
                     {"kxEndsStr", {"a", "a"}, "True"},
                 });
}

// "Привет" in 1251, "Ïðèâåò" in 1252: case matters beyond ASCII too. Code page 932 reads
// these bytes as double-byte characters, so the rows need a single-byte page.
TEST_F(StringActions, StartsAndEndsCompareLettersAboveAscii) {
  if (!RussianLocale() && !UsLocale()) GTEST_SKIP() << "needs code page 1251 or 1252";
  const std::string privet = "\xCF\xF0\xE8\xE2\xE5\xF2";
  RunCases(host, {
                     {"kxStartsStr", {privet, "\xCF\xF0"}, "True"},
                     {"kxStartsStr", {privet, "\xEF\xF0"}, "False"},
                     {"kxEndsStr", {privet, "\xE5\xF2"}, "True"},
                     {"kxEndsStr", {privet, "\xC5\xD2"}, "False"},
                 });
}

TEST_F(StringActions, QuotedAndDequoted) {
  RunCases(host, {
                     {"kxQuotedStr", {"it's", "'"}, "'it''s'"},
                     {"kxQuotedStr", {"it's", "''"}, "it's"},
                     {"kxQuotedStr", {"it's", ""}, "it's"},
                     {"kxQuotedStr", {"", "\""}, "\"\""},
                     {"kxDequotedStr", {"'it''s'", "'"}, "it's"},
                     {"kxDequotedStr", {"'abc'def", "'"}, "abc"},
                     {"kxDequotedStr", {"'abc", "'"}, "'abc"},
                     {"kxDequotedStr", {"''", "'"}, ""},
                     {"kxDequotedStr", {"abc'", "'"}, "abc'"},
                     {"kxDequotedStr", {"''x", "'"}, "''x"},
                     {"kxDequotedStr", {"'abc'", "''"}, "'abc'"},
                     {"kxDequotedStr", {"\"a\"\"b\"", "\""}, "a\"b"},
                     {"kxQuotedStr", {"'", "'"}, "''''"},
                     {"kxQuotedStr", {"a\"b", "\""}, "\"a\"\"b\""},
                     {"kxQuotedStr", {"abc", "ab"}, "abc"},
                     // A lone quote both begins and ends the text.
                     {"kxDequotedStr", {"'", "'"}, ""},
                     // No closing quote, but framed: the doubled quote still counts as one.
                     {"kxDequotedStr", {"'ab''", "'"}, "ab'"},
                     {"kxDequotedStr", {"'''", "'"}, "'"},
                     {"kxDequotedStr", {"'a'b'", "'"}, "a"},
                     {"kxDequotedStr", {"x'a'", "'"}, "x'a'"},
                     {"kxDequotedStr", {"\"abc\"", "'"}, "\"abc\""},
                     {"kxDequotedStr", {"'abc'", ""}, "'abc'"},
                     {"kxDequotedStr", {"", "'"}, ""},
                 });
}

TEST_F(StringActions, LeftRightMidWithLenientCounts) {
  RunCases(host, {
                     {"kxLeftStr", {"Hello", "2"}, "He"},
                     {"kxLeftStr", {"Hello", "x"}, "Hello"},
                     {"kxLeftStr", {"Hello", ""}, "Hello"},
                     {"kxLeftStr", {"Hello", "-1"}, ""},
                     {"kxLeftStr", {"Hello", "0"}, ""},
                     {"kxLeftStr", {"Hello", "99"}, "Hello"},
                     {"kxLeftStr", {"Hello", " $3"}, "Hel"},
                     {"kxRightStr", {"Hello", "2"}, "lo"},
                     {"kxRightStr", {"Hello", "0"}, ""},
                     {"kxRightStr", {"Hello", "99"}, "Hello"},
                     {"kxRightStr", {"Hello", "x"}, "Hello"},
                     {"kxRightStr", {"Hello", "-1"}, ""},
                     {"kxRightStr", {"Hello", "-2147483648"}, ""},
                     {"kxMidStr", {"Hello", "2", "3"}, "ell"},
                     {"kxMidStr", {"Hello", "0", "2"}, "He"},
                     {"kxMidStr", {"Hello", "9", "1"}, ""},
                     {"kxMidStr", {"Hello", "2", "x"}, "ello"},
                     {"kxMidStr", {"Hello", "x", "x"}, "Hello"},
                     {"kxMidStr", {"Hello", "-3", "2"}, "He"},
                     {"kxMidStr", {"Hello", "5", "99"}, "o"},
                     {"kxMidStr", {"", "1", "1"}, ""},
                     {"kxLeftStr", {"Hello", "5"}, "Hello"},
                     {"kxLeftStr", {"Hello", "2147483647"}, "Hello"},
                     // A trailing blank makes the count no integer: the whole text.
                     {"kxLeftStr", {"Hello", "2 "}, "Hello"},
                     {"kxRightStr", {"Hello", "5"}, "Hello"},
                     {"kxRightStr", {"Hello", "4"}, "ello"},
                     {"kxRightStr", {"Hello", "6"}, "Hello"},
                     {"kxRightStr", {"Hello", "$2"}, "lo"},
                     {"kxRightStr", {"", "2"}, ""},
                     {"kxMidStr", {"Hello", "5", "0"}, ""},
                     {"kxMidStr", {"Hello", "6", "1"}, ""},
                     {"kxMidStr", {"Hello", "1", "-1"}, ""},
                     {"kxMidStr", {"Hello", "2", ""}, "ello"},
                     {"kxMidStr", {"Hello", "-2147483648", "3"}, "Hel"},
                 });
}

TEST_F(StringActions, DupeReverseTrim) {
  RunCases(host,
           {
               {"kxDupeStr", {"ab", "3"}, "ababab"},
               {"kxDupeStr", {"ab", "x"}, ""},
               {"kxDupeStr", {"ab", "-2"}, ""},
               {"kxDupeStr", {"", "2147483647"}, ""},
               {"kxReverseStr", {"Hello"}, "olleH"},
               {"kxReverseStr", {""}, ""},
               // Single-byte characters in 1251, 1252 and 932 alike (half-width katakana in 932).
               {"kxReverseStr", {"\xC0\xC1\xC2"}, "\xC2\xC1\xC0"},
               {"kxTrimStr", {"\t  a b \r\n"}, "a b"},
               {"kxTrimStr", {"\xA0 a \xA0"}, "\xA0 a \xA0"},
               {"kxTrimStr", {" \t "}, ""},
               {"kxTrimLeftStr", {"\t a \t"}, "a \t"},
               {"kxTrimRightStr", {"\t a \t"}, "\t a"},
               {"kxDupeStr", {"ab", "1"}, "ab"},
               {"kxDupeStr", {"ab", "0"}, ""},
               {"kxDupeStr", {"ab", "$3"}, "ababab"},
               {"kxDupeStr", {"ab", "3 "}, ""},
               // Code 32 is the last one trimmed: "!" (33) and DEL (127) stay.
               {"kxTrimStr", {"\x01\x1F a \x21"}, "a \x21"},
               {"kxTrimStr", {"\x7F a \x7F"}, "\x7F a \x7F"},
               {"kxTrimLeftStr", {"\xA0 a"}, "\xA0 a"},
               {"kxTrimRightStr", {"a \xA0"}, "a \xA0"},
               {"kxTrimLeftStr", {""}, ""},
           });
}

TEST_F(StringActions, IfThenAppendPrepend) {
  RunCases(host, {
                     {"kxIfThenStr", {"True", "yes", "no"}, "yes"},
                     {"kxIfThenStr", {"Checked", "yes", "no"}, "yes"},
                     {"kxIfThenStr", {"true", "yes", "no"}, "no"},
                     {"kxIfThenStr", {"TRUE", "yes", "no"}, "no"},
                     {"kxIfThenStr", {"True ", "yes", "no"}, "no"},
                     {"kxIfThenStr", {"", "yes", "no"}, "no"},
                     {"kxIfThenStr", {"checked", "yes", "no"}, "no"},
                     {"kxIfThenStr", {"False", "yes", "no"}, "no"},
                     {"kxIfThenStr", {"1", "yes", "no"}, "no"},
                     {"kxIfAppendStr", {"C:\\dir", "\\"}, "C:\\dir\\"},
                     {"kxIfAppendStr", {"C:\\dir\\", "\\"}, "C:\\dir\\"},
                     {"kxIfAppendStr", {"a", "abc"}, "aabc"},
                     {"kxIfAppendStr", {"abc", ""}, "abc"},
                     {"kxIfAppendStr", {"", "x"}, "x"},
                     {"kxIfAppendStr", {"abc", "bc"}, "abc"},
                     {"kxIfAppendStr", {"abc", "BC"}, "abcBC"},
                     {"kxIfAppendStr", {"", ""}, ""},
                     {"kxIfPrependStr", {"a", "abc"}, "abca"},
                     {"kxIfPrependStr", {"", "x"}, "x"},
                     {"kxIfPrependStr", {"name", "pre"}, "prename"},
                     {"kxIfPrependStr", {"prename", "pre"}, "prename"},
                     {"kxIfPrependStr", {"Prename", "pre"}, "prePrename"},
                     {"kxIfPrependStr", {"abc", ""}, "abc"},
                 });
}

TEST_F(StringActions, DupeStrRefusesResultsBeyondTheBound) {
  struct Row {
    std::vector<std::string> params;
  } rows[] = {
      {{"ab", "2147483647", "[Result]"}},
      {{"x", "268435457", "[Result]"}},
      {{std::string(1024, 'x'), "262145", "[Result]"}},
  };
  for (const auto& row : rows) {
    host.SetVar("Result", "");
    host.SetVar("LastError", "");
    host.ClearLogs();
    EXPECT_FALSE(host.Exec("kxDupeStr", row.params)) << row.params[1];
    ASSERT_EQ(host.setCalls.size(), 2u) << row.params[1];
    EXPECT_EQ(host.setCalls[0].name, "LastError") << row.params[1];
    EXPECT_EQ(Result(), "False") << row.params[1];
    EXPECT_EQ(LastError(), "The result of \"kxDupeStr\" would exceed 268435456 bytes")
        << row.params[1];
  }
}

TEST_F(StringActions, GuidStrIsBracedUpperCaseAndNew) {
  ASSERT_TRUE(host.Exec("kxGUIDStr", {"[Result]"}));
  const std::string first = Result();
  ASSERT_EQ(first.size(), 38u) << first;
  for (size_t i = 0; i < first.size(); ++i) {
    const char c = first[i];
    if (i == 0)
      EXPECT_EQ(c, '{') << first;
    else if (i == 37)
      EXPECT_EQ(c, '}') << first;
    else if (i == 9 || i == 14 || i == 19 || i == 24)
      EXPECT_EQ(c, '-') << first;
    else
      EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << first;
  }
  ASSERT_TRUE(host.Exec("kxGUIDStr", {"[Result]"}));
  EXPECT_NE(Result(), first);
}

TEST_F(StringActions, RandomFromStrPicksEveryPieceUntrimmed) {
  struct Row {
    const char* values;
    std::set<std::string> pieces;
  } rows[] = {
      {"a|b|c", {"a", "b", "c"}},
      {"a||b", {"a", "", "b"}},
      {" x | y", {" x ", " y"}},
      {"only", {"only"}},
      {"", {""}},
  };
  for (const auto& row : rows) {
    std::set<std::string> seen;
    for (int i = 0; i < 300; ++i) {
      ASSERT_TRUE(host.Exec("kxRandomFromStr", {row.values, "[Result]"})) << row.values;
      seen.insert(Result());
    }
    EXPECT_EQ(seen, row.pieces) << row.values;
  }
}

// Each host below loads the library afresh, as a publication does at every start. A
// generator starting from a fixed state would pick the same sequence both times.
TEST(RandomFromStr, FreshLoadsPickDifferentSequences) {
  const std::string values = "0|1|2|3|4|5|6|7|8|9|a|b|c|d|e|f";
  const auto draw = [&] {
    EXPECT_EQ(GetModuleHandleA(NbHost::DefaultPluginPath().c_str()), nullptr)
        << "the plug-in is still loaded, so this load would not start afresh";
    NbHost host(NbHost::DefaultPluginPath());
    std::string picks;
    for (int i = 0; i < 32; ++i) {
      host.Exec("kxRandomFromStr", {values, "[Result]"});
      picks += host.Value("Result");
    }
    return picks;
  };
  const std::string first = draw(), second = draw();
  PluginRandom unseeded;
  std::string fixedStart;
  for (int i = 0; i < 32; ++i) fixedStart += values[unseeded.Next(16) * 2];
  EXPECT_NE(first, second);
  EXPECT_NE(first, fixedStart);
  EXPECT_NE(second, fixedStart);
}

TEST_F(StringActions, BlankResultVariableDiscardsAndSucceeds) {
  const std::vector<Case> cases = {
      {"kxStartsStr", {"abc", "ab"}, ""},
      {"kxEndsStr", {"abc", "bc"}, ""},
      {"kxQuotedStr", {"a", "'"}, ""},
      {"kxDequotedStr", {"'a'", "'"}, ""},
      {"kxDupeStr", {"ab", "3"}, ""},
      {"kxReverseStr", {"ab"}, ""},
      {"kxLeftStr", {"ab", "1"}, ""},
      {"kxRightStr", {"ab", "1"}, ""},
      {"kxMidStr", {"ab", "1", "1"}, ""},
      {"kxTrimStr", {" a "}, ""},
      {"kxTrimLeftStr", {" a "}, ""},
      {"kxTrimRightStr", {" a "}, ""},
      {"kxGUIDStr", {}, ""},
      {"kxRandomFromStr", {"a|b"}, ""},
      {"kxIfThenStr", {"True", "y", "n"}, ""},
      {"kxIfAppendStr", {"a", "b"}, ""},
      {"kxIfPrependStr", {"a", "b"}, ""},
      {"kxExtractChars", {"abc", "a"}, ""},
      {"kxExtractAlphas", {"a1"}, ""},
      {"kxExtractNumber", {"a1"}, ""},
      {"kxExtractAlphaNum", {"a1"}, ""},
      {"kxNumberToRoman", {"12"}, ""},
      {"kxRomanToNumber", {"XII"}, ""},
  };
  ASSERT_EQ(cases.size(), 23u);
  for (const char* blank : {"", "   "}) {
    for (const auto& c : cases) {
      host.ClearLogs();
      std::vector<std::string> params = c.params;
      params.push_back(blank);
      EXPECT_TRUE(host.Exec(c.action, params)) << Describe(c) << " into [" << blank << "]";
      EXPECT_TRUE(host.setCalls.empty()) << Describe(c) << " into [" << blank << "]";
    }
  }
}
