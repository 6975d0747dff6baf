// ParseInteger against a slow reading of the integer grammar, and decimal round trips.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "pure/text.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Leading blanks (code 32 only), a sign, then decimal digits in the 32-bit range, or "$",
// "x", "X", "0x", "0X" and hexadecimal digits whose value fits 32 bits, taken as a pattern
// that a sign negates; nothing may follow.
std::optional<std::int32_t> Reference(std::string text) {
  size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  std::string rest = text.substr(at);
  bool hex = false;
  if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
    hex = true;
    rest.erase(0, 1);
  } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    hex = true;
    rest.erase(0, 2);
  }
  if (rest.empty()) return std::nullopt;
  if (hex) {
    for (char c : rest)
      if (HexValue(c) < 0) return std::nullopt;
    size_t first = rest.find_first_not_of('0');
    std::string digits = first == std::string::npos ? "0" : rest.substr(first);
    if (digits.size() > 8) return std::nullopt;
    std::uint32_t pattern = static_cast<std::uint32_t>(std::strtoull(digits.c_str(), nullptr, 16));
    if (negative) pattern = ~pattern + 1u;
    return static_cast<std::int32_t>(pattern);
  }
  for (char c : rest)
    if (c < '0' || c > '9') return std::nullopt;
  size_t first = rest.find_first_not_of('0');
  std::string digits = first == std::string::npos ? "0" : rest.substr(first);
  if (digits.size() > 10) return std::nullopt;
  long long value = std::strtoll(digits.c_str(), nullptr, 10);
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto parsed = ParseInteger(text);
  if (parsed != Reference(text)) std::abort();
  if (parsed) {
    if (ParseInteger(std::to_string(*parsed)) != parsed) std::abort();
    if (ParseLenient(text, 7) != *parsed) std::abort();
  } else if (ParseLenient(text, 7) != 7) {
    std::abort();
  }
  return 0;
}
