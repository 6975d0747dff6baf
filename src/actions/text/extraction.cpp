// Character filters and Roman numerals. The filters step through the text by whole
// characters: letters outside A to Z (Cyrillic, accented, double-byte) are never Latin letters
// here, and the second byte of a double-byte character is never a letter or digit of its own.
#include <string>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "platform/lead_bytes.h"
#include "pure/roman.h"
#include "pure/string_rules.h"
#include "pure/text.h"

namespace {

bool WriteFiltered(const ActionCall& call, int resultSlot, const ByteSet& keep) {
  SetResultVariable(call.Param(resultSlot),
                    FilterChars(call.Param(0), CharSet{keep, {}}, AnsiLeadBytes()));
  return true;
}

}  // namespace

// The characters of the text found in the allowed characters; a blank text gives an empty
// result even when blanks are allowed.
bool RunExtractChars(const ActionCall& call) {
  const LeadBytes& lead = AnsiLeadBytes();
  SetResultVariable(call.Param(2),
                    FilterChars(call.Param(0), AllowedChars(call.Param(1), lead), lead));
  return true;
}

bool RunExtractAlphas(const ActionCall& call) { return WriteFiltered(call, 1, LatinLetterBytes()); }

// Digits only: signs, separators and blanks go, so "-12.5" gives "125".
bool RunExtractNumber(const ActionCall& call) { return WriteFiltered(call, 1, DigitBytes()); }

bool RunExtractAlphaNum(const ActionCall& call) {
  return WriteFiltered(call, 1, LatinLetterAndDigitBytes());
}

// The only action of the family that fails: a number that is not an integer. Zero and negative
// numbers have no numeral and give an empty text.
bool RunNumberToRoman(const ActionCall& call) {
  const auto number = ParseInteger(call.Param(0));
  if (!number) return ReportInvalidArguments(call);
  SetResultVariable(call.Param(1), NumberToRoman(*number));
  return true;
}

// Any character other than the seven letters (a blank too) makes the value 0.
bool RunRomanToNumber(const ActionCall& call) {
  SetResultVariable(call.Param(1), std::to_string(RomanToNumber(call.Param(0))));
  return true;
}
