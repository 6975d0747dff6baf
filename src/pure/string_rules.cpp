#include "pure/string_rules.h"

#include "pure/text.h"

namespace {
bool IsLead(const LeadBytes& lead, char c) { return lead[static_cast<unsigned char>(c)]; }
}  // namespace

std::size_t CharLength(std::string_view text, std::size_t at, const LeadBytes& lead) {
  return IsLead(lead, text[at]) && at + 1 < text.size() ? 2 : 1;
}

bool IsTrailByteAt(std::string_view text, std::size_t at, const LeadBytes& lead) {
  std::size_t i = 0;
  while (i < at) i += CharLength(text, i, lead);
  return i != at;
}

std::string CopyText(std::string_view text, std::int64_t start, std::int64_t count) {
  const auto size = static_cast<std::int64_t>(text.size());
  if (text.empty() || count < 0) return {};
  if (start < 1) start = 1;
  if (start > size) return {};
  const std::int64_t available = size - start + 1;
  return std::string(text.substr(static_cast<std::size_t>(start - 1),
                                 static_cast<std::size_t>(count < available ? count : available)));
}

std::string QuoteText(std::string_view text, std::string_view quote, const LeadBytes& lead) {
  if (quote.size() != 1) return std::string(text);
  const char q = quote.front();
  std::string out(1, q);
  out.reserve(text.size() + 2);
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = CharLength(text, i, lead);
    if (length == 1 && text[i] == q) out += q;
    out.append(text.substr(i, length));
    i += length;
  }
  out += q;
  return out;
}

std::string DequoteText(std::string_view text, std::string_view quote, const LeadBytes& lead) {
  if (quote.size() != 1) return std::string(text);
  const char q = quote.front();
  const auto isQuoteAt = [&](std::size_t at) {
    return text[at] == q && CharLength(text, at, lead) == 1;
  };
  if (text.empty() || !isQuoteAt(0)) return std::string(text);

  std::string extracted;
  bool closed = false;
  for (std::size_t i = 1; i < text.size();) {
    if (isQuoteAt(i)) {
      if (i + 1 < text.size() && text[i + 1] == q) {
        extracted += q;
        i += 2;
        continue;
      }
      closed = true;
      break;
    }
    const std::size_t length = CharLength(text, i, lead);
    extracted.append(text.substr(i, length));
    i += length;
  }
  // A text framed by quotes always loses them, even when nothing or no proper closing quote
  // lies between; anything else without a usable quoted part is left alone.
  const bool framed = text.back() == q && !IsTrailByteAt(text, text.size() - 1, lead);
  if ((!closed || extracted.empty()) && !framed) return std::string(text);
  return extracted;
}

std::string ReverseText(std::string_view text, const LeadBytes& lead) {
  std::string out(text.size(), '\0');
  std::size_t end = text.size();
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = CharLength(text, i, lead);
    end -= length;
    text.copy(out.data() + end, length, i);
    i += length;
  }
  return out;
}

std::optional<std::string> RepeatText(std::string_view text, std::int64_t count,
                                      std::uint64_t maxBytes) {
  if (count <= 0 || text.empty()) return std::string();
  if (static_cast<std::uint64_t>(count) > maxBytes / text.size()) return std::nullopt;
  const auto total = static_cast<std::size_t>(text.size() * static_cast<std::uint64_t>(count));
  std::string out;
  out.reserve(total);
  out.append(text);
  // Doubling keeps a one-character text repeated millions of times to a few dozen copies;
  // the reserve above means the source never moves while it is appended to itself.
  while (out.size() * 2 <= total) out.append(out.data(), out.size());
  out.append(out.data(), total - out.size());
  return out;
}

std::string AppendUnlessEnds(std::string_view text, std::string_view addition,
                             const LeadBytes& lead) {
  const bool ends = addition.size() <= text.size() && text.ends_with(addition) &&
                    !IsTrailByteAt(text, text.size() - addition.size(), lead);
  if (ends) return std::string(text);
  return std::string(text) + std::string(addition);
}

std::string PrependUnlessStarts(std::string_view text, std::string_view addition,
                                const LeadBytes& lead) {
  const bool starts = addition.size() <= text.size() && text.starts_with(addition) &&
                      !IsTrailByteAt(text, addition.size(), lead);
  if (starts) return std::string(text);
  return std::string(addition) + std::string(text);
}

bool IsTrueWord(std::string_view value) { return value == "True" || value == "Checked"; }

ByteSet LatinLetterBytes() {
  ByteSet set{};
  for (int c = 'A'; c <= 'Z'; ++c) set[c] = set[c - 'A' + 'a'] = true;
  return set;
}

ByteSet DigitBytes() {
  ByteSet set{};
  for (int c = '0'; c <= '9'; ++c) set[c] = true;
  return set;
}

ByteSet LatinLetterAndDigitBytes() {
  ByteSet set = LatinLetterBytes();
  const ByteSet digits = DigitBytes();
  for (std::size_t i = 0; i < set.size(); ++i) set[i] = set[i] || digits[i];
  return set;
}

namespace {
std::uint16_t Pair(std::string_view text, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(text[at]) << 8 |
                                    static_cast<unsigned char>(text[at + 1]));
}
}  // namespace

CharSet AllowedChars(std::string_view allowed, const LeadBytes& lead) {
  CharSet set;
  for (std::size_t i = 0; i < allowed.size();) {
    const std::size_t length = CharLength(allowed, i, lead);
    if (length == 2)
      set.pairs.insert(Pair(allowed, i));
    else
      set.bytes[static_cast<unsigned char>(allowed[i])] = true;
    i += length;
  }
  return set;
}

std::string FilterChars(std::string_view text, const CharSet& keep, const LeadBytes& lead) {
  std::string out;
  if (IsBlank(text)) return out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = CharLength(text, i, lead);
    const bool kept = length == 2 ? keep.pairs.contains(Pair(text, i))
                                  : keep.bytes[static_cast<unsigned char>(text[i])];
    if (kept) out.append(text.substr(i, length));
    i += length;
  }
  return out;
}
