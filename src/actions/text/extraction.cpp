// Character filters and Roman numerals. The filters step through the text by whole
// characters: letters outside A to Z (Cyrillic, accented, double-byte) are never Latin letters
// here, and the second byte of a double-byte character is never a letter or digit of its own.
#include <string>

#include "actions/actions.h"
#include "actions/text/lead_bytes.h"
#include "core/conventions.h"
#include "pure/roman.h"
#include "pure/string_rules.h"

namespace {

constexpr int kNumberToRomanId = 22;

bool WriteFiltered(Params params, int resultSlot, const ByteSet& keep) {
  SetResultVariable(Param(params, resultSlot),
                    FilterChars(Param(params, 0), CharSet{keep, {}}, AnsiLeadBytes()));
  return true;
}

}  // namespace

// The characters of the text found in the allowed characters; a blank text gives an empty
// result even when blanks are allowed.
bool RunExtractChars(Params params) {
  const LeadBytes lead = AnsiLeadBytes();
  SetResultVariable(Param(params, 2),
                    FilterChars(Param(params, 0), AllowedChars(Param(params, 1), lead), lead));
  return true;
}

bool RunExtractAlphas(Params params) { return WriteFiltered(params, 1, LatinLetterBytes()); }

// Digits only: signs, separators and blanks go, so "-12.5" gives "125".
bool RunExtractNumber(Params params) { return WriteFiltered(params, 1, DigitBytes()); }

bool RunExtractAlphaNum(Params params) {
  return WriteFiltered(params, 1, LatinLetterAndDigitBytes());
}

// The only action of the family that fails: a number that is not an integer. Zero and negative
// numbers have no numeral and give an empty text.
bool RunNumberToRoman(Params params) {
  const auto number = ParseInteger(Param(params, 0));
  if (!number) return ReportInvalidArguments(kNumberToRomanId, Param(params, 1));
  SetResultVariable(Param(params, 1), NumberToRoman(*number));
  return true;
}

// Any character other than the seven letters (a blank too) makes the value 0.
bool RunRomanToNumber(Params params) {
  SetResultVariable(Param(params, 1), std::to_string(RomanToNumber(Param(params, 0))));
  return true;
}
