// kxStartsStr ... kxIfPrependStr: tests and transformations of one text. None of them can
// fail on its input except kxDupeStr's size bound; the rest always write a result and return
// true.
#include <cstdint>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "core/random.h"
#include "platform/lead_bytes.h"
#include "platform/resources.h"
#include "pure/string_rules.h"
#include "pure/text.h"
#include "resources/resource.h"

namespace {

// The host keeps its own copies of a variable inside a 32-bit address space; a quarter of a
// gigabyte leaves room for them where a larger text would exhaust it.
constexpr std::uint64_t kMaxDupeBytes = 256ull * 1024 * 1024;

bool LocaleEqual(std::string_view a, std::string_view b) {
  return CompareStringA(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

// A lenient number; a text that is not an integer stands for `fallback`.
std::int64_t LenientNumber(const ActionCall& call, int slot, std::int64_t fallback) {
  const auto value = ParseInteger(call.Param(slot));
  return value ? *value : fallback;
}

// Writes `value` into the variable named by slot `slot`; every string action ends so.
bool Write(const ActionCall& call, int slot, std::string_view value) {
  SetResultVariable(call.Param(slot), value);
  return true;
}

}  // namespace

// "True" when the text begins with the start text under the user's locale, case mattering.
// An empty start text is a prefix of everything.
bool RunStartsStr(const ActionCall& call) {
  const std::string text = call.Param(0), start = call.Param(1);
  const std::string_view head = std::string_view(text).substr(0, start.size());
  return Write(call, 2, TruthText(start.empty() || LocaleEqual(start, head)));
}

// Unlike kxStartsStr, an empty end text answers "False". An end text that would begin on the
// second byte of a double-byte character never matches, whatever its bytes.
bool RunEndsStr(const ActionCall& call) {
  const std::string text = call.Param(0), end = call.Param(1);
  bool ends = !end.empty() && end.size() <= text.size();
  if (ends) {
    const std::size_t at = text.size() - end.size();
    ends = !IsTrailByteAt(text, at, AnsiLeadBytes()) &&
           LocaleEqual(end, std::string_view(text).substr(at));
  }
  return Write(call, 2, TruthText(ends));
}

// The text framed by the quote character, each quote inside doubled; a quote parameter that is
// not exactly one character leaves the text as it is.
bool RunQuotedStr(const ActionCall& call) {
  return Write(call, 2, QuoteText(call.Param(0), call.Param(1), AnsiLeadBytes()));
}

// The first quoted part of the text with doubled quotes reduced; text after the closing quote
// is dropped. A text without a usable quoted part comes back unchanged unless it both starts
// and ends with the quote. The lead-byte rule of kxQuotedStr applies, so quoting and
// dequoting give the text back in double-byte code pages too.
bool RunDequotedStr(const ActionCall& call) {
  return Write(call, 2, DequoteText(call.Param(0), call.Param(1), AnsiLeadBytes()));
}

// The text repeated count times. A result beyond the bound is refused with LastError rather
// than letting the host run out of address space; should memory run out below the bound,
// nbExecAction reports that through LastError and "False" as well.
bool RunDupeStr(const ActionCall& call) {
  const std::string resultVariable = call.Param(2);
  const auto result = RepeatText(call.Param(0), ParseLenient(call.Param(1), 0), kMaxDupeBytes);
  if (!result)
    return ReportFailure(
        resultVariable,
        FormatResString(IDS_RESULT_TOO_LARGE, {call.row.name, std::to_string(kMaxDupeBytes)}));
  return Write(call, 2, *result);
}

bool RunReverseStr(const ActionCall& call) {
  return Write(call, 1, ReverseText(call.Param(0), AnsiLeadBytes()));
}

// Counts that are not integers stand for the whole text.
bool RunLeftStr(const ActionCall& call) {
  const std::string text = call.Param(0);
  const std::int64_t count = LenientNumber(call, 1, static_cast<std::int64_t>(text.size()));
  return Write(call, 2, CopyText(text, 1, count));
}

bool RunRightStr(const ActionCall& call) {
  const std::string text = call.Param(0);
  const auto length = static_cast<std::int64_t>(text.size());
  const std::int64_t count = LenientNumber(call, 1, length);
  return Write(call, 2, CopyText(text, length - count + 1, count));
}

bool RunMidStr(const ActionCall& call) {
  const std::string text = call.Param(0);
  const std::int64_t start = LenientNumber(call, 1, 0);
  const std::int64_t count = LenientNumber(call, 2, static_cast<std::int64_t>(text.size()));
  return Write(call, 3, CopyText(text, start, count));
}

// Trimming removes codes 0 to 32 only: a non-breaking space (160) stays.
bool RunTrimStr(const ActionCall& call) { return Write(call, 1, TrimView(call.Param(0))); }
bool RunTrimLeftStr(const ActionCall& call) { return Write(call, 1, TrimLeftView(call.Param(0))); }
bool RunTrimRightStr(const ActionCall& call) {
  return Write(call, 1, TrimRightView(call.Param(0)));
}

bool RunGUIDStr(const ActionCall& call) { return Write(call, 0, NewGuidText()); }

// One of the "|"-separated values, untrimmed (an empty one can be drawn). The generator is
// seeded on first use, so a publication does not pick the same sequence at every start.
bool RunRandomFromStr(const ActionCall& call) {
  static ClockSeededRandom random;
  const auto pieces = SplitText("|", call.Param(0));
  return Write(call, 1, pieces[random.Next(static_cast<std::uint32_t>(pieces.size()))]);
}

// Only "True" and "Checked", exactly so, choose the true text: "true" chooses the false one.
bool RunIfThenStr(const ActionCall& call) {
  return Write(call, 3, call.Param(IsTrueWord(call.Param(0)) ? 1 : 2));
}

// Whole characters compared: "C:\表" does not end in "\", although its last byte is one.
bool RunIfAppendStr(const ActionCall& call) {
  return Write(call, 2, AppendUnlessEnds(call.Param(0), call.Param(1), AnsiLeadBytes()));
}

bool RunIfPrependStr(const ActionCall& call) {
  return Write(call, 2, PrependUnlessStarts(call.Param(0), call.Param(1), AnsiLeadBytes()));
}
