#include "platform/locale_formats.h"

#include <windows.h>

#include <string>

#include "platform/lead_bytes.h"

namespace {

// A locale text in the ANSI code page, asked for its size first so no text is cut; empty when
// the system does not know the item.
std::string LocaleText(LCTYPE item) {
  const int size = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, nullptr, 0);
  if (size <= 0) return {};
  std::string text(static_cast<size_t>(size), '\0');
  const int written = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text.data(), size);
  if (written <= 0) return {};
  text.resize(static_cast<size_t>(written - 1));
  return text;
}

std::string LocaleTextOr(LCTYPE item, std::string fallback) {
  std::string text = LocaleText(item);
  return text.empty() ? fallback : text;
}

LocaleFormats ReadUserLocaleFormats() {
  const LocaleFormats us = UsEnglishFormats();
  LocaleFormats f;
  f.isLeadByte = IsAnsiLeadByte;

  // Windows puts the real separators into its pictures; the declared ones only say which
  // literal becomes the "/" and ":" of the pattern language. The date separator is what the
  // short date picture actually uses, so that reading a date accepts what formatting wrote.
  const std::string shortDatePicture = LocaleTextOr(LOCALE_SSHORTDATE, "M/d/yyyy");
  const std::string longDatePicture = LocaleTextOr(LOCALE_SLONGDATE, "dddd, MMMM d, yyyy");
  const std::string longTimePicture = LocaleTextOr(LOCALE_STIMEFORMAT, "h:mm:ss tt");
  std::string shortTimePicture = LocaleText(LOCALE_SSHORTTIME);
  if (shortTimePicture.empty()) shortTimePicture = WithoutSeconds(longTimePicture);

  f.dateSeparator = SeparatorOfDatePicture(shortDatePicture, LocaleText(LOCALE_SDATE));
  f.timeSeparator = LocaleTextOr(LOCALE_STIME, ":");
  f.shortDate = DatePictureToPattern(shortDatePicture, f.dateSeparator, f.isLeadByte);
  f.longDate = DatePictureToPattern(longDatePicture, f.dateSeparator, f.isLeadByte);
  f.longTime = TimePictureToPattern(longTimePicture, f.timeSeparator, f.isLeadByte);
  f.shortTime = TimePictureToPattern(shortTimePicture, f.timeSeparator, f.isLeadByte);
  // Locales on the 24-hour clock often have no designators at all; that is kept as it is.
  f.amDesignator = LocaleText(LOCALE_S1159);
  f.pmDesignator = LocaleText(LOCALE_S2359);

  for (int i = 0; i < 12; ++i) {
    f.shortMonths[i] = LocaleTextOr(LOCALE_SABBREVMONTHNAME1 + i, us.shortMonths[i]);
    f.longMonths[i] = LocaleTextOr(LOCALE_SMONTHNAME1 + i, us.longMonths[i]);
  }
  // Windows numbers its day names from Monday (1) to Sunday (7); the tables start on Sunday.
  for (int i = 0; i < 7; ++i) {
    const int windowsIndex = (i + 6) % 7;
    f.shortDays[i] = LocaleTextOr(LOCALE_SABBREVDAYNAME1 + windowsIndex, us.shortDays[i]);
    f.longDays[i] = LocaleTextOr(LOCALE_SDAYNAME1 + windowsIndex, us.longDays[i]);
  }
  return f;
}

}  // namespace

const LocaleFormats& UserLocaleFormats() {
  static const LocaleFormats formats = ReadUserLocaleFormats();
  return formats;
}

int CurrentLocalYear() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now.wYear;
}
