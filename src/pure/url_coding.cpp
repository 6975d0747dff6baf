#include "pure/url_coding.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

constexpr bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_';
}

// Eight bytes tested at once, as lanes of a 64-bit word.
constexpr std::uint64_t EveryByte(unsigned char b) { return 0x0101010101010101ull * b; }
constexpr std::uint64_t kTopBits = EveryByte(0x80);
// The top bit of each lane is set where lo <= byte <= hi, for bytes below 0x80: their sums
// stay inside the lane.
constexpr std::uint64_t InRange(std::uint64_t word, unsigned char lo, unsigned char hi) {
  return (word + EveryByte(0x80 - lo)) & ~(word + EveryByte(0x7F - hi));
}
// The top bit of each lane that holds a plain character. A byte from 0x80 up is never plain;
// its sums may carry into the next lane, but the word then is not all plain anyway.
constexpr std::uint64_t PlainLanes(std::uint64_t word) {
  const std::uint64_t plain = InRange(word | EveryByte(0x20), 'a', 'z') |  // either case
                              InRange(word, '0', '9') | InRange(word, '-', '.') |
                              InRange(word, '_', '_');
  return plain & ~word & kTopBits;
}

struct ByteTable {
  bool unreserved[256];
  char escape[256][2];  // the two hexadecimal digits
};
constexpr ByteTable MakeByteTable() {
  ByteTable table{};
  for (int c = 0; c < 256; ++c) {
    table.unreserved[c] = IsUnreserved(static_cast<unsigned char>(c));
    table.escape[c][0] = kHexDigits[c >> 4];
    table.escape[c][1] = kHexDigits[c & 15];
  }
  return table;
}
constexpr ByteTable kBytes = MakeByteTable();

constexpr int kNotHex = -1;
constexpr std::array<signed char, 256> MakeHexValues() {
  std::array<signed char, 256> values{};
  for (auto& v : values) v = kNotHex;
  for (int i = 0; i < 10; ++i) values['0' + i] = static_cast<signed char>(i);
  for (int i = 0; i < 6; ++i) {
    values['A' + i] = static_cast<signed char>(10 + i);
    values['a' + i] = static_cast<signed char>(10 + i);
  }
  return values;
}
constexpr std::array<signed char, 256> kHexValues = MakeHexValues();

// The end of the run of plain characters that starts at `p`.
const unsigned char* SkipPlain(const unsigned char* p, const unsigned char* end) {
  std::uint64_t words[2];
  for (; end - p >= 16; p += 16) {
    std::memcpy(words, p, 16);
    if ((PlainLanes(words[0]) & PlainLanes(words[1])) != kTopBits) break;
  }
  for (; end - p >= 8; p += 8) {
    std::memcpy(words, p, 8);
    if (PlainLanes(words[0]) != kTopBits) break;
  }
  while (p != end && kBytes.unreserved[*p]) ++p;
  return p;
}

}  // namespace

std::string UrlEncode(std::string_view text) {
  const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = begin + text.size();
  const auto* p = SkipPlain(begin, end);
  if (p == end) return std::string(text);
  // Room for the worst case from the first escape on, cut to the real length at the end
  // (which never reallocates).
  const auto prefix = static_cast<std::size_t>(p - begin);
  std::string out(prefix + (text.size() - prefix) * 3, '\0');
  std::memcpy(out.data(), begin, prefix);
  char* o = out.data() + prefix;
  while (p != end) {
    for (; p != end && !kBytes.unreserved[*p]; ++p, o += 3) {
      o[0] = '%';
      std::memcpy(o + 1, kBytes.escape[*p], 2);
    }
    const auto* const run = p;
    p = SkipPlain(p, end);
    std::memcpy(o, run, static_cast<std::size_t>(p - run));
    o += p - run;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::string UrlDecode(std::string_view text) {
  std::string out(text.size(), '\0');
  char* o = out.data();
  std::size_t at = 0;
  while (at < text.size()) {
    const void* found = std::memchr(text.data() + at, '%', text.size() - at);
    const std::size_t escape =
        found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data())
              : text.size();
    std::memcpy(o, text.data() + at, escape - at);
    o += escape - at;
    if (escape == text.size()) break;
    const std::size_t left = text.size() - escape - 1;
    if (left == 0) return {};
    const int high = kHexValues[static_cast<unsigned char>(text[escape + 1])];
    if (high == kNotHex) return {};
    if (left == 1) {
      *o++ = static_cast<char>(high);
      break;
    }
    const int low = kHexValues[static_cast<unsigned char>(text[escape + 2])];
    if (low == kNotHex) return {};
    *o++ = static_cast<char>(high << 4 | low);
    at = escape + 3;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}
