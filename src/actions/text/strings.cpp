// kxStartsStr ... kxIfPrependStr: tests and transformations of one text. None of them can
// fail on its input except kxDupeStr's size bound; the rest always write a result and return
// true.
#include <cstdint>

#include "actions/actions.h"
#include "actions/text/lead_bytes.h"
#include "core/conventions.h"
#include "platform/resources.h"
#include "pure/string_rules.h"
#include "resources/resource.h"

namespace {

constexpr int kDupeStrId = 5;
// The host keeps its own copies of a variable inside a 32-bit address space; a quarter of a
// gigabyte leaves room for them where a larger text would exhaust it.
constexpr std::uint64_t kMaxDupeBytes = 256ull * 1024 * 1024;

bool LocaleEqual(std::string_view a, std::string_view b) {
  return CompareStringA(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

// A lenient number; a text that is not an integer stands for `fallback`.
std::int64_t LenientNumber(Params params, int slot, std::int64_t fallback) {
  const auto value = ParseInteger(Param(params, slot));
  return value ? *value : fallback;
}

// Writes `value` into the variable named by slot `slot`; every string action ends so.
bool Write(Params params, int slot, std::string_view value) {
  SetResultVariable(Param(params, slot), value);
  return true;
}

}  // namespace

// "True" when the text begins with the start text under the user's locale, case mattering.
// An empty start text is a prefix of everything.
bool RunStartsStr(Params params) {
  const std::string text = Param(params, 0), start = Param(params, 1);
  const std::string_view head = std::string_view(text).substr(0, start.size());
  return Write(params, 2, TruthText(start.empty() || LocaleEqual(start, head)));
}

// Unlike kxStartsStr, an empty end text answers "False". An end text that would begin on the
// second byte of a double-byte character never matches, whatever its bytes.
bool RunEndsStr(Params params) {
  const std::string text = Param(params, 0), end = Param(params, 1);
  bool ends = !end.empty() && end.size() <= text.size();
  if (ends) {
    const std::size_t at = text.size() - end.size();
    ends = !IsTrailByteAt(text, at, AnsiLeadBytes()) &&
           LocaleEqual(end, std::string_view(text).substr(at));
  }
  return Write(params, 2, TruthText(ends));
}

// The text framed by the quote character, each quote inside doubled; a quote parameter that is
// not exactly one character leaves the text as it is.
bool RunQuotedStr(Params params) {
  return Write(params, 2, QuoteText(Param(params, 0), Param(params, 1), AnsiLeadBytes()));
}

// The first quoted part of the text with doubled quotes reduced; text after the closing quote
// is dropped. A text without a usable quoted part comes back unchanged unless it both starts
// and ends with the quote. The lead-byte rule of kxQuotedStr applies, so quoting and
// dequoting give the text back in double-byte code pages too.
bool RunDequotedStr(Params params) {
  return Write(params, 2, DequoteText(Param(params, 0), Param(params, 1), AnsiLeadBytes()));
}

// The text repeated count times. A result beyond the bound is refused with LastError rather
// than letting the host run out of address space; should memory run out below the bound,
// nbExecAction reports that through LastError and "False" as well.
bool RunDupeStr(Params params) {
  const std::string resultVariable = Param(params, 2);
  const auto result =
      RepeatText(Param(params, 0), ParseLenient(Param(params, 1), 0), kMaxDupeBytes);
  if (!result)
    return ReportFailure(resultVariable,
                         FormatResString(IDS_RESULT_TOO_LARGE,
                                         {ActionName(kDupeStrId), std::to_string(kMaxDupeBytes)}));
  return Write(params, 2, *result);
}

bool RunReverseStr(Params params) {
  return Write(params, 1, ReverseText(Param(params, 0), AnsiLeadBytes()));
}

// Counts that are not integers stand for the whole text.
bool RunLeftStr(Params params) {
  const std::string text = Param(params, 0);
  const std::int64_t count = LenientNumber(params, 1, static_cast<std::int64_t>(text.size()));
  return Write(params, 2, CopyText(text, 1, count));
}

bool RunRightStr(Params params) {
  const std::string text = Param(params, 0);
  const auto length = static_cast<std::int64_t>(text.size());
  const std::int64_t count = LenientNumber(params, 1, length);
  return Write(params, 2, CopyText(text, length - count + 1, count));
}

bool RunMidStr(Params params) {
  const std::string text = Param(params, 0);
  const std::int64_t start = LenientNumber(params, 1, 0);
  const std::int64_t count = LenientNumber(params, 2, static_cast<std::int64_t>(text.size()));
  return Write(params, 3, CopyText(text, start, count));
}

// Trimming removes codes 0 to 32 only: a non-breaking space (160) stays.
bool RunTrimStr(Params params) { return Write(params, 1, TrimView(Param(params, 0))); }
bool RunTrimLeftStr(Params params) { return Write(params, 1, TrimLeftView(Param(params, 0))); }
bool RunTrimRightStr(Params params) { return Write(params, 1, TrimRightView(Param(params, 0))); }

bool RunGUIDStr(Params params) { return Write(params, 0, NewGuidText()); }

// One of the "|"-separated values, untrimmed (an empty one can be drawn). The generator is
// seeded on first use, so a publication does not pick the same sequence at every start.
bool RunRandomFromStr(Params params) {
  const auto pieces = SplitText("|", Param(params, 0));
  return Write(params, 1, pieces[DrawRandom(static_cast<std::uint32_t>(pieces.size()))]);
}

// Only "True" and "Checked", exactly so, choose the true text: "true" chooses the false one.
bool RunIfThenStr(Params params) {
  return Write(params, 3, Param(params, IsTrueWord(Param(params, 0)) ? 1 : 2));
}

// Whole characters compared: "C:\表" does not end in "\", although its last byte is one.
bool RunIfAppendStr(Params params) {
  return Write(params, 2, AppendUnlessEnds(Param(params, 0), Param(params, 1), AnsiLeadBytes()));
}

bool RunIfPrependStr(Params params) {
  return Write(params, 2, PrependUnlessStarts(Param(params, 0), Param(params, 1), AnsiLeadBytes()));
}
