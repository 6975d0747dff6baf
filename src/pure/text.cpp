#include "pure/text.h"

#include <charconv>

std::string_view TrimLeftView(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && IsTrimmable(text[start])) ++start;
  return text.substr(start);
}

std::string_view TrimRightView(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && IsTrimmable(text[end - 1])) --end;
  return text.substr(0, end);
}

std::string_view TrimView(std::string_view text) { return TrimRightView(TrimLeftView(text)); }

std::vector<std::string> SplitText(std::string_view delimiter, std::string_view text) {
  std::vector<std::string> pieces;
  if (delimiter.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  for (size_t at; (at = text.find(delimiter)) != std::string_view::npos;) {
    pieces.emplace_back(text.substr(0, at));
    text.remove_prefix(at + delimiter.size());
  }
  pieces.emplace_back(text);
  return pieces;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  for (size_t at; !from.empty() && (at = text.find(from)) != std::string_view::npos;) {
    out.append(text.substr(0, at)).append(to);
    text.remove_prefix(at + from.size());
  }
  out.append(text);
  return out;
}

std::string QuoteForScript(std::string_view text) { return ReplaceAll(text, "\"", "[#34]"); }

std::string EscapeScriptParameter(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "[#34]";
        break;
      case '\r':
        out += "[#13]";
        break;
      case '\n':
        out += "[#10]";
        break;
      case '[':
        out += "[#91]";
        break;
      case ']':
        out += "[#93]";
        break;
      default:
        out += c;
    }
  }
  return out;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  bool hex = false;
  if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
    hex = true;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hex = true;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  if (hex) {
    std::uint64_t value = 0;
    for (char c : text) {
      const int digit = HexDigit(c);
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<unsigned>(digit);
      if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    std::uint32_t pattern = static_cast<std::uint32_t>(value);
    if (negative) pattern = 0u - pattern;
    return static_cast<std::int32_t>(pattern);
  }
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::string FillPercentS(std::string_view format, std::initializer_list<std::string_view> args) {
  std::string out;
  auto next = args.begin();
  for (size_t at; (at = format.find("%s")) != std::string_view::npos;) {
    out.append(format.substr(0, at));
    if (next != args.end()) out.append(*next++);
    format.remove_prefix(at + 2);
  }
  out.append(format);
  return out;
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}
