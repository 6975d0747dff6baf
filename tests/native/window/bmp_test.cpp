#include "pure/bmp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::uint32_t At(const std::string& bytes, std::size_t offset, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes.at(offset + i));
  return value;
}

TEST(Bmp, RowsArePaddedToFourBytes) {
  const struct {
    std::uint64_t width;
    int bits;
    std::uint64_t stride;
  } rows[] = {
      {1, 1, 4},  {32, 1, 4},  {33, 1, 8},  {1, 4, 4},   {8, 4, 4},  {9, 4, 8},
      {3, 8, 4},  {4, 8, 4},   {5, 8, 8},   {1, 16, 4},  {2, 16, 4}, {3, 16, 8},
      {1, 24, 4}, {3, 24, 12}, {4, 24, 12}, {5, 24, 16}, {1, 32, 4}, {1280, 32, 5120},
  };
  for (const auto& row : rows)
    EXPECT_EQ(BmpRowStride(row.width, row.bits), row.stride) << row.width << "x" << row.bits;
}

TEST(Bmp, DisplayDepths) {
  const int rows[][2] = {{1, 1},   {4, 4},   {8, 8},  {15, 16}, {16, 16},
                         {24, 24}, {32, 32}, {0, 32}, {2, 32},  {64, 32}};
  for (const auto& row : rows) EXPECT_EQ(BmpDepthForDisplay(row[0]), row[1]) << row[0];
}

TEST(Bmp, HeadersOfATrueColourPicture) {
  const auto layout = PlanBmp(3, 2, 24);
  ASSERT_TRUE(layout);
  const std::string headers = BmpHeaders(*layout);
  ASSERT_EQ(headers.size(), 54u);
  EXPECT_EQ(headers.substr(0, 2), "BM");
  EXPECT_EQ(At(headers, 2, 4), 54u + 2 * 12);  // file size: rows of 9 bytes padded to 12
  EXPECT_EQ(At(headers, 6, 4), 0u);
  EXPECT_EQ(At(headers, 10, 4), 54u);  // pixels right after the headers
  EXPECT_EQ(At(headers, 14, 4), 40u);
  EXPECT_EQ(At(headers, 18, 4), 3u);
  EXPECT_EQ(At(headers, 22, 4), 2u);  // positive height: bottom-up
  EXPECT_EQ(At(headers, 26, 2), 1u);
  EXPECT_EQ(At(headers, 28, 2), 24u);
  EXPECT_EQ(At(headers, 30, 4), 0u);  // BI_RGB
  EXPECT_EQ(At(headers, 34, 4), 24u);
  for (std::size_t offset : {38u, 42u, 46u, 50u}) EXPECT_EQ(At(headers, offset, 4), 0u) << offset;
}

TEST(Bmp, PaletteDepthsCarryTheirColourTable) {
  const struct {
    int bits;
    std::uint32_t entries;
  } rows[] = {{1, 2}, {4, 16}, {8, 256}, {16, 0}, {32, 0}};
  for (const auto& row : rows) {
    const auto layout = PlanBmp(10, 10, row.bits);
    ASSERT_TRUE(layout) << row.bits;
    EXPECT_EQ(layout->paletteEntries, row.entries) << row.bits;
    EXPECT_EQ(layout->pixelOffset, 54 + 4 * row.entries) << row.bits;
    EXPECT_EQ(layout->fileSize, layout->pixelOffset + 10 * BmpRowStride(10, row.bits)) << row.bits;
    EXPECT_EQ(At(BmpHeaders(*layout), 10, 4), layout->pixelOffset) << row.bits;
  }
}

TEST(Bmp, RefusesWhatTheFormatCannotHold) {
  const struct {
    std::int64_t width, height;
    int bits;
  } rows[] = {
      {0, 10, 32},       {10, 0, 32},  {-1, 10, 32}, {10, -5, 32},       {10, 10, 0},
      {10, 10, 2},       {10, 10, 15}, {10, 10, 48}, {65536, 65536, 32},  // 16 GiB of rows
      {1ll << 31, 1, 1},  // wider than the signed 32-bit field
  };
  for (const auto& row : rows)
    EXPECT_FALSE(PlanBmp(row.width, row.height, row.bits))
        << row.width << "x" << row.height << "x" << row.bits;
  // The largest 32-bit picture whose file size still fits.
  const auto edge = PlanBmp(16383, 65535, 32);
  ASSERT_TRUE(edge);
  EXPECT_EQ(edge->fileSize, 54u + 16383u * 4u * 65535u);
}

}  // namespace
