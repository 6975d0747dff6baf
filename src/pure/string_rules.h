// The text rules behind the string actions. Texts are bytes in the ANSI code page; where a
// double-byte code page matters, the caller says which bytes open a two-byte character, so
// this stays free of Windows and testable with any made-up code page.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

// lead[b] is true when byte b starts a double-byte character; all false on single-byte pages.
using LeadBytes = std::array<bool, 256>;
inline constexpr LeadBytes kNoLeadBytes{};

// Byte length of the character at `at`: 2 for a lead byte that has a byte after it, else 1.
std::size_t CharLength(std::string_view text, std::size_t at, const LeadBytes& lead);
// True when byte `at` is the second byte of a double-byte character.
bool IsTrailByteAt(std::string_view text, std::size_t at, const LeadBytes& lead);

// 1-based start and count, as authors count characters: a start below 1 counts from the
// first character without shortening the count; a start past the end, a negative count or
// an empty text give an empty result; a count running past the end stops there.
std::string CopyText(std::string_view text, std::int64_t start, std::int64_t count);

// `quote` must be one byte long, otherwise the text comes back as it is.
std::string QuoteText(std::string_view text, std::string_view quote, const LeadBytes& lead);
std::string DequoteText(std::string_view text, std::string_view quote, const LeadBytes& lead);

// Characters in reverse order; a double-byte character keeps its two bytes in order.
std::string ReverseText(std::string_view text, const LeadBytes& lead);

// `text` repeated `count` times (none for a count of 0 or less); nullopt when the result would
// be longer than `maxBytes`.
std::optional<std::string> RepeatText(std::string_view text, std::int64_t count,
                                      std::uint64_t maxBytes);

// The text with `addition` appended (prepended) unless it already ends (starts) with it,
// whole characters compared: an ending that starts on the second byte of a double-byte
// character, or a beginning that stops on its first, is none.
std::string AppendUnlessEnds(std::string_view text, std::string_view addition,
                             const LeadBytes& lead = kNoLeadBytes);
std::string PrependUnlessStarts(std::string_view text, std::string_view addition,
                                const LeadBytes& lead = kNoLeadBytes);
// A folder path that ends in a backslash of its own: one is added unless the last character
// is one (the second byte of a double-byte character is not).
inline std::string WithTrailingBackslash(std::string_view folder, const LeadBytes& lead) {
  return AppendUnlessEnds(folder, "\\", lead);
}

// kxIfThenStr's test: only these two exact words count as true.
bool IsTrueWord(std::string_view value);

// Which bytes a character filter keeps.
using ByteSet = std::array<bool, 256>;
ByteSet LatinLetterBytes();
ByteSet DigitBytes();
ByteSet LatinLetterAndDigitBytes();
// Which characters a filter keeps: single bytes by value, double-byte characters (lead byte
// first) as whole pairs. Latin letters and digits are never double-byte.
struct CharSet {
  ByteSet bytes{};
  std::unordered_set<std::uint16_t> pairs;
};
// The characters of `allowed`, each double-byte character as one; case matters, and an empty
// text allows nothing.
CharSet AllowedChars(std::string_view allowed, const LeadBytes& lead);
// The characters of `text` that `keep` holds, in order, stepping by whole characters so that
// the second byte of a double-byte character is never taken for a character of its own; a
// blank text gives an empty result.
std::string FilterChars(std::string_view text, const CharSet& keep, const LeadBytes& lead);
