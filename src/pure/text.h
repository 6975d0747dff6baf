// Text rules shared by every action: trimming, splitting, integer texts, message filling.
// No Windows header here: this builds natively for unit tests and fuzzing.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Codes 0 to 32 (blank and every control character) are what "trimmed" removes; code 160
// and everything else above 32 stays.
constexpr bool IsTrimmable(char c) { return static_cast<unsigned char>(c) <= 32; }
std::string_view TrimView(std::string_view text);
std::string_view TrimLeftView(std::string_view text);
std::string_view TrimRightView(std::string_view text);
inline bool IsBlank(std::string_view text) { return TrimView(text).empty(); }

// n occurrences of the delimiter give n+1 pieces; pieces are not trimmed. An empty
// delimiter never matches, so the whole text is one piece.
std::vector<std::string> SplitText(std::string_view delimiter, std::string_view text);

// Host script parameters are double-quoted; a quote inside one is written as [#34].
std::string QuoteForScript(std::string_view text);
// A text to put between the quotes of a script parameter the plug-in builds itself: quotes as
// [#34], and line breaks as [#13]/[#10] so that nothing in it can start another command;
// square brackets as [#91]/[#93], since the host would read "[b]" in a name or path as the
// value of the variable b.
std::string EscapeScriptParameter(std::string_view text);

// An integer text: leading blanks (code 32 only), an optional sign, then decimal digits in the
// 32-bit range or "$", "x", "X", "0x", "0X" and hexadecimal digits taken as a 32-bit pattern.
// Nothing may follow.
std::optional<std::int32_t> ParseInteger(std::string_view text);
inline std::int32_t ParseLenient(std::string_view text, std::int32_t fallback) {
  return ParseInteger(text).value_or(fallback);
}

// Fills each "%s" of `format` in turn with the next argument by plain concatenation, so a
// user's text is never read as a format: percent signs and any length are copied as they are.
std::string FillPercentS(std::string_view format, std::initializer_list<std::string_view> args);

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Case-insensitive comparison of ASCII letters only.
bool EqualsAsciiNoCase(std::string_view a, std::string_view b);
