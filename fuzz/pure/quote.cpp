// Quoting, reversing and copying texts, with and without a double-byte code page.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pure/string_rules.h"

namespace {

LeadBytes Cp932LeadBytes() {
  LeadBytes lead{};
  for (int b = 0x81; b <= 0x9F; ++b) lead[b] = true;
  for (int b = 0xE0; b <= 0xFC; ++b) lead[b] = true;
  return lead;
}

// True when the text's last byte opens a double-byte character that never gets its second.
bool EndsInLoneLeadByte(std::string_view text, const LeadBytes& lead) {
  size_t at = 0, last = 0;
  while (at < text.size()) {
    last = at;
    at += CharLength(text, at, lead);
  }
  return !text.empty() && CharLength(text, last, lead) == 1 &&
         lead[static_cast<unsigned char>(text[last])];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < 3) return 0;
  static const LeadBytes kCp932 = Cp932LeadBytes();
  const LeadBytes& lead = (data[0] & 1) ? kCp932 : kNoLeadBytes;
  const std::string quote(1, static_cast<char>(data[1]));
  const std::string_view text(reinterpret_cast<const char*>(data) + 3, size - 3);

  // Quoting and dequoting with the same one-byte quote gives the text back, unless its
  // last byte is a lone lead byte, which swallows the closing quote.
  const bool quotable = !lead[static_cast<unsigned char>(quote[0])];
  const std::string quoted = QuoteText(text, quote, lead);
  if (quoted.size() < text.size() + 2) std::abort();
  if (quotable && !EndsInLoneLeadByte(text, lead) && DequoteText(quoted, quote, lead) != text)
    std::abort();
  (void)DequoteText(text, quote, lead);
  if (QuoteText(text, "", lead) != text || DequoteText(text, "ab", lead) != text) std::abort();

  // Reversing twice gives the text back, and keeps every double-byte character whole.
  const std::string reversed = ReverseText(text, lead);
  if (reversed.size() != text.size()) std::abort();
  if (!EndsInLoneLeadByte(text, lead) && ReverseText(reversed, lead) != text) std::abort();

  // CopyText never reaches outside the text.
  const auto start = static_cast<std::int64_t>(static_cast<std::int8_t>(data[2])) * 3;
  const auto count = static_cast<std::int64_t>(static_cast<std::int8_t>(data[1])) * 5;
  const std::string copy = CopyText(text, start, count);
  if (copy.size() > text.size() || text.find(copy) == std::string_view::npos) std::abort();

  const auto repeated = RepeatText(text, static_cast<std::int8_t>(data[2]), 4096);
  if (repeated && repeated->size() > 4096) std::abort();
  if (repeated && data[2] < 128 && repeated->size() != text.size() * data[2]) std::abort();

  const std::string addition(text.substr(0, data[1] % 4));
  const std::string appended = AppendUnlessEnds(text, addition);
  if (!std::string_view(appended).ends_with(addition) ||
      !std::string_view(appended).starts_with(text))
    std::abort();
  const std::string prepended = PrependUnlessStarts(text, addition);
  if (!std::string_view(prepended).starts_with(addition) ||
      !std::string_view(prepended).ends_with(text))
    std::abort();
  return 0;
}
