// Roman numerals both ways, with no upper limit: thousands are simply repeated "M"s.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Empty for zero and negative numbers.
std::string NumberToRoman(std::int32_t number);

// Sums the letters I V X L C D M (either case) left to right, a smaller letter before a greater
// one counting as their difference; no check of well-formedness. A leading "-" negates; any
// other character makes the whole value 0.
std::int64_t RomanToNumber(std::string_view text);
