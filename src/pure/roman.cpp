#include "pure/roman.h"

namespace {

// One decimal place below the thousands: 9, 5 to 8, 4 and 0 to 3 of `unit`.
void AppendPlace(std::string& out, std::int32_t& n, std::int32_t unit, char one, char five,
                 char ten) {
  if (n >= 9 * unit) {
    out.append({one, ten});
    n -= 9 * unit;
    return;
  }
  if (n >= 5 * unit) {
    out += five;
    n -= 5 * unit;
  } else if (n >= 4 * unit) {
    out.append({one, five});
    n -= 4 * unit;
    return;
  }
  while (n >= unit) {
    out += one;
    n -= unit;
  }
}

int LetterValue(char c) {
  switch (c) {
    case 'I':
    case 'i':
      return 1;
    case 'V':
    case 'v':
      return 5;
    case 'X':
    case 'x':
      return 10;
    case 'L':
    case 'l':
      return 50;
    case 'C':
    case 'c':
      return 100;
    case 'D':
    case 'd':
      return 500;
    case 'M':
    case 'm':
      return 1000;
    default:
      return 0;
  }
}

}  // namespace

std::string NumberToRoman(std::int32_t number) {
  std::string out;
  std::int32_t n = number;
  if (n <= 0) return out;
  out.append(static_cast<std::size_t>(n / 1000), 'M');
  n %= 1000;
  AppendPlace(out, n, 100, 'C', 'D', 'M');
  AppendPlace(out, n, 10, 'X', 'L', 'C');
  AppendPlace(out, n, 1, 'I', 'V', 'X');
  return out;
}

std::int64_t RomanToNumber(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  std::int64_t sum = 0;
  for (std::size_t i = 0; i < text.size();) {
    const int current = LetterValue(text[i]);
    if (current == 0) return 0;
    const int next = i + 1 < text.size() ? LetterValue(text[i + 1]) : 0;
    if (next > current) {
      sum += next - current;
      i += 2;
    } else {
      sum += current;
      i += 1;
    }
  }
  return negative ? -sum : sum;
}
