#include "pure/roman.h"

#include <gtest/gtest.h>

TEST(NumberToRoman, Values) {
  struct Row {
    std::int32_t number;
    const char* expected;
  } rows[] = {
      {1, "I"},          {4, "IV"},
      {9, "IX"},         {14, "XIV"},
      {40, "XL"},        {49, "XLIX"},
      {90, "XC"},        {400, "CD"},
      {444, "CDXLIV"},   {888, "DCCCLXXXVIII"},
      {1994, "MCMXCIV"}, {3999, "MMMCMXCIX"},
      {4000, "MMMM"},    {0, ""},
      {-5, ""},          {-2147483647 - 1, ""},
  };
  for (const auto& row : rows) EXPECT_EQ(NumberToRoman(row.number), row.expected) << row.number;
  const std::string largest = NumberToRoman(2147483647);
  EXPECT_EQ(largest.size(), 2147483u + 7u);  // ...M plus DCXLVII
  EXPECT_EQ(largest.substr(2147483), "DCXLVII");
}

TEST(RomanToNumber, Values) {
  struct Row {
    const char* text;
    std::int64_t expected;
  } rows[] = {
      {"MCMXCIV", 1994}, {"mcmxciv", 1994}, {"IIII", 4}, {"IM", 999},  {"VX", 5},
      {"-XII", -12},     {"X I", 0},        {"", 0},     {"-", 0},     {"MMMM", 4000},
      {" X", 0},         {"X ", 0},         {"--X", 0},  {"XIIV", 15}, {"iV", 4},
  };
  for (const auto& row : rows) EXPECT_EQ(RomanToNumber(row.text), row.expected) << row.text;
}

TEST(Roman, RoundTrip) {
  for (std::int32_t n = 1; n <= 10000; ++n) ASSERT_EQ(RomanToNumber(NumberToRoman(n)), n) << n;
}
