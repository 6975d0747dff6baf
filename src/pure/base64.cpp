#include "pure/base64.h"

#include <array>
#include <bit>
#include <cstring>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr unsigned char kPadValue = 64, kOutside = 255;

// Two output characters for every 12-bit half of a 3-byte group: one lookup per half instead
// of a shift, mask and lookup per character.
struct PairTable {
  char pairs[4096][2];
};
constexpr PairTable MakePairs() {
  PairTable table{};
  for (int i = 0; i < 4096; ++i) {
    table.pairs[i][0] = kAlphabet[i >> 6];
    table.pairs[i][1] = kAlphabet[i & 63];
  }
  return table;
}
constexpr PairTable kPairs = MakePairs();

constexpr std::array<unsigned char, 256> MakeValues() {
  std::array<unsigned char, 256> values{};
  for (auto& v : values) v = kOutside;
  for (int i = 0; i < 64; ++i)
    values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<unsigned char>(i);
  values['='] = kPadValue;
  return values;
}
constexpr std::array<unsigned char, 256> kValues = MakeValues();

// Each character's six bits already in their place within the 24-bit group, so a group is
// four lookups and three ORs; anything that is not a plain alphabet character (the pad too)
// sets bit 31 and sends the group to the careful path.
constexpr std::uint32_t kNotPlain = 0x80000000u;
struct ShiftedTables {
  std::uint32_t at[4][256];
};
constexpr ShiftedTables MakeShifted() {
  ShiftedTables tables{};
  for (int place = 0; place < 4; ++place) {
    for (int c = 0; c < 256; ++c) {
      const unsigned char v = kValues[static_cast<std::size_t>(c)];
      tables.at[place][c] = v < 64 ? std::uint32_t{v} << (18 - 6 * place) : kNotPlain;
    }
  }
  return tables;
}
constexpr ShiftedTables kShifted = MakeShifted();

}  // namespace

void Base64EncodeTo(const unsigned char* bytes, std::size_t size, char* out) {
  // Two groups per step: one 8-byte load of which 6 bytes are used, four pair lookups and
  // one 8-character store (x86 and x86-64 are little-endian).
  static_assert(std::endian::native == std::endian::little);
  const auto six = [](const unsigned char* from, char* to) {
    std::uint64_t word;
    std::memcpy(&word, from, 8);
    word = __builtin_bswap64(word);
    std::uint16_t pairs[4];
    std::memcpy(&pairs[0], kPairs.pairs[word >> 52], 2);
    std::memcpy(&pairs[1], kPairs.pairs[(word >> 40) & 0xFFF], 2);
    std::memcpy(&pairs[2], kPairs.pairs[(word >> 28) & 0xFFF], 2);
    std::memcpy(&pairs[3], kPairs.pairs[(word >> 16) & 0xFFF], 2);
    const std::uint64_t chars = std::uint64_t{pairs[0]} | std::uint64_t{pairs[1]} << 16 |
                                std::uint64_t{pairs[2]} << 32 | std::uint64_t{pairs[3]} << 48;
    std::memcpy(to, &chars, 8);
  };
  // Two such steps at a time, independent of each other.
  for (; size >= 14; size -= 12, bytes += 12, out += 16) {
    six(bytes, out);
    six(bytes + 6, out + 8);
  }
  for (; size >= 8; size -= 6, bytes += 6, out += 8) six(bytes, out);
  for (; size >= 3; size -= 3, bytes += 3, out += 4) {
    const std::uint32_t group =
        std::uint32_t{bytes[0]} << 16 | std::uint32_t{bytes[1]} << 8 | bytes[2];
    std::memcpy(out, kPairs.pairs[group >> 12], 2);
    std::memcpy(out + 2, kPairs.pairs[group & 0xFFF], 2);
  }
  if (size == 0) return;
  const std::uint32_t group =
      std::uint32_t{bytes[0]} << 16 | (size == 2 ? std::uint32_t{bytes[1]} << 8 : 0u);
  std::memcpy(out, kPairs.pairs[group >> 12], 2);
  out[2] = size == 2 ? kAlphabet[(group >> 6) & 63] : '=';
  out[3] = '=';
}

std::string Base64Encode(std::string_view bytes) {
  std::string text(Base64EncodedSize(bytes.size()), '\0');
  Base64EncodeTo(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), text.data());
  return text;
}

std::size_t Base64Decoder::Decode(const char* text, std::size_t size, unsigned char* out) {
  const auto* in = reinterpret_cast<const unsigned char*>(text);
  const auto* const end = in + size;
  unsigned char* const start = out;
  const auto& t = kShifted.at;
  while (!finished_ && in != end) {
    if (pending_ == 0) {
      while (end - in >= 4) {
        const std::uint32_t group = t[0][in[0]] | t[1][in[1]] | t[2][in[2]] | t[3][in[3]];
        if (group & kNotPlain) break;
        out[0] = static_cast<unsigned char>(group >> 16);
        out[1] = static_cast<unsigned char>(group >> 8);
        out[2] = static_cast<unsigned char>(group);
        out += 3;
        in += 4;
      }
      if (in == end) break;
    }
    // One character at a time until the group in hand is complete again.
    const unsigned char value = kValues[*in++];
    if (value == kOutside) continue;
    group_[pending_++] = value;
    if (pending_ < 4) continue;
    pending_ = 0;
    int data = 0;  // characters before the first pad
    while (data < 4 && group_[data] != kPadValue) ++data;
    std::uint32_t bits = 0;  // a pad counts as zero bits; the bytes it covers are not written
    for (const unsigned char v : group_) bits = bits << 6 | (v & 63u);
    const int bytes = data == 4 ? 3 : (data >= 2 ? data - 1 : 0);
    for (int i = 0; i < bytes; ++i) *out++ = static_cast<unsigned char>(bits >> (16 - 8 * i));
    finished_ = data < 4;
  }
  return static_cast<std::size_t>(out - start);
}

std::string Base64Decode(std::string_view text) {
  std::string bytes(Base64DecodedBound(text.size()), '\0');
  Base64Decoder decoder;
  bytes.resize(
      decoder.Decode(text.data(), text.size(), reinterpret_cast<unsigned char*>(bytes.data())));
  return bytes;
}
