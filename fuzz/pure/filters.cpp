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
  // A single-byte code page: every byte is a character of its own.
  const auto filter = [&](const ByteSet& bytes) {
    CharSet keep;
    keep.bytes = bytes;
    return FilterChars(text, keep, kNoLeadBytes);
  };
  if (filter(LatinLetterBytes()) != letters) std::abort();
  if (filter(DigitBytes()) != digits) std::abort();
  if (filter(LatinLetterAndDigitBytes()) != both) std::abort();
  if (FilterChars(text, AllowedChars(allowed, kNoLeadBytes), kNoLeadBytes) != chosen) std::abort();
  // A double-byte page shaped like 932: whole characters only, so Latin letters and digits
  // come out only where they stand as characters of their own, never as a trail byte.
  LeadBytes lead{};
  for (int b = 0x81; b <= 0x9F; ++b) lead[b] = true;
  for (int b = 0xE0; b <= 0xFC; ++b) lead[b] = true;
  CharSet keep;
  keep.bytes = LatinLetterAndDigitBytes();
  std::string whole;
  if (!IsBlank(text)) {
    for (size_t at = 0; at < text.size();) {
      const size_t length = CharLength(text, at, lead);
      if (length == 1 && keep.bytes[static_cast<unsigned char>(text[at])]) whole += text[at];
      at += length ? length : 1;
    }
  }
  if (FilterChars(text, keep, lead) != whole) std::abort();
  (void)FilterChars(text, AllowedChars(allowed, lead), lead);
  return 0;
}
