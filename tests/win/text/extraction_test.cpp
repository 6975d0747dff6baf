#include <gtest/gtest.h>

#include <string>

#include "cases.h"
#include "fixture.h"

class ExtractionActions : public PluginTest {};

// "Привет" as code page 1251 bytes; under 1252 the same bytes are accented letters. Either
// way they lie above 127 and are never Latin letters.
const std::string kPrivet = "\xCF\xF0\xE8\xE2\xE5\xF2";

TEST_F(ExtractionActions, Filters) {
  RunCases(host, {
                     {"kxExtractChars", {"a1b2c3", "abc"}, "abc"},
                     {"kxExtractChars", {"a1b2c3", "a"}, "a"},
                     {"kxExtractChars", {"a1b2c3", ""}, ""},
                     {"kxExtractChars", {"aAbB", "ab"}, "ab"},
                     {"kxExtractChars", {"   ", "  "}, ""},
                     {"kxExtractChars", {" a ", " a"}, " a "},
                     {"kxExtractAlphas", {kPrivet + ", World 2!"}, "World"},
                     {"kxExtractAlphas", {"\t \t"}, ""},
                     {"kxExtractAlphaNum", {kPrivet + ", World 2!"}, "World2"},
                     {"kxExtractNumber", {"-12.5 kg"}, "125"},
                     {"kxExtractNumber", {"1 234,5"}, "12345"},
                     {"kxExtractNumber", {"none"}, ""},
                     // A blank text gives nothing even when its blanks are allowed; any other
                     // text is filtered untrimmed.
                     {"kxExtractChars", {"\t\r\n", "\t"}, ""},
                     {"kxExtractChars", {"a\tb", "\t"}, "\t"},
                     {"kxExtractChars", {"abcabc", "cc"}, "cc"},
                     // The neighbours of A-Z, a-z and 0-9 stay out.
                     {"kxExtractAlphas", {"@aZ[`z{"}, "aZz"},
                     {"kxExtractNumber", {"/09:"}, "09"},
                     {"kxExtractAlphaNum", {"/0a:Z@"}, "0aZ"},
                     {"kxExtractNumber", {""}, ""},
                 });
}

// Bytes above 127 are characters of their own in single-byte code pages; in a double-byte
// page they open characters that take the next byte along.
TEST_F(ExtractionActions, FiltersTakeEveryByteAsACharacterInSingleBytePages) {
  CPINFO info{};
  if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 1) GTEST_SKIP() << "double-byte page";
  RunCases(host, {
                     {"kxExtractChars", {kPrivet + "x", "\xF0x"}, "\xF0x"},
                     {"kxExtractAlphaNum", {"\xE9t\xE9 2024"}, "t2024"},
                 });
}

TEST_F(ExtractionActions, NumberToRoman) {
  RunCases(host, {
                     {"kxNumberToRoman", {"1994"}, "MCMXCIV"},
                     {"kxNumberToRoman", {"3999"}, "MMMCMXCIX"},
                     {"kxNumberToRoman", {"4000"}, "MMMM"},
                     {"kxNumberToRoman", {"0"}, ""},
                     {"kxNumberToRoman", {"-5"}, ""},
                     {"kxNumberToRoman", {"  14"}, "XIV"},
                     {"kxNumberToRoman", {"$10"}, "XVI"},
                     {"kxNumberToRoman", {"1"}, "I"},
                     {"kxNumberToRoman", {"4"}, "IV"},
                     {"kxNumberToRoman", {"9"}, "IX"},
                     {"kxNumberToRoman", {"40"}, "XL"},
                     {"kxNumberToRoman", {"49"}, "XLIX"},
                     {"kxNumberToRoman", {"90"}, "XC"},
                     {"kxNumberToRoman", {"400"}, "CD"},
                     {"kxNumberToRoman", {"444"}, "CDXLIV"},
                     {"kxNumberToRoman", {"900"}, "CM"},
                     {"kxNumberToRoman", {"3888"}, "MMMDCCCLXXXVIII"},
                     {"kxNumberToRoman", {"5009"}, "MMMMMIX"},
                     {"kxNumberToRoman", {"+7"}, "VII"},
                     {"kxNumberToRoman", {"0x1F"}, "XXXI"},
                     {"kxNumberToRoman", {"$FFFFFFFF"}, ""},
                     {"kxNumberToRoman", {"-2147483648"}, ""},
                 });
}

TEST_F(ExtractionActions, NumberToRomanRejectsNonIntegers) {
  for (const char* number : {"12a", "", "12 ", "1.5", "\t12", "2147483648", "$", "0x", "- 5", "+",
                             " ", "XII", "$100000000"}) {
    host.SetVar("LastError", "");
    host.SetVar("Result", "");
    host.ClearLogs();
    EXPECT_FALSE(host.Exec("kxNumberToRoman", {number, "[Result]"})) << number;
    EXPECT_EQ(Result(), "False") << number;
    EXPECT_EQ(LastError(), "Invalid \"kxNumberToRoman\" action arguments") << number;
    // LastError is written before the result variable.
    ASSERT_EQ(host.setCalls.size(), 2u) << number;
    EXPECT_EQ(host.setCalls[0].name, "LastError") << number;
    EXPECT_EQ(host.setCalls[1].name, "[Result]") << number;
  }
}

// With a blank result variable the failure still reaches LastError and the host.
TEST_F(ExtractionActions, NumberToRomanFailsIntoABlankResultVariable) {
  for (const char* blank : {"", "  "}) {
    host.ClearLogs();
    EXPECT_FALSE(host.Exec("kxNumberToRoman", {"x", blank})) << "[" << blank << "]";
    ASSERT_EQ(host.setCalls.size(), 1u) << "[" << blank << "]";
    EXPECT_EQ(host.setCalls[0].name, "LastError");
    EXPECT_EQ(host.setCalls[0].value, "Invalid \"kxNumberToRoman\" action arguments");
  }
}

TEST_F(ExtractionActions, RomanToNumber) {
  RunCases(host,
           {
               {"kxRomanToNumber", {"MCMXCIV"}, "1994"}, {"kxRomanToNumber", {"mcmxciv"}, "1994"},
               {"kxRomanToNumber", {"IIII"}, "4"},       {"kxRomanToNumber", {"IM"}, "999"},
               {"kxRomanToNumber", {"VX"}, "5"},         {"kxRomanToNumber", {"-XII"}, "-12"},
               {"kxRomanToNumber", {"X I"}, "0"},        {"kxRomanToNumber", {" XII"}, "0"},
               {"kxRomanToNumber", {""}, "0"},           {"kxRomanToNumber", {"-"}, "0"},
               {"kxRomanToNumber", {"MMMM"}, "4000"},    {"kxRomanToNumber", {"IV"}, "4"},
               {"kxRomanToNumber", {"iV"}, "4"},         {"kxRomanToNumber", {"XLIX"}, "49"},
               {"kxRomanToNumber", {"IL"}, "49"},        {"kxRomanToNumber", {"MDCLXVI"}, "1666"},
               {"kxRomanToNumber", {"IIX"}, "10"},       {"kxRomanToNumber", {"XII "}, "0"},
               {"kxRomanToNumber", {"--X"}, "0"},        {"kxRomanToNumber", {"X-"}, "0"},
               {"kxRomanToNumber", {"-mcm"}, "-1900"},   {"kxRomanToNumber", {"XA"}, "0"},
           });
  // Past the 32-bit range the sum stays exact.
  ASSERT_TRUE(host.Exec("kxRomanToNumber", {std::string(3000000, 'M'), "[Result]"}));
  EXPECT_EQ(Result(), "3000000000");
}

TEST_F(ExtractionActions, RomanRoundTrip) {
  for (int n = 1; n <= 10000; ++n) {
    ASSERT_TRUE(host.Exec("kxNumberToRoman", {std::to_string(n), "[Roman]"})) << n;
    ASSERT_TRUE(host.Exec("kxRomanToNumber", {host.Value("Roman"), "[Result]"})) << n;
    ASSERT_EQ(Result(), std::to_string(n)) << host.Value("Roman");
  }
}
