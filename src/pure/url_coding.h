// Percent-encoding of URL text, byte by byte in whatever code page the text is in.
#pragma once

#include <string>
#include <string_view>

// Letters, digits, "-", "." and "_" stay; every other byte becomes "%" and two upper-case
// hexadecimal digits.
std::string UrlEncode(std::string_view text);

// "%" takes the two characters after it, or the single one left at the end, as a hexadecimal
// byte. A "%" without a hexadecimal digit after it makes the whole result empty. "+" stays.
std::string UrlDecode(std::string_view text);
