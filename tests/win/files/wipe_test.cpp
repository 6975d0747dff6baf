// kxWipeFile: the bytes of every pass, seen at its flush, against the plug-in's generator
// seeded with a fixed counter.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/failures.h"
#include "core/host_io.h"
#include "fixture.h"
#include "pure/random.h"
#include "seam_fixture.h"

namespace {

constexpr std::uint32_t kSeed = 0x00ABCDEF;
std::vector<std::string> g_passes;

BOOL WINAPI FixedCounter(LARGE_INTEGER* counter) {
  counter->QuadPart = 0x12345678'00000000LL | kSeed;  // only the low half seeds
  return TRUE;
}

// The file as this pass left it, read through the wipe's own handle: nobody else may open it.
BOOL WINAPI RecordingFlush(HANDLE file) {
  LARGE_INTEGER size{};
  GetFileSizeEx(file, &size);
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN);
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  g_passes.push_back(std::move(bytes));
  return FlushFileBuffers(file);
}

// Each pass: 1025 fresh draws of range 256, repeated over the file, the last copy cut.
std::vector<std::string> ExpectedPasses(int passes, std::size_t size) {
  PluginRandom generator;
  generator.Seed(kSeed);
  std::vector<std::string> expected;
  for (int pass = 0; pass < passes; ++pass) {
    std::string pattern(1025, '\0');
    for (char& byte : pattern) byte = static_cast<char>(generator.Next(256));
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = pattern[i % 1025];
    expected.push_back(std::move(bytes));
  }
  return expected;
}

class WipeTest : public SeamTest {
 protected:
  ScratchDir dir;
  void SetUp() override {
    Seams().queryPerformanceCounter = &FixedCounter;
    Seams().flushFileBuffers = &RecordingFlush;
    g_passes.clear();
  }
};

TEST_F(WipeTest, EveryPassWritesTheGeneratorsBytesOverTheOldSize) {
  const struct {
    std::size_t size;
    std::string cycles;
    int passes;
  } rows[] = {
      {3000, "1", 6},                                // 1025 + 1025 + 950 per pass
      {0, "1", 6},    {1025 * 1023 + 5000, "0", 3},  // past the first large block
      {1, "abc", 6},  {10, "", 6},
      {10, " 2", 9},
  };
  for (const auto& row : rows) {
    g_passes.clear();
    const std::string path = dir.Write("secret.bin", std::string(row.size, 'S'));
    ASSERT_TRUE(host.Exec("kxWipeFile", {path, row.cycles, "[Result]"}))
        << row.cycles << LastError();
    EXPECT_EQ(Result(), "True") << row.size;
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << row.size;
    const std::vector<std::string> expected = ExpectedPasses(row.passes, row.size);
    ASSERT_EQ(g_passes.size(), expected.size()) << row.size << " " << row.cycles;
    for (std::size_t pass = 0; pass < expected.size(); ++pass)
      EXPECT_TRUE(g_passes[pass] == expected[pass]) << row.size << " pass " << pass;
  }
}

TEST_F(WipeTest, CountsOutsideAByteAreRefusedAndTheFileKept) {
  const std::string path = dir.Write("keep.txt", "keep");
  for (const std::string cycles : {"256", "-1", "300", "$FFFFFFFF"}) {
    EXPECT_FALSE(host.Exec("kxWipeFile", {path, cycles, "[Result]"})) << cycles;
    EXPECT_EQ(Result(), "False") << cycles;
    EXPECT_EQ(LastError(), "Invalid \"kxWipeFile\" action arguments") << cycles;
  }
  EXPECT_TRUE(g_passes.empty());
  EXPECT_EQ(ReadFileBytes(path), "keep");
}

TEST_F(WipeTest, MissingFilesAndFolders) {
  for (const std::string path : {dir.File("missing.txt"), dir.path(), std::string()}) {
    EXPECT_FALSE(host.Exec("kxWipeFile", {path, "1", "[Result]"})) << path;
    EXPECT_EQ(Result(), "False") << path;
    EXPECT_EQ(LastError(), FileNotFoundText(path)) << path;
  }
}

}  // namespace
