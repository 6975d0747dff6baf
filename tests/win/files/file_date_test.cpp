// kxFileDate on files stamped with known local times.
#include <gtest/gtest.h>

#include <string>

#include "core/conventions.h"
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

TEST_F(FileDateTest, FileThatCannotBeOpenedGivesFalseAndKeepsLastError) {
  ScratchDir dir;
  const std::string path = dir.Write("locked.txt", "x");
  const HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  host.SetVar("LastError", "before");
  EXPECT_FALSE(host.Exec("kxFileDate", {path, "", "Times"}));
  CloseHandle(lock);
  EXPECT_EQ(host.Value("Times"), "False");
  EXPECT_EQ(LastError(), "before");
  EXPECT_FALSE(host.Var("Times0"));
}

}  // namespace
