// The character filters of kxExtractChars and its kin, against a byte-by-byte reading.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pure/string_rules.h"
#include "pure/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t allowedSize = std::min<size_t>(data[0] % 16, size - 1);
  const std::string_view allowed(reinterpret_cast<const char*>(data) + 1, allowedSize);
  const std::string_view text(reinterpret_cast<const char*>(data) + 1 + allowedSize,
                              size - 1 - allowedSize);

  auto isLetter = [](unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  auto isDigit = [](unsigned char c) { return c >= '0' && c <= '9'; };
  std::string letters, digits, both, chosen;
  if (!IsBlank(text)) {
    for (const char ch : text) {
      const auto c = static_cast<unsigned char>(ch);
      if (isLetter(c)) letters += ch;
      if (isDigit(c)) digits += ch;
      if (isLetter(c) || isDigit(c)) both += ch;
      if (allowed.find(ch) != std::string_view::npos) chosen += ch;
    }
  }
  if (FilterBytes(text, LatinLetterBytes()) != letters) std::abort();
  if (FilterBytes(text, DigitBytes()) != digits) std::abort();
  if (FilterBytes(text, LatinLetterAndDigitBytes()) != both) std::abort();
  if (FilterBytes(text, AllowedBytes(allowed)) != chosen) std::abort();
  return 0;
}
