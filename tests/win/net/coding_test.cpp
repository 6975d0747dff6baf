// URL and Base64 coding through the real exports, on texts and on files in a scratch folder.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/failures.h"
#include "core/host_io.h"
#include "encoding.h"
#include "fixture.h"
#include "pure/base64.h"

namespace {

using CodingTest = PluginTest;

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (auto& b : bytes) b = static_cast<char>(generator() & 0xFF);
  return bytes;
}

// Both directions always succeed and hand the bytes back untouched by any code page.
TEST_F(CodingTest, UrlCodingRows) {
  const struct {
    const char* action;
    std::string text, expected;
  } rows[] = {
      {"kxUrlEncode", "a b&c", "a%20b%26c"},
      {"kxUrlEncode", "A-Z_a.z~", "A-Z_a.z%7E"},
      {"kxUrlEncode", "", ""},
      {"kxUrlEncode", "\xCA\xE8\xF0\xE8\xEB\xEB\xE8\xF6\xE0", "%CA%E8%F0%E8%EB%EB%E8%F6%E0"},
      {"kxUrlDecode", "a%20b", "a b"},
      {"kxUrlDecode", "%41%4a", "AJ"},
      {"kxUrlDecode", "100%", ""},
      {"kxUrlDecode", "%G1", ""},
      {"kxUrlDecode", "a+b", "a+b"},
      {"kxUrlDecode", "A%4", "A\x04"},
      {"kxUrlDecode", "%CA%E8%F0%E8%EB%EB%E8%F6%E0", "\xCA\xE8\xF0\xE8\xEB\xEB\xE8\xF6\xE0"},
      // A zero byte ends a host text: what follows it cannot reach the variable.
      {"kxUrlDecode", "ab%00cd", "ab"},
  };
  for (const auto& row : rows) {
    host.SetVar("LastError", "before");
    EXPECT_TRUE(host.Exec(row.action, {row.text, "[Result]"})) << row.action << " " << row.text;
    EXPECT_EQ(Result(), row.expected) << row.action << " " << row.text;
    EXPECT_EQ(LastError(), "before") << row.action << " " << row.text;
  }
}

TEST_F(CodingTest, Base64TextRows) {
  const struct {
    const char* action;
    std::string text, expected;
  } rows[] = {
      {"kxBase64EncodeStr", "abc", "YWJj"}, {"kxBase64EncodeStr", "ab", "YWI="},
      {"kxBase64EncodeStr", "a", "YQ=="},   {"kxBase64EncodeStr", "", ""},
      {"kxBase64DecodeStr", "YWJj", "abc"}, {"kxBase64DecodeStr", "Zm9vYmE=", "fooba"},
      {"kxBase64DecodeStr", "", ""},        {"kxBase64DecodeStr", "YWJj\r\nYW", "abc"},
      {"kxBase64DecodeStr", "AGJj", ""},  // decodes to a zero byte first
  };
  for (const auto& row : rows) {
    EXPECT_TRUE(host.Exec(row.action, {row.text, "[Result]"})) << row.action << " " << row.text;
    EXPECT_EQ(Result(), row.expected) << row.action << " " << row.text;
  }
}

TEST_F(CodingTest, Base64TextRoundTripsEveryHostByte) {
  std::string bytes;
  for (int c = 1; c < 256; ++c) bytes += static_cast<char>(c);
  for (std::size_t size = 0; size <= bytes.size(); size += 17) {
    const std::string text = bytes.substr(bytes.size() - size);
    ASSERT_TRUE(host.Exec("kxBase64EncodeStr", {text, "[Encoded]"})) << size;
    ASSERT_TRUE(host.Exec("kxBase64DecodeStr", {host.Value("Encoded"), "[Result]"})) << size;
    EXPECT_EQ(Result(), text) << size;
  }
}

TEST_F(CodingTest, EncodeFileGivesOneLine) {
  ScratchDir dir;
  const std::string bytes = RandomBytes(100000, 1);
  const std::string path = dir.Write("data.bin", bytes);
  ASSERT_TRUE(host.Exec("kxBase64EncodeFile", {path, "[Result]"}));
  const std::string text = Result();
  EXPECT_EQ(text.size(), 133336u);
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(Base64Decode(text), bytes);

  // Sizes around the reading piece (3 * 64 KiB), and the empty file.
  for (const std::size_t size : {std::size_t{0}, std::size_t{196607}, std::size_t{196608},
                                 std::size_t{196609}, std::size_t{3 * 196608 + 2}}) {
    const std::string piece = RandomBytes(size, static_cast<unsigned>(size));
    const std::string file = dir.Write("piece.bin", piece);
    ASSERT_TRUE(host.Exec("kxBase64EncodeFile", {file, "[Result]"})) << size;
    EXPECT_EQ(Result(), Base64Encode(piece)) << size;
  }
}

TEST_F(CodingTest, EncodeFileFailures) {
  ScratchDir dir;
  const std::string missing = dir.File("missing.bin");
  for (const std::string& path : {missing, dir.path(), std::string()}) {
    host.SetVar("Result", "before");
    EXPECT_FALSE(host.Exec("kxBase64EncodeFile", {path, "[Result]"})) << path;
    EXPECT_EQ(Result(), "False") << path;
    EXPECT_EQ(LastError(), FileNotFoundText(path)) << path;
  }
}

TEST_F(CodingTest, DecodeFileWritesTheBytes) {
  ScratchDir dir;
  const std::string path = dir.File("out.bin");
  ASSERT_TRUE(host.Exec("kxBase64DecodeFile", {"", path, "[Result]"}));
  EXPECT_EQ(Result(), "True");
  EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(ReadFileBytes(path), "");

  // Zero bytes and a text longer than the decoding piece reach the file whole; an older,
  // longer file of the same name is cut to the new content.
  dir.Write("old.bin", std::string(2000000, 'x'));
  const std::string bytes = RandomBytes(700001, 2);
  ASSERT_TRUE(
      host.Exec("kxBase64DecodeFile", {Base64Encode(bytes), dir.File("old.bin"), "[Result]"}));
  EXPECT_EQ(Result(), "True");
  EXPECT_EQ(ReadFileBytes(dir.File("old.bin")), bytes);
}

// A Russian user's files have Russian names: the ANSI path must reach the file system intact
// (under Wine this needs the machine's ru_RU.UTF-8 locale, which install-deps generates).
TEST_F(CodingTest, CyrillicFileNamesRoundTripInTheRussianCodePage) {
  SKIP_UNLESS_RUSSIAN();
  ScratchDir dir;
  const std::string path = dir.File(Cp1251("Блокнот.txt"));
  ASSERT_TRUE(host.Exec("kxBase64DecodeFile", {"SGVsbG8=", path, "[Result]"})) << LastError();
  ASSERT_TRUE(host.Exec("kxBase64EncodeFile", {path, "[Result]"})) << LastError();
  EXPECT_EQ(Result(), "SGVsbG8=");
  ASSERT_TRUE(host.Exec("kxFileSize", {path, "[Result]"})) << LastError();
  EXPECT_EQ(Result(), "5");
}

}  // namespace
