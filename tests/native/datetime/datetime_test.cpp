#include "pure/datetime.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

DateTimeFields At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return {y, mo, d, h, mi, s, ms};
}

// What Wine answers under ru_RU: pictures "dd.MM.yyyy", "dddd, d MMMM yyyy 'г.'", "HH:mm:ss".
LocaleFormats RussianFormats() {
  LocaleFormats f;
  f.dateSeparator = ".";
  f.timeSeparator = ":";
  f.shortDate = DatePictureToPattern("dd.MM.yyyy", ".");
  f.longDate = DatePictureToPattern("d MMMM yyyy 'г.'", ".");
  f.longTime = TimePictureToPattern("HH:mm:ss", ":");
  f.shortTime = TimePictureToPattern(WithoutSeconds("HH:mm:ss"), ":");
  f.shortMonths = {"янв", "фев", "мар", "апр", "май", "июн",
                   "июл", "авг", "сен", "окт", "ноя", "дек"};
  f.longMonths = {"январь", "февраль", "март",     "апрель",  "май",    "июнь",
                  "июль",   "август",  "сентябрь", "октябрь", "ноябрь", "декабрь"};
  f.shortDays = {"вс", "пн", "вт", "ср", "чт", "пт", "сб"};
  f.longDays = {"воскресенье", "понедельник", "вторник", "среда", "четверг", "пятница", "суббота"};
  return f;
}

TEST(DateValidity, Boundaries) {
  struct Row {
    int y, m, d;
    bool valid;
  } rows[] = {
      {2000, 2, 29, true},  {1900, 2, 29, false}, {2004, 2, 29, true},  {2100, 2, 29, false},
      {2011, 2, 28, true},  {2011, 2, 29, false}, {0, 1, 1, false},     {1, 1, 1, true},
      {9999, 12, 31, true}, {10000, 1, 1, false}, {2011, 13, 1, false}, {2011, 0, 1, false},
      {2011, 4, 30, true},  {2011, 4, 31, false}, {2011, 12, 0, false}, {2011, 12, 31, true},
  };
  for (const Row& r : rows)
    EXPECT_EQ(IsValidDate(r.y, r.m, r.d), r.valid) << r.y << "-" << r.m << "-" << r.d;
}

TEST(TimeValidity, Boundaries) {
  struct Row {
    int h, m, s;
    bool valid;
  } rows[] = {
      {24, 0, 0, true},   {24, 0, 1, false},    {24, 1, 0, false}, {23, 60, 0, false},
      {23, 59, 59, true}, {23, 59, 60, false},  {0, 0, 0, true},   {25, 0, 0, false},
      {-1, 0, 0, false},  {65535, 0, 0, false},
  };
  for (const Row& r : rows)
    EXPECT_EQ(IsValidTime(r.h, r.m, r.s), r.valid) << r.h << ":" << r.m << ":" << r.s;
}

TEST(DateValue, CountsFromThe30thOfDecember1899) {
  EXPECT_EQ(DateTimeToValue(At(1899, 12, 30)), 0.0);
  EXPECT_EQ(DateTimeToValue(At(1900, 1, 1)), 2.0);
  EXPECT_EQ(DateTimeToValue(At(2011, 12, 23)), 40900.0);
  EXPECT_EQ(DateTimeToValue(At(2011, 12, 23, 18)), 40900.75);
  EXPECT_EQ(DateTimeToValue(At(1, 1, 1)), -693593.0);
  EXPECT_EQ(DateTimeToValue(At(9999, 12, 31)), 2958465.0);
  // Before the epoch the time still runs forward from the day's start.
  EXPECT_EQ(DateTimeToValue(At(1899, 12, 29, 6)), -1.25);
}

TEST(DateValue, RoundTripsToTheMillisecond) {
  const DateTimeFields samples[] = {At(1, 1, 1),
                                    At(1899, 12, 29, 6),
                                    At(2011, 12, 23, 18),
                                    At(2000, 2, 29, 23, 59, 59, 999),
                                    At(9999, 12, 31, 12, 0, 0, 1),
                                    At(1600, 3, 1, 0, 0, 0, 500)};
  for (const DateTimeFields& f : samples) {
    const DateTimeFields back = ValueToDateTime(DateTimeToValue(f));
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", back, UsEnglishFormats()),
              FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", f, UsEnglishFormats()));
  }
}

TEST(DayOfWeek, Iso) {
  EXPECT_EQ(IsoDayOfWeek(DaysFromCivil(1, 1, 1)), 1);       // Monday
  EXPECT_EQ(IsoDayOfWeek(DaysFromCivil(2011, 12, 23)), 5);  // Friday
  EXPECT_EQ(IsoDayOfWeek(DaysFromCivil(2024, 2, 25)), 7);   // Sunday
  EXPECT_EQ(IsoDayOfWeek(DaysFromCivil(9999, 12, 31)), 5);  // Friday
  EXPECT_EQ(DaysFromCivil(2000, 3, 1) - DaysFromCivil(2000, 1, 1), 60);
}

TEST(CountWeekdays, MatchesADayByDayWalk) {
  std::mt19937 random(20111223);
  const std::int64_t last = DaysFromCivil(9999, 12, 31);
  std::uniform_int_distribution<std::int64_t> anyDay(0, last);
  std::uniform_int_distribution<std::int64_t> shortSpan(0, 40);
  for (int i = 0; i < 2000; ++i) {
    const std::int64_t first = anyDay(random);
    const std::int64_t span = i % 2 ? shortSpan(random) : anyDay(random) % 3000;
    const std::int64_t end = std::min(first + span, last);
    std::array<std::int64_t, 7> walk{};
    for (std::int64_t day = first; day <= end; ++day) ++walk[IsoDayOfWeek(day) - 1];
    EXPECT_EQ(CountWeekdays(first, end), walk) << "days " << first << ".." << end;
  }
  const std::array<std::int64_t, 7> whole = CountWeekdays(0, last);
  std::int64_t total = 0;
  for (std::int64_t c : whole) total += c;
  EXPECT_EQ(total, last + 1);
  // 3652059 days from a Monday to a Friday: 521722 whole weeks and five days more.
  EXPECT_EQ(whole[0], 521723);
  EXPECT_EQ(whole[4], 521723);
  EXPECT_EQ(whole[5], 521722);
}

struct FormatRow {
  const char* pattern;
  DateTimeFields value;
  const char* expected;
};

TEST(FormatDateTime, UsPatterns) {
  const LocaleFormats us = UsEnglishFormats();
  const FormatRow rows[] = {
      {"c", At(2011, 12, 23), "12/23/2011"},
      {"c", At(2011, 12, 23, 0, 0, 0, 400), "12/23/2011 12:00:00 AM"},
      {"c", At(2011, 12, 23, 0, 0, 1), "12/23/2011 12:00:01 AM"},
      {"c", At(2011, 12, 23, 18, 5, 9), "12/23/2011 6:05:09 PM"},
      {"d/m/yy", At(2011, 2, 3), "3/2/11"},
      {"dd.mm.yyyy", At(2011, 2, 3), "03.02.2011"},
      {"ddd dddd", At(2011, 12, 23), "Fri Friday"},
      {"ddddd", At(2011, 12, 23), "12/23/2011"},
      {"dddddd", At(2011, 12, 23), "Friday, December 23, 2011"},
      {"mmm mmmm", At(2011, 12, 23), "Dec December"},
      {"y yyy yyyy", At(5, 1, 1), "05 0005 0005"},
      {"hh:mm", At(2011, 1, 1, 7, 8), "07:08"},
      {"h:m", At(2011, 1, 1, 7, 8), "7:8"},
      {"h mm", At(2011, 12, 1, 7, 8), "7 08"},
      {"mm h", At(2011, 12, 1, 7, 8), "12 7"},
      {"hh:nn:ss", At(2011, 1, 1, 17, 8, 9), "17:08:09"},
      {"h:nn am/pm", At(2011, 1, 1, 0, 5), "12:05 am"},
      {"h:nn AM/PM", At(2011, 1, 1, 12, 5), "12:05 PM"},
      {"h:nn Am/pM", At(2011, 1, 1, 13, 5), "1:05 pM"},
      {"hh a/p", At(2011, 1, 1, 13), "01 p"},
      {"hh A/P", At(2011, 1, 1, 11), "11 A"},
      {"h ampm", At(2011, 1, 1, 23), "11 PM"},
      {"ampm h", At(2011, 1, 1, 23), "PM 11"},
      {"h 'am/pm'", At(2011, 1, 1, 23), "23 am/pm"},
      {"h h am/pm", At(2011, 1, 1, 23), "23 11 pm"},
      {"z zzz", At(2011, 1, 1, 0, 0, 0, 7), "7 007"},
      {"t", At(2011, 1, 1, 14, 30, 15), "2:30 PM"},
      {"tt", At(2011, 1, 1, 14, 30, 15), "2:30:15 PM"},
      {"'dd' \"mm\" yyyy", At(2011, 1, 1), "dd mm 2011"},
      {"\"it's\" d", At(2011, 1, 1), "it's 1"},
      {"'unclosed d", At(2011, 1, 1), "unclosed d"},
      {"DD.MM.YYYY HH:NN", At(2011, 2, 3, 4, 5), "03.02.2011 04:05"},
      {"x-q, b!", At(2011, 1, 1), "x-q, b!"},
      {"", At(2011, 1, 1), ""},
  };
  for (const FormatRow& r : rows)
    EXPECT_EQ(FormatDateTime(r.pattern, r.value, us), r.expected) << "pattern " << r.pattern;
}

// The look-ahead for a 12-hour clock read one quote kind as closing the other and gave up at
// the first "a" that was no specifier.
TEST(FormatDateTime, AmPmLookAheadPassesQuotesAndStrayLetters) {
  LocaleFormats us = UsEnglishFormats();
  us.longTime = TimePictureToPattern("h:mm:ss 'o''clock' tt", ":");
  const FormatRow rows[] = {
      {"hh:nn \"o'clock\" am/pm", At(2011, 1, 1, 15, 4), "03:04 o'clock pm"},
      {"hh:nn 'say \"hi\"' am/pm", At(2011, 1, 1, 15, 4), "03:04 say \"hi\" pm"},
      {"hh a am/pm", At(2011, 1, 1, 15), "03 a pm"},
      {"hh 'am/pm' h am/pm", At(2011, 1, 1, 15), "15 am/pm 3 pm"},
      {"c", At(2011, 1, 1, 15, 4, 5), "1/1/2011 3:04:05 o'clock PM"},
  };
  for (const FormatRow& r : rows)
    EXPECT_EQ(FormatDateTime(r.pattern, r.value, us), r.expected) << "pattern " << r.pattern;
}

// Month names right after an hour printed the minutes.
TEST(FormatDateTime, MonthNamesAfterAnHourStayMonthNames) {
  const LocaleFormats us = UsEnglishFormats();
  const FormatRow rows[] = {
      {"h mmm", At(2011, 12, 1, 7, 8), "7 Dec"},
      {"hh mmmm yyyy", At(2011, 12, 1, 7, 8), "07 December 2011"},
      {"h:mm", At(2011, 12, 1, 7, 8), "7:08"},
  };
  for (const FormatRow& r : rows)
    EXPECT_EQ(FormatDateTime(r.pattern, r.value, us), r.expected) << "pattern " << r.pattern;
}

TEST(FormatDateTime, RussianPatterns) {
  const LocaleFormats ru = RussianFormats();
  const FormatRow rows[] = {
      {"c", At(2011, 12, 23), "23.12.2011"},
      {"c", At(2011, 12, 23, 9, 5, 1), "23.12.2011 09:05:01"},
      {"ddddd", At(2011, 1, 2), "02.01.2011"},
      {"dddddd", At(2011, 1, 2), "2 январь 2011 г."},
      {"dddd, d mmm", At(2011, 12, 23), "пятница, 23 дек"},
      {"t", At(2011, 1, 1, 14, 30, 15), "14:30"},
      {"tt", At(2011, 1, 1, 14, 30, 15), "14:30:15"},
      {"dd/mm/yyyy hh:nn:ss", At(2011, 1, 1, 14, 30, 15), "01.01.2011 14:30:15"},
  };
  for (const FormatRow& r : rows)
    EXPECT_EQ(FormatDateTime(r.pattern, r.value, ru), r.expected) << "pattern " << r.pattern;
}

TEST(FormatDateTime, NestedPatternsStopAtTheSecondLevel) {
  LocaleFormats self = UsEnglishFormats();
  self.shortDate = "ddddd d";  // names itself
  EXPECT_EQ(FormatDateTime("ddddd", At(2011, 1, 2), self), " 2");
}

TEST(Pictures, WindowsPicturesInThePatternLanguage) {
  struct Row {
    const char* picture;
    const char* separator;
    bool time;
    const char* expected;
  } rows[] = {
      {"dd.MM.yyyy", ".", false, "dd/mm/yyyy"},
      {"M/d/yyyy", "/", false, "m/d/yyyy"},
      {"yyyy-MM-dd", "-", false, "yyyy/mm/dd"},
      {"yyyy. MM. dd.", ".", false, "yyyy/ mm/ dd/"},
      {"d/M/yy", ".", false, "d\"/\"m\"/\"yy"},
      {"d.M.y", ".", false, "d/m/yy"},
      {"dddd, MMMM d, yyyy", "/", false, "dddd, mmmm d, yyyy"},
      {"d MMMM yyyy 'г.'", ".", false, "d mmmm yyyy г."},
      {"d 'de' MMMM 'de' yyyy", "/", false, "d \"de\" mmmm \"de\" yyyy"},
      {"dd 'o''clock' MM", ".", false, "dd \"o'clock\" mm"},
      {"gg yyyy", "/", false, " yyyy"},
      {"h:mm:ss tt", ":", true, "h:nn:ss ampm"},
      {"HH:mm:ss", ":", true, "hh:nn:ss"},
      {"H.mm", ".", true, "h:nn"},
      {"tt h:mm", ":", true, "ampm h:nn"},
      {"t h:mm", ":", true, "a/p h:nn"},
      {"HH' h 'mm", ":", true, "hh\" h \"nn"},
      {"HH/mm", ":", true, "hh\"/\"nn"},
  };
  for (const Row& r : rows) {
    const std::string got = r.time ? TimePictureToPattern(r.picture, r.separator)
                                   : DatePictureToPattern(r.picture, r.separator);
    EXPECT_EQ(got, r.expected) << "picture " << r.picture;
  }
}

TEST(Pictures, ConvertedPicturesPrintAsWindowsWould) {
  LocaleFormats f = UsEnglishFormats();
  f.dateSeparator = "-";
  EXPECT_EQ(FormatDateTime(DatePictureToPattern("yyyy-MM-dd", "-"), At(2011, 2, 3), f),
            "2011-02-03");
  EXPECT_EQ(FormatDateTime(DatePictureToPattern("d 'de' MMMM", "-"), At(2011, 2, 3), f),
            "3 de February");
  EXPECT_EQ(FormatDateTime(TimePictureToPattern("hh:mm:ss tt", ":"), At(1, 1, 1, 0, 7), f),
            "12:07:00 AM");
}

TEST(Pictures, SeparatorAndShortTime) {
  EXPECT_EQ(SeparatorOfDatePicture("dd.MM.yyyy", "."), ".");
  EXPECT_EQ(SeparatorOfDatePicture("M/d/yyyy", "/"), "/");
  EXPECT_EQ(SeparatorOfDatePicture("yyyy-MM-dd", "/"), "-");  // declared one unused
  EXPECT_EQ(SeparatorOfDatePicture("d. M. yyyy", ""), ".");
  EXPECT_EQ(SeparatorOfDatePicture("yyyyMMdd", ""), "/");
  EXPECT_EQ(WithoutSeconds("h:mm:ss tt"), "h:mm tt");
  EXPECT_EQ(WithoutSeconds("HH:mm:ss"), "HH:mm");
  EXPECT_EQ(WithoutSeconds("ss:mm"), "mm");
  EXPECT_EQ(WithoutSeconds("H:mm"), "H:mm");
}

struct ReadRow {
  const char* text;
  const char* pattern;
  const char* separator;
  int year, month, day;  // year 0: not a date
};

TEST(ReadShortDate, OrdersSeparatorsAndLeftovers) {
  const ReadRow rows[] = {
      {"23.12.2011", "dd/mm/yyyy", ".", 2011, 12, 23},
      {"12/23/2011", "m/d/yyyy", "/", 2011, 12, 23},
      {"2011-12-23", "yyyy/mm/dd", "-", 2011, 12, 23},
      {" 23 . 12 . 2011 ", "dd/mm/yyyy", ".", 2011, 12, 23},
      {"23.12.2011.", "dd/mm/yyyy", ".", 2011, 12, 23},
      {"23.12.2011. ", "dd/mm/yyyy", ".", 2011, 12, 23},
      {"2011. 12. 23.", "yyyy/ mm/ dd/", ". ", 2011, 12, 23},
      {"3.1.0011", "dd/mm/yyyy", ".", 11, 1, 3},
      {"23.12.2011..", "dd/mm/yyyy", ".", 0, 0, 0},
      {"23.12.2011 abc", "dd/mm/yyyy", ".", 0, 0, 0},
      {"23.12.2011x", "dd/mm/yyyy", ".", 0, 0, 0},
      {"23/12/2011", "dd/mm/yyyy", ".", 0, 0, 0},
      {"23.13.2011", "dd/mm/yyyy", ".", 0, 0, 0},
      {"30.2.2011", "dd/mm/yyyy", ".", 0, 0, 0},
      {"29.2.2000", "dd/mm/yyyy", ".", 2000, 2, 29},
      {"1.1.10000", "dd/mm/yyyy", ".", 0, 0, 0},
      {"1.1.0000", "dd/mm/yyyy", ".", 0, 0, 0},
      {"1.1.0", "dd/mm/yyyy", ".", 2000, 1, 1},
      {"23", "dd/mm/yyyy", ".", 0, 0, 0},
      {"", "dd/mm/yyyy", ".", 0, 0, 0},
      {"23..12", "dd/mm/yyyy", ".", 0, 0, 0},
      {"-1.12.2011", "dd/mm/yyyy", ".", 0, 0, 0},
      {"+1.12.2011", "dd/mm/yyyy", ".", 0, 0, 0},
      {"23.12.", "dd/mm/yyyy", ".", 2026, 12, 23},
      {"\t23.12.2011", "dd/mm/yyyy", ".", 0, 0, 0},
      // Two numbers: this year, in the pattern's order of day and month.
      {"23.12", "dd/mm/yyyy", ".", 2026, 12, 23},
      {"12/23", "m/d/yyyy", "/", 2026, 12, 23},
      {"12-23", "yyyy/mm/dd", "-", 2026, 12, 23},
      {"29.2", "dd/mm/yyyy", ".", 0, 0, 0},  // 2026 is no leap year
      // The hundred-year window from 1976 to 2075 in 2026.
      {"1.1.76", "dd/mm/yyyy", ".", 1976, 1, 1},
      {"1.1.75", "dd/mm/yyyy", ".", 2075, 1, 1},
      {"1.1.00", "dd/mm/yyyy", ".", 2000, 1, 1},
      {"1.1.5", "dd/mm/yyyy", ".", 2005, 1, 1},
      {"1.1.99", "dd/mm/yyyy", ".", 1999, 1, 1},
      {"1.1.076", "dd/mm/yyyy", ".", 76, 1, 1},
      {"11-12-23", "yyyy/mm/dd", "-", 2011, 12, 23},
      {"'d' yy.mm.dd", "'d' yy/mm/dd", ".", 0, 0, 0},
  };
  for (const ReadRow& r : rows) {
    const auto date = ReadShortDate(r.text, r.pattern, r.separator, 2026);
    if (r.year == 0) {
      EXPECT_FALSE(date) << "text \"" << r.text << "\" under " << r.pattern;
      continue;
    }
    ASSERT_TRUE(date) << "text \"" << r.text << "\" under " << r.pattern;
    EXPECT_EQ(date->year, r.year) << "text \"" << r.text << "\"";
    EXPECT_EQ(date->month, r.month) << "text \"" << r.text << "\"";
    EXPECT_EQ(date->day, r.day) << "text \"" << r.text << "\"";
  }
}

// A short date "dd MM yyyy" with a blank as separator was written but never read back.
TEST(ReadShortDate, ABlankSeparatorReadsBack) {
  LocaleFormats f = UsEnglishFormats();
  f.dateSeparator = SeparatorOfDatePicture("dd MM yyyy", " ");
  f.shortDate = DatePictureToPattern("dd MM yyyy", f.dateSeparator);
  const std::string text = FormatDateTime(f.shortDate, At(2011, 12, 23), f);
  EXPECT_EQ(text, "23 12 2011");
  const ReadRow rows[] = {
      {"23 12 2011", "", "", 2011, 12, 23}, {" 23  12 2011 ", "", "", 2011, 12, 23},
      {"23 12", "", "", 2026, 12, 23},      {"23/12/2011", "", "", 0, 0, 0},
      {"2312 2011", "", "", 0, 0, 0},       {"23 12 2011 x", "", "", 0, 0, 0},
  };
  for (const ReadRow& r : rows) {
    const auto date = ReadShortDate(r.text, f.shortDate, f.dateSeparator, 2026);
    ASSERT_EQ(date.has_value(), r.year != 0) << "text \"" << r.text << "\"";
    if (date)
      EXPECT_EQ(DaysFromCivil(date->year, date->month, date->day),
                DaysFromCivil(r.year, r.month, r.day))
          << r.text;
  }
}

TEST(ReadShortDate, WindowFollowsTheCurrentYear) {
  EXPECT_EQ(ReadShortDate("1/1/50", "m/d/yyyy", "/", 2000)->year, 1950);
  EXPECT_EQ(ReadShortDate("1/1/49", "m/d/yyyy", "/", 2000)->year, 2049);
  EXPECT_EQ(ReadShortDate("1/1/49", "m/d/yyyy", "/", 2099)->year, 2049);
  EXPECT_EQ(ReadShortDate("1/1/48", "m/d/yyyy", "/", 2099)->year, 2148);
}

TEST(ReadShortDate, ReadsWhatTheFormatterWrites) {
  const LocaleFormats locales[] = {UsEnglishFormats(), RussianFormats()};
  for (const LocaleFormats& f : locales) {
    for (const DateTimeFields& d : {At(1, 1, 1), At(2011, 12, 23), At(9999, 12, 31)}) {
      const std::string text = FormatDateTime(f.shortDate, d, f);
      const auto back = ReadShortDate(text, f.shortDate, f.dateSeparator, 2026);
      ASSERT_TRUE(back) << text;
      EXPECT_EQ(DaysFromCivil(back->year, back->month, back->day),
                DaysFromCivil(d.year, d.month, d.day))
          << text;
    }
  }
}

}  // namespace
