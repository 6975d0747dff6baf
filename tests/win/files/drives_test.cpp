// kxDriveType and kxSystemDrives against the drives this Wine prefix has (C: and Z: fixed).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/failures.h"
#include "core/host_io.h"
#include "fixture.h"

namespace {

using DrivesTest = PluginTest;

std::vector<std::string> RootsOfType(UINT type) {
  std::vector<std::string> roots;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    if (GetDriveTypeA(root.c_str()) == type) roots.push_back(root);
  }
  return roots;
}

TEST_F(DrivesTest, DriveTypeReducesTheParameterToOneCharacter) {
  for (const std::string drive : {"C", "C:", "C:\\", " C ", "c", "\tC:\\\\"}) {
    EXPECT_TRUE(host.Exec("kxDriveType", {drive, "[Result]"})) << drive;
    EXPECT_EQ(Result(), "DRIVE_FIXED") << drive;
  }
  // A character that names no drive is still asked about.
  EXPECT_TRUE(host.Exec("kxDriveType", {"7", "[Result]"}));
  EXPECT_EQ(Result(), "DRIVE_NO_ROOT_DIR");
  for (const std::string drive : {"CD", "", "  ", ":\\", "C D"}) {
    host.SetVar("LastError", "before");
    EXPECT_FALSE(host.Exec("kxDriveType", {drive, "[Result]"})) << drive;
    EXPECT_EQ(Result(), "False") << drive;
    EXPECT_EQ(LastError(), "Invalid \"kxDriveType\" action arguments") << drive;
  }
}

TEST_F(DrivesTest, FixedDrivesInLetterOrderWithTheHighestIndex) {
  const std::vector<std::string> fixed = RootsOfType(DRIVE_FIXED);
  ASSERT_FALSE(fixed.empty());
  ASSERT_EQ(fixed.front(), "C:\\");
  // An entry of an earlier, longer listing is left alone.
  const std::string beyond = "Fixed" + std::to_string(fixed.size());
  host.SetVar(beyond, "earlier");
  ASSERT_TRUE(host.Exec("kxSystemDrives", {"DRIVE_FIXED", "Fixed", "[Count]"}));
  for (std::size_t i = 0; i < fixed.size(); ++i)
    EXPECT_EQ(host.Value("Fixed" + std::to_string(i)), fixed[i]) << i;
  EXPECT_EQ(host.Value("Count"), std::to_string(fixed.size() - 1));
  EXPECT_EQ(host.Value(beyond), "earlier");

  const std::size_t existing = fixed.size() + RootsOfType(DRIVE_REMOVABLE).size() +
                               RootsOfType(DRIVE_REMOTE).size() + RootsOfType(DRIVE_CDROM).size() +
                               RootsOfType(DRIVE_RAMDISK).size() +
                               RootsOfType(DRIVE_UNKNOWN).size();
  ASSERT_TRUE(host.Exec("kxSystemDrives", {"DRIVE_ALL", "All", "[AllCount]"}));
  EXPECT_EQ(host.Value("AllCount"), std::to_string(existing - 1));
}

TEST_F(DrivesTest, NoMatchingDriveWritesNothing) {
  if (!RootsOfType(DRIVE_CDROM).empty()) GTEST_SKIP() << "this machine has an optical drive";
  host.SetVar("Count", "before");
  ASSERT_TRUE(host.Exec("kxSystemDrives", {"DRIVE_CDROM", "Cd", "[Count]"}));
  EXPECT_TRUE(host.setCalls.empty());
  EXPECT_EQ(host.Value("Count"), "before");
}

TEST_F(DrivesTest, FiltersAreExactNames) {
  for (const std::string filter : {"drive_fixed", "DRIVE_NO_ROOT_DIR", " DRIVE_FIXED", ""}) {
    host.ClearLogs();
    EXPECT_FALSE(host.Exec("kxSystemDrives", {filter, "Fixed", "[Count]"})) << filter;
    ASSERT_EQ(host.setCalls.size(), 1u) << filter;  // LastError only, not even "False"
    EXPECT_EQ(LastError(), "Invalid \"kxSystemDrives\" action arguments") << filter;
  }
}

}  // namespace
