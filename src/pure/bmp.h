// The Windows bitmap file as the screenshots write it: a 14-byte file header, a 40-byte
// information header, the colour table of a palette depth, then the uncompressed rows,
// bottom row first, each padded to a multiple of four bytes.
// No Windows header here: this builds natively for unit tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

inline constexpr std::uint32_t kBmpFileHeaderSize = 14;
inline constexpr std::uint32_t kBmpInfoHeaderSize = 40;

struct BmpLayout {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint16_t bitsPerPixel = 0;
  std::uint32_t paletteEntries = 0;  // 2, 16 or 256 for the palette depths, else 0
  std::uint32_t rowStride = 0;       // bytes per row, padding included
  std::uint32_t pixelOffset = 0;     // where the first (bottom) row starts
  std::uint32_t fileSize = 0;
};

// The depth a display of `displayBits` is saved at: 1, 4, 8, 16, 24 and 32 as they are, 15
// as 16 (the file's 16-bit rows are 5-5-5), anything else as 32.
int BmpDepthForDisplay(int displayBits);

// Bytes in one row of `width` pixels at `bitsPerPixel`, padded to four bytes.
std::uint64_t BmpRowStride(std::uint64_t width, int bitsPerPixel);

// Null when a side is not positive, the depth is not one of 1, 4, 8, 16, 24, 32, or the file
// would not fit the 32-bit sizes of its headers.
std::optional<BmpLayout> PlanBmp(std::int64_t width, std::int64_t height, int bitsPerPixel);

// The file header and the information header (54 bytes, little-endian); the colour table
// (paletteEntries four-byte entries) and the rows follow.
std::string BmpHeaders(const BmpLayout& layout);
