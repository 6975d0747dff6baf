// The date actions through the real exports, under the regional formats Wine takes from
// LC_ALL: M/d/yyyy under C, dd.MM.yyyy under ru_RU.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture.h"

namespace {

class DatesTest : public PluginTest {
 protected:
  // A date as the locale's short date text, written independently of the plug-in.
  static std::string DateText(int y, int m, int d) {
    char text[32];
    if (RussianLocale())
      snprintf(text, sizeof text, "%02d.%02d.%04d", d, m, y);
    else
      snprintf(text, sizeof text, "%d/%d/%04d", m, d, y);
    return text;
  }
  // Array names go without brackets: the plug-in appends the index to the name as passed.
  std::vector<std::string> Week(const std::string& array) const {
    std::vector<std::string> counts;
    for (int i = 0; i < 7; ++i)
      counts.push_back(host.Var(array + std::to_string(i)).value_or("<unset>"));
    return counts;
  }
};

TEST_F(DatesTest, EncodeDateWritesTheLocaleShortDate) {
  ASSERT_TRUE(host.Exec("kxEncodeDate", {"2011", "12", "23", "[Result]"}));
  EXPECT_EQ(Result(), RussianLocale() ? "23.12.2011" : "12/23/2011");
  ASSERT_TRUE(host.Exec("kxEncodeDate", {"1", "1", "1", "[Result]"}));
  EXPECT_EQ(Result(), RussianLocale() ? "01.01.0001" : "1/1/0001");
  ASSERT_TRUE(host.Exec("kxEncodeDate", {" $7DB", "0x2", "+9", "[Result]"}));
  EXPECT_EQ(Result(), DateText(2011, 2, 9));
}

TEST_F(DatesTest, EncodeDateFailures) {
  const std::string invalidDate = "The provide arguments conform an invalid date";
  const std::string invalidArgs = "Invalid \"kxEncodeDate\" action arguments";
  struct Row {
    std::vector<std::string> numbers;
    std::string error;
  } rows[] = {
      {{"2011", "2", "30"}, invalidDate},
      {{"2011", "13", "1"}, invalidDate},
      {{"0", "1", "1"}, invalidDate},
      {{"10000", "1", "1"}, invalidDate},
      {{"x", "1", "1"}, invalidArgs},
      {{"2011", "", "1"}, invalidArgs},
      {{"2011", "1", "1.5"}, invalidArgs},
      {{"2011", "1 ", "1"}, invalidArgs},
      // Cut to 16 bits these would be 1.1.0001 and 2011-01-01: refused instead.
      {{"65537", "1", "1"}, invalidArgs},
      {{"2011", "65537", "1"}, invalidArgs},
      {{"2011", "1", "-65535"}, invalidArgs},
      {{"65535", "1", "1"}, invalidDate},
  };
  for (const Row& r : rows) {
    host.SetVar("LastError", "");
    std::vector<std::string> params = r.numbers;
    params.push_back("[Result]");
    EXPECT_FALSE(host.Exec("kxEncodeDate", params)) << r.numbers[0] << "," << r.numbers[1];
    EXPECT_EQ(Result(), "False") << r.numbers[0] << "," << r.numbers[1] << "," << r.numbers[2];
    EXPECT_EQ(LastError(), r.error) << r.numbers[0] << "," << r.numbers[1] << "," << r.numbers[2];
  }
}

TEST_F(DatesTest, IsValidDateAndTimeAnswerWithoutFailing) {
  struct Row {
    const char* action;
    std::vector<std::string> numbers;
    const char* answer;
  } rows[] = {
      {"kxIsValidDate", {"2000", "2", "29"}, "True"},
      {"kxIsValidDate", {"1900", "2", "29"}, "False"},
      {"kxIsValidDate", {"0", "1", "1"}, "False"},
      {"kxIsValidDate", {"10000", "1", "1"}, "False"},
      {"kxIsValidDate", {"2011", "13", "1"}, "False"},
      {"kxIsValidDate", {"9999", "12", "31"}, "True"},
      {"kxIsValidTime", {"24", "0", "0"}, "True"},
      {"kxIsValidTime", {"24", "0", "1"}, "False"},
      {"kxIsValidTime", {"23", "60", "0"}, "False"},
      {"kxIsValidTime", {"23", "59", "59"}, "True"},
      {"kxIsValidTime", {"0", "0", "0"}, "True"},
      {"kxIsValidTime", {"65535", "0", "0"}, "False"},
  };
  for (const Row& r : rows) {
    host.SetVar("LastError", "untouched");
    std::vector<std::string> params = r.numbers;
    params.push_back("[Result]");
    EXPECT_TRUE(host.Exec(r.action, params)) << r.action << " " << r.numbers[0];
    EXPECT_EQ(Result(), r.answer) << r.action << " " << r.numbers[0] << "," << r.numbers[1] << ","
                                  << r.numbers[2];
    EXPECT_EQ(LastError(), "untouched") << r.action;
  }
}

TEST_F(DatesTest, IsValidDateAndTimeRefuseUnreadableNumbers) {
  struct Row {
    const char* action;
    std::vector<std::string> numbers;
  } rows[] = {
      {"kxIsValidDate", {"x", "1", "1"}},     {"kxIsValidDate", {"2011", "1", ""}},
      {"kxIsValidDate", {"65537", "1", "1"}}, {"kxIsValidTime", {"-1", "0", "0"}},
      {"kxIsValidTime", {"0", "65536", "0"}}, {"kxIsValidTime", {"1", "2", "three"}},
  };
  for (const Row& r : rows) {
    std::vector<std::string> params = r.numbers;
    params.push_back("[Result]");
    EXPECT_FALSE(host.Exec(r.action, params)) << r.action << " " << r.numbers[0];
    EXPECT_EQ(Result(), "False") << r.action << " " << r.numbers[0];
    EXPECT_EQ(LastError(), std::string("Invalid \"") + r.action + "\" action arguments");
  }
}

TEST_F(DatesTest, DaysBetween) {
  struct Row {
    std::string first, second, days;
  } rows[] = {
      {DateText(2012, 1, 1), DateText(2012, 3, 1), "60"},
      {DateText(2012, 3, 1), DateText(2012, 1, 1), "60"},
      {DateText(2011, 1, 1), DateText(2011, 3, 1), "59"},
      {DateText(2011, 12, 23), DateText(2011, 12, 23), "0"},
      {DateText(1, 1, 1), DateText(9999, 12, 31), "3652058"},
      {" " + DateText(2011, 12, 23) + " ", DateText(2011, 12, 24) + (RussianLocale() ? "." : "/"),
       "1"},
  };
  for (const Row& r : rows) {
    EXPECT_TRUE(host.Exec("kxDaysBetween", {r.first, r.second, "[Result]"})) << r.first;
    EXPECT_EQ(Result(), r.days) << r.first << " to " << r.second;
  }
}

TEST_F(DatesTest, DaysBetweenReadsWhatEncodeDateWrote) {
  ASSERT_TRUE(host.Exec("kxEncodeDate", {"2011", "12", "23", "[First]"}));
  ASSERT_TRUE(host.Exec("kxEncodeDate", {"2012", "12", "23", "[Second]"}));
  ASSERT_TRUE(host.Exec("kxDaysBetween", {host.Value("First"), host.Value("Second"), "[Result]"}));
  EXPECT_EQ(Result(), "366");
}

TEST_F(DatesTest, DaysBetweenTakesTheCurrentYearForTwoNumbers) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const std::string twoNumbers = RussianLocale() ? "2.1" : "1/2";
  ASSERT_TRUE(host.Exec("kxDaysBetween", {twoNumbers, DateText(now.wYear, 1, 1), "[Result]"}));
  EXPECT_EQ(Result(), "1");
}

// One- and two-digit years fall in the hundred years from fifty years ago; three digits and
// more are the year as written. Each row must read as the same day as the four-digit text.
TEST_F(DatesTest, DaysBetweenReadsShortYearsInTheFiftyYearWindow) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const int windowStart = now.wYear - 50;
  auto written = [](int d, int m, const std::string& year) {
    return RussianLocale() ? std::to_string(d) + "." + std::to_string(m) + "." + year
                           : std::to_string(m) + "/" + std::to_string(d) + "/" + year;
  };
  auto twoDigits = [](int year) {
    const std::string text = std::to_string(year % 100);
    return text.size() == 1 ? "0" + text : text;
  };
  const struct {
    std::string text;
    int year;
  } rows[] = {
      {written(1, 1, twoDigits(windowStart)), windowStart},
      {written(1, 1, twoDigits(windowStart - 1)), windowStart + 99},
      // One digit: the first year of the window's first decade ending in it, or a century on.
      {written(1, 1, "0"), windowStart % 100 == 0 ? windowStart : windowStart / 100 * 100 + 100},
      {written(1, 1, "9"),
       windowStart % 100 <= 9 ? windowStart / 100 * 100 + 9 : windowStart / 100 * 100 + 109},
      {written(1, 1, "076"), 76},
      {written(1, 1, "0011"), 11},
  };
  for (const auto& row : rows) {
    EXPECT_TRUE(host.Exec("kxDaysBetween", {row.text, DateText(row.year, 1, 1), "[Result]"}))
        << row.text;
    EXPECT_EQ(Result(), "0") << row.text << " should be 1 January " << row.year;
  }
}

// Blanks around numbers and separators and one separator after the last number are allowed;
// anything else left over is not.
TEST_F(DatesTest, DaysBetweenShortDateLayout) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const std::string s = RussianLocale() ? "." : "/";
  auto numbers = [&](int first, int second) {
    return RussianLocale() ? std::to_string(second) + s + std::to_string(first)
                           : std::to_string(first) + s + std::to_string(second);
  };  // month and day in the locale's order
  const std::string thisYear = std::to_string(now.wYear);
  const struct {
    std::string text, expected;
  } rows[] = {
      {numbers(1, 2), "1"},
      {numbers(1, 2) + s, "1"},
      {" " + numbers(1, 2) + " " + s + " ", "1"},
      {numbers(1, 2) + s + s, "False"},
      {numbers(1, 2) + s + thisYear + s + " ", "1"},
      {numbers(1, 2) + " " + s + " " + thisYear, "1"},
      {numbers(1, 2) + s + thisYear + s + s, "False"},
      {numbers(1, 2) + s + thisYear + " 0", "False"},
      {numbers(1, 2) + s + thisYear + ".5", "False"},
      {numbers(1, 2) + s + thisYear + "x", "False"},
      {s + numbers(1, 2) + s + thisYear, "False"},
      {"   ", "False"},
      {"1", "False"},
  };
  for (const auto& row : rows) {
    host.Exec("kxDaysBetween", {row.text, DateText(now.wYear, 1, 1), "[Result]"});
    EXPECT_EQ(Result(), row.expected) << "\"" << row.text << "\"";
  }
}

TEST_F(DatesTest, BlankResultVariablesTakeNothing) {
  EXPECT_TRUE(host.Exec("kxEncodeDate", {"2011", "12", "23", " "}));
  EXPECT_TRUE(host.Exec("kxIsValidTime", {"25", "0", "0", ""}));
  EXPECT_TRUE(host.Exec("kxDaysBetweenEx", {DateText(2012, 1, 2), DateText(2012, 1, 9), " "}));
  EXPECT_FALSE(host.Exec("kxEncodeDate", {"2011", "2", "30", ""}));
  EXPECT_TRUE(host.setCalls.size() == 1 && host.setCalls[0].name == "LastError")
      << host.setCalls.size() << " variables written";
}

TEST_F(DatesTest, DaysBetweenRefusesWhatIsNoDate) {
  const std::string good = DateText(2011, 12, 23);
  const std::vector<std::pair<std::string, std::string>> rows = {
      {good + " abc", good},
      {good, "abc"},
      {"", good},
      {RussianLocale() ? "12/23/2011" : "23.12.2011", good},
      {DateText(2011, 2, 30), good},
      {good, DateText(2011, 13, 1)},
  };
  for (const auto& [first, second] : rows) {
    host.SetVar("LastError", "");
    EXPECT_FALSE(host.Exec("kxDaysBetween", {first, second, "[Result]"})) << first << " " << second;
    EXPECT_EQ(Result(), "False") << first << " / " << second;
    EXPECT_EQ(LastError(), "Invalid \"kxDaysBetween\" action arguments") << first;
  }
}

TEST_F(DatesTest, DaysBetweenExCountsEachWeekday) {
  struct Row {
    int y1, m1, d1, y2, m2, d2;
    std::vector<std::string> week;
  } rows[] = {
      // 2 January 2012 was a Monday.
      {2012, 1, 2, 2012, 1, 8, {"1", "1", "1", "1", "1", "1", "1"}},
      {2012, 1, 2, 2012, 1, 9, {"2", "1", "1", "1", "1", "1", "1"}},
      {2012, 1, 7, 2012, 1, 8, {"0", "0", "0", "0", "0", "1", "1"}},
      {2012, 2, 27, 2012, 3, 1, {"1", "1", "1", "1", "0", "0", "0"}},
      {1,
       1,
       1,
       9999,
       12,
       31,
       {"521723", "521723", "521723", "521723", "521723", "521722", "521722"}},
  };
  for (const Row& r : rows) {
    const std::string first = DateText(r.y1, r.m1, r.d1), second = DateText(r.y2, r.m2, r.d2);
    host.SetVar("LastError", "untouched");
    EXPECT_TRUE(host.Exec("kxDaysBetweenEx", {first, second, "Days"})) << first;
    EXPECT_EQ(Week("Days"), r.week) << first << " to " << second;
    EXPECT_FALSE(host.Var("Days")) << "the array variable itself stays unset";
    EXPECT_EQ(LastError(), "untouched");
  }
}

TEST_F(DatesTest, DaysBetweenExOrderFailureQuotesTheParametersAsPassed) {
  const std::string earlier = " " + DateText(2012, 1, 2) + " ";
  const std::string later = DateText(2012, 1, 9);
  const std::vector<std::pair<std::string, std::string>> rows = {{later, earlier},
                                                                 {earlier, earlier}};
  for (const auto& [first, second] : rows) {
    NbHost fresh{NbHost::DefaultPluginPath()};
    EXPECT_FALSE(fresh.Exec("kxDaysBetweenEx", {first, second, "Days"}));
    EXPECT_EQ(fresh.Var("Days").value_or("<unset>"), "False") << first;
    EXPECT_FALSE(fresh.Var("Days0")) << "no indexed variable on failure";
    EXPECT_EQ(fresh.Value("LastError"),
              "The now date \"" + first + "\" must be less than \"" + second + "\"");
  }
}

TEST_F(DatesTest, DaysBetweenExRefusesWhatIsNoDate) {
  EXPECT_FALSE(host.Exec("kxDaysBetweenEx", {DateText(2012, 1, 2), "soon", "Days"}));
  EXPECT_EQ(host.Value("Days"), "False");
  EXPECT_FALSE(host.Var("Days0"));
  EXPECT_EQ(LastError(), "Invalid \"kxDaysBetweenEx\" action arguments");
}

}  // namespace
