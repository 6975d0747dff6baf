// kxFileDate on files stamped with known local times.
#include <gtest/gtest.h>

#include <string>

#include "core/failures.h"
#include "core/host_io.h"
#include "fixture.h"

namespace {

class FileDateTest : public PluginTest {
 protected:
  // A local wall-clock time as a file time, with the offset in force on that day.
  static FILETIME Local(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME local{year, month, 0, day, hour, minute, second, 0}, universal{};
    FILETIME time{};
    EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal));
    EXPECT_TRUE(SystemTimeToFileTime(&universal, &time));
    return time;
  }
  static FILETIME Local(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second,
                        WORD millisecond) {
    FILETIME time = Local(year, month, day, hour, minute, second);
    ULARGE_INTEGER ticks{{time.dwLowDateTime, time.dwHighDateTime}};
    ticks.QuadPart += millisecond * 10000ull;
    return {ticks.LowPart, ticks.HighPart};
  }
  static bool Stamp(const std::string& path, const FILETIME& written, const FILETIME& accessed) {
    const HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = SetFileTime(file, &written, &accessed, &written);
    CloseHandle(file);
    return ok;
  }
  std::string Times(int index) const {
    return host.Var("Times" + std::to_string(index)).value_or("<unset>");
  }
};

// One time in summer and one in winter: each shows the wall-clock time it was stamped with,
// whatever offset is in force today.
TEST_F(FileDateTest, FormatsTheModifiedAndAccessedTimes) {
  ScratchDir dir;
  const std::string path = dir.Write("dated.txt", "x");
  ASSERT_TRUE(Stamp(path, Local(2020, 7, 15, 13, 45, 30), Local(2021, 1, 4, 8, 5, 9)));
  ASSERT_TRUE(host.Exec("kxFileDate", {path, "dd.mm.yyyy hh:nn:ss", "Times"}));
  EXPECT_EQ(Times(1), "15.07.2020 13:45:30");
  EXPECT_EQ(Times(2), "04.01.2021 08:05:09");
  // Wine cannot set a creation time; the text still has the pattern's shape.
  EXPECT_EQ(Times(0).size(), 19u) << Times(0);
}

// The system's own texts for a locale item and for a time, to set the expected texts apart
// from the plug-in's reading of the regional settings.
std::string LocaleItem(LCTYPE item) {
  char text[128] = {};
  const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text, sizeof text);
  return length > 0 ? std::string(text, length - 1) : std::string();
}
std::string SystemTime(WORD hour, WORD minute, WORD second, DWORD flags) {
  SYSTEMTIME time{2011, 12, 5, 23, hour, minute, second, 0};
  char text[128] = {};
  const int length = GetTimeFormatA(LOCALE_USER_DEFAULT, flags, &time, nullptr, text, sizeof text);
  return length > 0 ? std::string(text, length - 1) : std::string();
}

// Every row of the pattern language on one modified time, Friday 23 December 2011 18:05:09.045,
// and one access time just after midnight, under the locale's own names and separators.
TEST_F(FileDateTest, PatternLanguage) {
  ScratchDir dir;
  const std::string path = dir.Write("patterns.txt", "x");
  ASSERT_TRUE(Stamp(path, Local(2011, 12, 23, 18, 5, 9, 45), Local(2011, 12, 24, 0, 30, 0)));
  const std::string sep = RussianLocale() ? "." : "/";
  const std::string shortDate = RussianLocale() ? "23.12.2011" : "12/23/2011";
  const struct {
    std::string pattern;
    int index;
    std::string expected;
  } rows[] = {
      {"yyyy-mm-dd", 1, "2011-12-23"},
      {"YYYY-MM-DD", 1, "2011-12-23"},
      {"Yy-mM-dD", 1, "11-12-23"},
      {"d m yy", 2, "24 12 11"},
      {"dd/mm/yyyy", 2, "24" + sep + "12" + sep + "2011"},
      {"h:m:s", 1, "18:5:9"},
      {"hh:mm:ss", 2, "00:30:00"},
      {"H MM", 1, "18 05"},
      {"h 'x' m", 1, "18 x 5"},
      {"mm hh", 1, "12 18"},
      {"hh:nn NN", 1, "18:05 05"},
      {"z zzz", 1, "45 045"},
      {"zzz", 2, "000"},
      {"h:nn am/pm", 1, "6:05 pm"},
      {"h:nn AM/PM", 2, "12:30 AM"},
      {"hh:nn Am/pM", 1, "06:05 pM"},
      {"hh a/p", 1, "06 p"},
      {"h A/P", 2, "12 A"},
      {"h ampm", 1, "6 " + LocaleItem(LOCALE_S2359)},
      {"ampm h", 2, LocaleItem(LOCALE_S1159) + " 12"},
      {"h 'am/pm'", 1, "18 am/pm"},
      {"ddd|dddd", 1, LocaleItem(LOCALE_SABBREVDAYNAME5) + "|" + LocaleItem(LOCALE_SDAYNAME5)},
      {"mmm|MMMM", 1,
       LocaleItem(LOCALE_SABBREVMONTHNAME12) + "|" + LocaleItem(LOCALE_SMONTHNAME12)},
      {"ddddd", 1, shortDate},
      {"tt", 1, SystemTime(18, 5, 9, 0)},
      {"t", 1, SystemTime(18, 5, 9, TIME_NOSECONDS)},
      {"c", 1, shortDate + " " + SystemTime(18, 5, 9, 0)},
      {"C", 2,
       (RussianLocale() ? "24.12.2011" : "12/24/2011") + std::string(" ") +
           SystemTime(0, 30, 0, 0)},
      {"'dd' \"mm\" yyyy", 1, "dd mm 2011"},
      {"\"it's\" d", 1, "it's 23"},
      {"'d:m' d:m", 1, "d:m 23:12"},
      {"[x-q, b!]", 1, "[x-q, b!]"},
  };
  for (const auto& row : rows) {
    EXPECT_TRUE(host.Exec("kxFileDate", {path, row.pattern, "Times"})) << row.pattern;
    EXPECT_EQ(Times(row.index), row.expected) << "pattern " << row.pattern;
  }
}

TEST_F(FileDateTest, EmptyFormatShowsTheDateAloneAtMidnight) {
  ScratchDir dir;
  const std::string path = dir.Write("midnight.txt", "x");
  ASSERT_TRUE(Stamp(path, Local(2020, 1, 15, 0, 0, 0), Local(2020, 1, 15, 0, 0, 1)));
  ASSERT_TRUE(host.Exec("kxFileDate", {path, "", "Times"}));
  const std::string date = RussianLocale() ? "15.01.2020" : "1/15/2020";
  EXPECT_EQ(Times(1), date);
  EXPECT_EQ(Times(2).substr(0, date.size() + 1), date + " ") << Times(2);
  EXPECT_GT(Times(2).size(), date.size() + 5) << Times(2);
}

TEST_F(FileDateTest, MissingFilesAndFoldersAreArgumentErrors) {
  ScratchDir dir;
  for (const std::string& path : {dir.File("missing.txt"), dir.path()}) {
    host.SetVar("LastError", "before");
    EXPECT_FALSE(host.Exec("kxFileDate", {path, "", "Times"})) << path;
    EXPECT_EQ(host.Value("Times"), "False") << path;
    EXPECT_EQ(LastError(), "Invalid \"kxFileDate\" action arguments") << path;
    EXPECT_FALSE(host.Var("Times0")) << path;
  }
}

}  // namespace
