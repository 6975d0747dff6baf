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
                     {"kxExtractChars", {kPrivet + "x", "\xF0x"}, "\xF0x"},
                     {"kxExtractAlphas", {kPrivet + ", World 2!"}, "World"},
                     {"kxExtractAlphas", {"\t \t"}, ""},
                     {"kxExtractAlphaNum", {kPrivet + ", World 2!"}, "World2"},
                     {"kxExtractAlphaNum", {"\xE9t\xE9 2024"}, "t2024"},
                     {"kxExtractNumber", {"-12.5 kg"}, "125"},
                     {"kxExtractNumber", {"1 234,5"}, "12345"},
                     {"kxExtractNumber", {"none"}, ""},
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
                 });
}

TEST_F(ExtractionActions, NumberToRomanRejectsNonIntegers) {
  for (const char* number : {"12a", "", "12 ", "1.5", "\t12", "2147483648"}) {
    host.SetVar("LastError", "");
    host.SetVar("Result", "");
    EXPECT_FALSE(host.Exec("kxNumberToRoman", {number, "[Result]"})) << number;
    EXPECT_EQ(Result(), "False") << number;
    EXPECT_EQ(LastError(), "Invalid \"kxNumberToRoman\" action arguments") << number;
  }
}

TEST_F(ExtractionActions, RomanToNumber) {
  RunCases(host, {
                     {"kxRomanToNumber", {"MCMXCIV"}, "1994"},
                     {"kxRomanToNumber", {"mcmxciv"}, "1994"},
                     {"kxRomanToNumber", {"IIII"}, "4"},
                     {"kxRomanToNumber", {"IM"}, "999"},
                     {"kxRomanToNumber", {"VX"}, "5"},
                     {"kxRomanToNumber", {"-XII"}, "-12"},
                     {"kxRomanToNumber", {"X I"}, "0"},
                     {"kxRomanToNumber", {" XII"}, "0"},
                     {"kxRomanToNumber", {""}, "0"},
                     {"kxRomanToNumber", {"-"}, "0"},
                     {"kxRomanToNumber", {"MMMM"}, "4000"},
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
