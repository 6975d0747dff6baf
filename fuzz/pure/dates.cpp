// The date-text reader and the date-time formatter: a read date is a valid one, a formatted
// valid date reads back as itself, and no pattern makes the formatter read past its input.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "pure/datetime.h"

namespace {

bool Cp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  // Short date patterns as the plug-in builds them from Windows pictures: "/" stands for the
  // regional separator.
  static const char* const kShortDates[] = {"M/d/yyyy", "dd/MM/yyyy", "yyyy/MM/dd", "d/M/yy",
                                            "yy/MM/dd", "MM/dd/yy",   "d/M/yyyy"};
  static const char* const kSeparators[] = {"/", ".", "-", ". ", ""};
  const std::string pattern = kShortDates[input.ConsumeIntegralInRange<size_t>(0, 6)];
  const std::string separator = kSeparators[input.ConsumeIntegralInRange<size_t>(0, 4)];
  const int currentYear = input.ConsumeIntegralInRange(1, 9999);

  LocaleFormats locale = UsEnglishFormats();
  if (input.ConsumeBool()) locale.isLeadByte = &Cp932Lead;
  locale.dateSeparator = separator;

  // A valid date, formatted in the short date pattern, reads back as itself where the
  // pattern's year is whole or falls in the hundred years around the current one.
  DateTimeFields value;
  value.year = input.ConsumeIntegralInRange(1, 9999);
  value.month = input.ConsumeIntegralInRange(1, 12);
  value.day = input.ConsumeIntegralInRange(1, DaysInMonth(value.year, value.month));
  value.hour = input.ConsumeIntegralInRange(0, 23);
  value.minute = input.ConsumeIntegralInRange(0, 59);
  value.second = input.ConsumeIntegralInRange(0, 59);
  value.millisecond = input.ConsumeIntegralInRange(0, 999);
  if (!separator.empty()) {
    const std::string text = FormatDateTime(pattern, value, locale);
    const bool wholeYear = pattern.find("yyyy") != std::string::npos;
    const bool inWindow = value.year >= currentYear - 50 && value.year < currentYear + 50;
    if (wholeYear || inWindow) {
      const auto back = ReadShortDate(text, pattern, separator, currentYear);
      if (!back || back->year != value.year || back->month != value.month || back->day != value.day)
        std::abort();
    }
  }

  // Whatever the text, a date that is read is a valid date.
  const std::string userPattern = input.ConsumeRandomLengthString(40);
  const std::string text = input.ConsumeRemainingBytesAsString();
  if (const auto date = ReadShortDate(text, pattern, separator, currentYear))
    if (!IsValidDate(date->year, date->month, date->day)) std::abort();
  if (const auto date = ReadShortDate(text, userPattern, separator, currentYear))
    if (!IsValidDate(date->year, date->month, date->day)) std::abort();

  // Any pattern formats without reading outside the pattern or the locale's names.
  (void)FormatDateTime(userPattern, value, locale);
  (void)FormatDateTime(text.substr(0, 256), value, locale);
  (void)DatePictureToPattern(userPattern, separator, locale.isLeadByte);
  (void)TimePictureToPattern(userPattern, ":", locale.isLeadByte);
  (void)SeparatorOfDatePicture(userPattern, separator);
  (void)WithoutSeconds(userPattern);

  const double serial = DateTimeToValue(value);
  const DateTimeFields back = ValueToDateTime(serial);
  if (back.year != value.year || back.month != value.month || back.day != value.day) std::abort();
  return 0;
}
