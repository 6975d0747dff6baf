// The text rules behind the string actions. Texts are bytes in the ANSI code page; where a
// double-byte code page matters, the caller says which bytes open a two-byte character, so
// this stays free of Windows and testable with any made-up code page.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// The text with `addition` appended (prepended) unless it already ends (starts) with it.
std::string AppendUnlessEnds(std::string_view text, std::string_view addition);
std::string PrependUnlessStarts(std::string_view text, std::string_view addition);

// kxIfThenStr's test: only these two exact words count as true.
bool IsTrueWord(std::string_view value);

// Which bytes a character filter keeps.
using ByteSet = std::array<bool, 256>;
ByteSet LatinLetterBytes();
ByteSet DigitBytes();
ByteSet LatinLetterAndDigitBytes();
// Every byte of `allowed`, by value: case matters, and an empty text allows nothing.
ByteSet AllowedBytes(std::string_view allowed);
// The bytes of `text` that `keep` holds, in order; a blank text gives an empty result.
std::string FilterBytes(std::string_view text, const ByteSet& keep);
