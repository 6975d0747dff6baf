// Percent-encoding both ways: the word-at-a-time coders against byte-by-byte readings of the
// same rules, and any bytes back from their encoding.
#include "pure/url_coding.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool Plain(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_';
}

int Hex(char c) {
  const std::string_view digits = "0123456789ABCDEF";
  const size_t upper = digits.find(c);
  if (upper != std::string_view::npos) return static_cast<int>(upper);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string ReferenceEncode(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (Plain(byte)) {
      out += c;
    } else {
      out += '%';
      out += "0123456789ABCDEF"[byte >> 4];
      out += "0123456789ABCDEF"[byte & 15];
    }
  }
  return out;
}

// "%" and two hexadecimal digits make a byte, "%" and the one digit left at the end too;
// a "%" with anything else after it, or nothing, empties the result.
std::string ReferenceDecode(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 1 == text.size() || Hex(text[i + 1]) < 0) return {};
    if (i + 2 == text.size()) {
      out += static_cast<char>(Hex(text[i + 1]));
      break;
    }
    if (Hex(text[i + 2]) < 0) return {};
    out += static_cast<char>(Hex(text[i + 1]) * 16 + Hex(text[i + 2]));
    i += 2;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string encoded = UrlEncode(input);
  if (encoded != ReferenceEncode(input)) std::abort();
  if (UrlDecode(encoded) != input) std::abort();
  if (UrlDecode(input) != ReferenceDecode(input)) std::abort();
  return 0;
}
