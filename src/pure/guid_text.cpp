#include "pure/guid_text.h"

namespace {
void AppendHex(std::string& out, std::uint64_t value, int digits) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}
}  // namespace

std::string GuidText(std::uint32_t data1, std::uint16_t data2, std::uint16_t data3,
                     const std::uint8_t (&data4)[8]) {
  std::string out = "{";
  AppendHex(out, data1, 8);
  out += '-';
  AppendHex(out, data2, 4);
  out += '-';
  AppendHex(out, data3, 4);
  out += '-';
  for (int i = 0; i < 2; ++i) AppendHex(out, data4[i], 2);
  out += '-';
  for (int i = 2; i < 8; ++i) AppendHex(out, data4[i], 2);
  out += '}';
  return out;
}
