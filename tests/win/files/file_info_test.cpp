// File and path information through the real exports, on files made in a scratch folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/failures.h"
#include "core/host_io.h"
#include "encoding.h"
#include "files_helpers.h"
#include "fixture.h"

namespace {

using FileInfoTest = PluginTest;

TEST_F(FileInfoTest, FileSizeCombinesBothHalves) {
  ScratchDir dir;
  const struct {
    std::uint64_t size;
    std::string expected;
  } rows[] = {
      {0, "0"},
      {3, "3"},
      {0xFFFFFFFFull, "4294967295"},   // low half full, high half zero
      {0x100000000ull, "4294967296"},  // low half zero, high half one
      {5000000000ull, "5000000000"},
  };
  for (const auto& row : rows) {
    const std::string path = dir.File("size_" + row.expected + ".bin");
    ASSERT_TRUE(MakeSparseFile(path, row.size)) << row.expected;
    EXPECT_TRUE(host.Exec("kxFileSize", {path, "[Result]"})) << row.expected;
    EXPECT_EQ(Result(), row.expected);
    DeleteFileA(path.c_str());
  }
}

// The message quotes the path exactly as passed: not trimmed, not made absolute or normal.
TEST_F(FileInfoTest, FileSizeRefusesFoldersAndMissingFiles) {
  ScratchDir dir;
  const std::string file = dir.Write("present.txt", "x");
  for (const std::string& path : {dir.path(), dir.path() + "\\", dir.File("missing.txt"),
                                  " " + file, dir.File("sub\\..\\missing.txt"), std::string()}) {
    host.SetVar("LastError", "before");
    EXPECT_FALSE(host.Exec("kxFileSize", {path, "[Result]"})) << path;
    EXPECT_EQ(Result(), "False") << path;
    // The string table's text, as this locale's code page renders it.
    EXPECT_EQ(LastError(), FileNotFoundText(path)) << path;
    EXPECT_EQ(LastError(), Ansi(InEdition("Файл \"", "File \"")) + path +
                               Ansi(InEdition("\" не существует.", "\" does not exist.")))
        << path;
  }
}

TEST_F(FileInfoTest, TempFilePathDropsDotsFromTheExtension) {
  char temp[MAX_PATH + 1] = {};
  const std::string folder(temp, GetTempPathA(MAX_PATH, temp));
  const struct {
    std::string extension, suffix;
  } rows[] = {
      {".txt", ".txt"}, {"txt", ".txt"}, {"..txt", ".txt"}, {"t.x.t", ".txt"},
      {"", ""},         {"   ", ""},     {".", ""},
  };
  for (const auto& row : rows) {
    ASSERT_TRUE(host.Exec("kxTempFilePath", {row.extension, "[Result]"})) << row.extension;
    const std::string path = Result();
    ASSERT_EQ(path.size(), folder.size() + 38 + row.suffix.size()) << row.extension << " " << path;
    EXPECT_EQ(path.substr(0, folder.size()), folder) << row.extension;
    EXPECT_EQ(path[folder.size()], '{') << row.extension;
    EXPECT_EQ(path[folder.size() + 37], '}') << row.extension;
    EXPECT_EQ(path.substr(folder.size() + 38), row.suffix) << row.extension;
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << "created " << path;
  }
}

TEST_F(FileInfoTest, TempFilePathNeverRepeats) {
  ASSERT_TRUE(host.Exec("kxTempFilePath", {"tmp", "[A]"}));
  ASSERT_TRUE(host.Exec("kxTempFilePath", {"tmp", "[B]"}));
  EXPECT_NE(host.Value("A"), host.Value("B"));
}

TEST_F(FileInfoTest, LongAndShortPathRoundTrip) {
  ScratchDir dir;
  const std::string longPath = dir.Write("Long file name here.txt", "x");
  ASSERT_TRUE(host.Exec("kxFileShortPath", {longPath, "[Short]"}));
  const std::string shortPath = host.Value("Short");
  // Wine makes 8.3 aliases for long names as Windows does with 8.3 creation on.
  EXPECT_NE(shortPath, longPath);
  EXPECT_EQ(shortPath.find(' '), std::string::npos) << shortPath;
  EXPECT_EQ(shortPath.size() - shortPath.rfind('\\') - 1, 12u) << shortPath;  // NAME~XYZ.TXT

  ASSERT_TRUE(host.Exec("kxFileLongPath", {shortPath, "[Result]"}));
  EXPECT_EQ(Result(), longPath);
}

TEST_F(FileInfoTest, LongAndShortPathRefuseFoldersAndMissingFiles) {
  ScratchDir dir;
  for (const char* action : {"kxFileLongPath", "kxFileShortPath"}) {
    for (const std::string& path : {dir.path(), dir.File("missing.txt"), dir.path() + "\\ x "}) {
      EXPECT_FALSE(host.Exec(action, {path, "[Result]"})) << action << " " << path;
      EXPECT_EQ(Result(), "False");
      EXPECT_EQ(LastError(), FileNotFoundText(path)) << action << " " << path;
      EXPECT_EQ(LastError(), Ansi(InEdition("Файл \"", "File \"")) + path +
                                 Ansi(InEdition("\" не существует.", "\" does not exist.")))
          << path;
    }
  }
}

// A short path of many three-character components whose aliases are eight characters long:
// the input fits in MAX_PATH, the short form does not. The answer is the whole path or a
// reported failure, never a path cut at 260 characters.
TEST_F(FileInfoTest, ShortPathBeyondMaxPathIsWholeOrRefused) {
  ScratchDir dir;
  std::string longPath = dir.path();
  while (longPath.size() < 230) {
    longPath += "\\a b";
    ASSERT_TRUE(CreateDirectoryA(longPath.c_str(), nullptr)) << longPath;
  }
  longPath += "\\f";
  ASSERT_TRUE(MakeSparseFile(longPath, 1));
  const std::string whole = ShortPathW(longPath);
  ASSERT_GT(whole.size(), size_t{MAX_PATH}) << whole;

  const bool ok = host.Exec("kxFileShortPath", {longPath, "[Result]"});
  if (ok) {
    EXPECT_EQ(Result(), whole);
  } else {
    // Wine's ANSI entry point stops at MAX_PATH and says so.
    EXPECT_EQ(Result(), "False");
    EXPECT_EQ(LastError(), SystemErrorText(ERROR_FILENAME_EXCED_RANGE));
  }
}

TEST_F(FileInfoTest, FileTypeNameAlwaysSucceeds) {
  ScratchDir dir;
  host.SetVar("LastError", "before");
  ASSERT_TRUE(host.Exec("kxFileTypeName", {dir.path(), "[Folder]"}));
  EXPECT_NE(host.Value("Folder"), "");
  ASSERT_TRUE(host.Exec("kxFileTypeName", {dir.File("missing.xyz"), "[Result]"}));
  EXPECT_EQ(Result(), "");
  EXPECT_EQ(LastError(), "before");
}

TEST_F(FileInfoTest, ParentDirResolvesFilesFoldersAndRoots) {
  ScratchDir dir;
  const std::string file = dir.Write("file.txt", "x");
  char current[MAX_PATH + 1] = {};
  std::string cwd(current, GetCurrentDirectoryA(MAX_PATH, current));
  if (cwd.back() != '\\') cwd += '\\';
  const std::string above = dir.path().substr(0, dir.path().rfind('\\') + 1);
  const struct {
    std::string path, expected;
  } rows[] = {
      {file, dir.path() + "\\"},
      {dir.path(), above},
      {dir.path() + "\\", above},
      {"C:\\a\\b\\file.txt", "C:\\a\\b\\"},
      {"C:\\a\\b", "C:\\a\\"},
      {"C:\\a\\b\\", "C:\\a\\"},
      {"C:\\", "C:\\"},
      {"C:", "C:\\"},
      {"C:\\a\\..\\b\\c", "C:\\b\\"},
      {"rel\\file.txt", cwd + "rel\\"},
  };
  for (const auto& row : rows) {
    EXPECT_TRUE(host.Exec("kxParentDir", {row.path, "[Result]"})) << row.path;
    EXPECT_EQ(Result(), row.expected) << row.path;
  }
}

// "\.." pushed valid paths of 257 to 260 characters past MAX_PATH and they got "False".
TEST_F(FileInfoTest, ParentDirAnswersPathsOfAnyLength) {
  const std::string folder = "C:\\" + std::string(100, 'd') + "\\";
  host.SetVar("LastError", "before");
  for (const size_t length : {256u, 257u, 258u, 259u, 260u, 300u, 1000u}) {
    const std::string path = folder + std::string(length - folder.size(), 'f');
    EXPECT_TRUE(host.Exec("kxParentDir", {path, "[Result]"})) << length;
    EXPECT_EQ(Result(), folder) << length;
  }
  // Past what even the wide calls take, the backslashes alone tell the parent.
  EXPECT_TRUE(host.Exec("kxParentDir", {folder + std::string(40000, 'f') + "\\", "[Result]"}));
  EXPECT_EQ(Result(), folder);
  EXPECT_EQ(LastError(), "before");
}

TEST_F(FileInfoTest, DirIsEmpty) {
  ScratchDir dir;
  const std::string empty = dir.File("empty"), hidden = dir.File("hidden"),
                    nested = dir.File("nested");
  ASSERT_TRUE(CreateDirectoryA(empty.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(hidden.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(nested.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((nested + "\\inner").c_str(), nullptr));
  const std::string hiddenFile = dir.Write("hidden\\.secret", "x");
  ASSERT_TRUE(SetFileAttributesA(hiddenFile.c_str(), FILE_ATTRIBUTE_HIDDEN));
  const std::string file = dir.Write("file.txt", "x");
  const struct {
    std::string path, expected;
  } rows[] = {
      {empty, "True"},   {empty + "\\", "True"},         {hidden, "False"},
      {nested, "False"}, {dir.File("missing"), "False"}, {file, "False"},
  };
  host.SetVar("LastError", "before");
  for (const auto& row : rows) {
    EXPECT_TRUE(host.Exec("kxDirIsEmpty", {row.path, "[Result]"})) << row.path;
    EXPECT_EQ(Result(), row.expected) << row.path;
  }
  EXPECT_EQ(LastError(), "before");
}

}  // namespace
