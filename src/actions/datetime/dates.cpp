// Dates travel as text in the user's short date format, so what kxEncodeDate writes is what
// kxDaysBetween and kxDaysBetweenEx read back.
#include <array>
#include <optional>
#include <string>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "platform/locale_formats.h"
#include "platform/resources.h"
#include "pure/datetime.h"
#include "pure/text.h"
#include "resources/resource.h"

namespace {

// Year, month and day (or hour, minute and second) from the first three slots, read left to
// right and stopping at the first that is not an integer. Anything outside 0..65535 is refused
// as well: cut to 16 bits it would pass as some other date (65537 as year 1).
std::optional<std::array<int, 3>> ReadTriple(const ActionCall& call) {
  std::array<int, 3> numbers{};
  for (int i = 0; i < 3; ++i) {
    const std::optional<std::int32_t> number = ParseInteger(call.Param(i));
    if (!number || *number < 0 || *number > 65535) return std::nullopt;
    numbers[i] = *number;
  }
  return numbers;
}

// Both dates of an action, read against one reading of the clock.
std::optional<std::array<CalendarDate, 2>> ReadDateTexts(std::string_view first,
                                                         std::string_view second) {
  const LocaleFormats& locale = UserLocaleFormats();
  const int year = CurrentLocalYear();
  const auto a = ReadShortDate(first, locale.shortDate, locale.dateSeparator, year);
  if (!a) return std::nullopt;
  const auto b = ReadShortDate(second, locale.shortDate, locale.dateSeparator, year);
  if (!b) return std::nullopt;
  return std::array<CalendarDate, 2>{*a, *b};
}

std::int64_t DayNumber(const CalendarDate& date) {
  return DaysFromCivil(date.year, date.month, date.day);
}

}  // namespace

// Writes the date in the user's short date format. Unreadable numbers are an argument error;
// readable numbers that make no date (30 February, year 0) get their own message.
bool RunEncodeDate(const ActionCall& call) {
  const std::string variable = call.Param(3);
  const auto triple = ReadTriple(call);
  if (!triple) return ReportInvalidArguments(call);
  const auto [year, month, day] = *triple;
  if (!IsValidDate(year, month, day))
    return ReportFailure(variable, LoadResString(IDS_INVALID_DATE));
  DateTimeFields value;
  value.year = year;
  value.month = month;
  value.day = day;
  const LocaleFormats& locale = UserLocaleFormats();
  SetResultVariable(variable, FormatDateTime(locale.shortDate, value, locale));
  return true;
}

// An impossible date is an answer ("False", success), not an error; only unreadable numbers
// fail.
bool RunIsValidDate(const ActionCall& call) {
  const std::string variable = call.Param(3);
  const auto triple = ReadTriple(call);
  if (!triple) return ReportInvalidArguments(call);
  SetResultVariable(variable, TruthText(IsValidDate((*triple)[0], (*triple)[1], (*triple)[2])));
  return true;
}

// 24:00:00, the end of the day, counts as a valid time.
bool RunIsValidTime(const ActionCall& call) {
  const std::string variable = call.Param(3);
  const auto triple = ReadTriple(call);
  if (!triple) return ReportInvalidArguments(call);
  SetResultVariable(variable, TruthText(IsValidTime((*triple)[0], (*triple)[1], (*triple)[2])));
  return true;
}

// The distance in whole days, whichever date comes first.
bool RunDaysBetween(const ActionCall& call) {
  const std::string variable = call.Param(2);
  const auto dates = ReadDateTexts(call.Param(0), call.Param(1));
  if (!dates) return ReportInvalidArguments(call);
  const std::int64_t difference = DayNumber((*dates)[1]) - DayNumber((*dates)[0]);
  SetResultVariable(variable, std::to_string(difference < 0 ? -difference : difference));
  return true;
}

// Seven indexed variables, Mondays at 0 to Sundays at 6, counting both ends. Unlike the
// other actions a failure writes "False" into the array variable itself, with no index.
bool RunDaysBetweenEx(const ActionCall& call) {
  const std::string firstText = call.Param(0), secondText = call.Param(1);
  const std::string arrayName = call.Param(2);
  const auto dates = ReadDateTexts(firstText, secondText);
  if (!dates) return ReportInvalidArguments(call);
  const std::int64_t start = DayNumber((*dates)[0]), end = DayNumber((*dates)[1]);
  if (start >= end)
    return ReportFailure(arrayName, FormatResString(IDS_DATE_ORDER, {firstText, secondText}));
  const std::array<std::int64_t, 7> counts = CountWeekdays(start, end);
  for (int i = 0; i < 7; ++i) SetIndexedVariable(i, arrayName, std::to_string(counts[i]));
  return true;
}
