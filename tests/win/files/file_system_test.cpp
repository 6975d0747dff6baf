// kxFileSystem through the scripting runtime, including drives it cannot answer for.
#include <gtest/gtest.h>

#include <string>

#include "core/failures.h"
#include "core/host_io.h"
#include "fixture.h"

namespace {

using FileSystemTest = PluginTest;

TEST_F(FileSystemTest, NamesTheFileSystemOfThePathsDrive) {
  char expected[MAX_PATH + 1] = {};
  ASSERT_TRUE(GetVolumeInformationA("C:\\", nullptr, 0, nullptr, nullptr, nullptr, expected,
                                    sizeof expected));
  ASSERT_NE(std::string(expected), "");
  // Only the drive part counts: the rest of the path need not exist.
  for (const std::string path :
       {"C:\\", "C:", "c:\\windows\\system32\\kernel32.dll", "C:\\no\\such\\file.txt"}) {
    EXPECT_TRUE(host.Exec("kxFileSystem", {path, "[Result]"})) << path;
    EXPECT_EQ(Result(), expected) << path;
  }
}

TEST_F(FileSystemTest, PathsWithoutAUsableDriveAreReported) {
  const DWORD drives = GetLogicalDrives();
  std::string missing;
  for (char letter = 'Y'; letter > 'D' && missing.empty(); --letter)
    if (!(drives & (1u << (letter - 'A')))) missing = std::string(1, letter) + ":\\data.bin";
  ASSERT_FALSE(missing.empty());

  const struct {
    std::string path;
    DWORD error;
  } rows[] = {
      {missing, ERROR_INVALID_DRIVE},
      {"relative\\file.txt", ERROR_BAD_PATHNAME},
      {"", ERROR_BAD_PATHNAME},
  };
  for (const auto& row : rows) {
    host.SetVar("LastError", "before");
    EXPECT_FALSE(host.Exec("kxFileSystem", {row.path, "[Result]"})) << row.path;
    EXPECT_EQ(Result(), "False") << row.path;
    EXPECT_EQ(LastError(), SystemErrorText(row.error)) << row.path;
  }
}

}  // namespace
