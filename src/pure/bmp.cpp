#include "pure/bmp.h"

#include <limits>

namespace {

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

constexpr bool IsBmpDepth(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

int BmpDepthForDisplay(int displayBits) {
  if (displayBits == 15) return 16;
  return IsBmpDepth(displayBits) ? displayBits : 32;
}

std::uint64_t BmpRowStride(std::uint64_t width, int bitsPerPixel) {
  const std::uint64_t bits = width * static_cast<std::uint64_t>(bitsPerPixel);
  return (bits + 31) / 32 * 4;
}

std::optional<BmpLayout> PlanBmp(std::int64_t width, std::int64_t height, int bitsPerPixel) {
  // Sides are signed 32-bit in the header; keeping them far below that also keeps every
  // product below from overflowing.
  constexpr std::int64_t kMaxSide = std::numeric_limits<std::int32_t>::max();
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return std::nullopt;
  if (!IsBmpDepth(bitsPerPixel)) return std::nullopt;
  BmpLayout layout;
  layout.width = static_cast<std::uint32_t>(width);
  layout.height = static_cast<std::uint32_t>(height);
  layout.bitsPerPixel = static_cast<std::uint16_t>(bitsPerPixel);
  layout.paletteEntries = bitsPerPixel <= 8 ? 1u << bitsPerPixel : 0;
  const std::uint64_t stride = BmpRowStride(layout.width, bitsPerPixel);
  const std::uint64_t offset =
      kBmpFileHeaderSize + kBmpInfoHeaderSize + 4ull * layout.paletteEntries;
  const std::uint64_t size = offset + stride * layout.height;
  if (size > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  layout.rowStride = static_cast<std::uint32_t>(stride);
  layout.pixelOffset = static_cast<std::uint32_t>(offset);
  layout.fileSize = static_cast<std::uint32_t>(size);
  return layout;
}

std::string BmpHeaders(const BmpLayout& layout) {
  std::string out;
  out.reserve(kBmpFileHeaderSize + kBmpInfoHeaderSize);
  out += "BM";
  PutLittleEndian(out, layout.fileSize, 4);
  PutLittleEndian(out, 0, 4);  // two reserved words
  PutLittleEndian(out, layout.pixelOffset, 4);

  PutLittleEndian(out, kBmpInfoHeaderSize, 4);
  PutLittleEndian(out, layout.width, 4);
  PutLittleEndian(out, layout.height, 4);  // positive: bottom row first
  PutLittleEndian(out, 1, 2);              // planes
  PutLittleEndian(out, layout.bitsPerPixel, 2);
  PutLittleEndian(out, 0, 4);  // uncompressed
  PutLittleEndian(out, layout.fileSize - layout.pixelOffset, 4);
  PutLittleEndian(out, 0, 4);  // no preferred resolution
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, 0, 4);  // colours used: the whole table of the depth
  PutLittleEndian(out, 0, 4);  // all colours important
  return out;
}
