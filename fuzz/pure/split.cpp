// SplitText, trimming and the texts the plug-in builds for host scripts.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pure/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte says how long the delimiter is; the rest is delimiter and text.
  const size_t delimiterSize = std::min<size_t>(data[0] % 4, size - 1);
  const std::string_view delimiter(reinterpret_cast<const char*>(data) + 1, delimiterSize);
  const std::string_view text(reinterpret_cast<const char*>(data) + 1 + delimiterSize,
                              size - 1 - delimiterSize);

  // Pieces joined by the delimiter give the text back; no piece holds the delimiter, so
  // n non-overlapping occurrences (first match first) give n+1 pieces.
  const auto pieces = SplitText(delimiter, text);
  if (pieces.empty()) std::abort();
  std::string joined;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i) joined += delimiter;
    joined += pieces[i];
    if (!delimiter.empty() && pieces[i].find(delimiter) != std::string::npos) std::abort();
  }
  if (joined != text) std::abort();
  size_t occurrences = 0;
  if (!delimiter.empty())
    for (size_t at = text.find(delimiter); at != std::string_view::npos;
         at = text.find(delimiter, at + delimiter.size()))
      ++occurrences;
  if (pieces.size() != occurrences + 1) std::abort();

  // Trimming removes codes 0 to 32 from the ends and nothing else.
  const std::string_view trimmed = TrimView(text);
  if (!trimmed.empty() && (IsTrimmable(trimmed.front()) || IsTrimmable(trimmed.back())))
    std::abort();
  if (text.find(trimmed) == std::string_view::npos) std::abort();
  for (char c : text.substr(0, text.find(trimmed)))
    if (!IsTrimmable(c)) std::abort();
  if (TrimLeftView(TrimRightView(text)) != trimmed) std::abort();

  // A text put between the quotes of a script parameter cannot end it or start a line.
  const std::string escaped = EscapeScriptParameter(text);
  if (escaped.find_first_of("\"\r\n") != std::string::npos) std::abort();
  // ... and reads back as the text: every "[" of the result starts one of the five codes.
  std::string back;
  for (size_t at = 0; at < escaped.size();) {
    if (escaped[at] == ']') std::abort();
    if (escaped[at] != '[') {
      back += escaped[at++];
      continue;
    }
    const std::string_view code = std::string_view(escaped).substr(at, 5);
    if (code == "[#34]")
      back += '"';
    else if (code == "[#13]")
      back += '\r';
    else if (code == "[#10]")
      back += '\n';
    else if (code == "[#91]")
      back += '[';
    else if (code == "[#93]")
      back += ']';
    else
      std::abort();
    at += 5;
  }
  if (back != text) std::abort();
  if (QuoteForScript(text).find('"') != std::string::npos) std::abort();

  // "%s" is filled by concatenation: the argument's own "%" signs stay as they are.
  const std::string filled = FillPercentS(delimiter, {text});
  if (delimiter.find("%s") == std::string_view::npos && filled != delimiter) std::abort();
  if (delimiter == "%s" && filled != text) std::abort();
  return 0;
}
