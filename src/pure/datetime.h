// The date-time value, calendar rules, the date-time pattern language and the reading of a
// date text in the user's short date format. No Windows header: the user's regional settings
// arrive as a LocaleFormats, so all of this builds and is tested natively.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct DateTimeFields {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

struct LocaleFormats {  // the user's regional settings, read once from Windows
  std::string shortDate, longDate, shortTime, longTime;  // patterns in the pattern language
  std::string dateSeparator, timeSeparator, amDesignator, pmDesignator;
  std::array<std::string, 12> shortMonths, longMonths;
  std::array<std::string, 7> shortDays, longDays;  // Sunday first
  // The first byte of a double-byte character in the ANSI code page (none in 1251 or 1252);
  // such a pair is copied whole so its second byte is never read as a specifier.
  bool (*isLeadByte)(unsigned char) = nullptr;
};

// The formats Windows ships for English (United States); what tests and a failed read use.
LocaleFormats UsEnglishFormats();

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Proleptic Gregorian, years 1 to 9999.
bool IsValidDate(int year, int month, int day);
// 24:00:00, the end of the day, is the one valid time past 23:59:59.
bool IsValidTime(int hour, int minute, int second);

// Days since 1 January of year 1 (that day is 0); the date must be valid.
std::int64_t DaysFromCivil(int year, int month, int day);
// 1 = Monday ... 7 = Sunday for a day number of DaysFromCivil (day 0 was a Monday).
int IsoDayOfWeek(std::int64_t dayNumber);

// Per weekday (index 0 Monday ... 6 Sunday), how many days of firstDay..lastDay, both ends
// included, fall on it; firstDay must not be after lastDay.
std::array<std::int64_t, 7> CountWeekdays(std::int64_t firstDay, std::int64_t lastDay);

std::string FormatDateTime(std::string_view pattern, const DateTimeFields& value,
                           const LocaleFormats& locale);
double DateTimeToValue(const DateTimeFields& value);  // days since 30.12.1899, time as fraction
DateTimeFields ValueToDateTime(double value);

struct CalendarDate {
  int year = 0, month = 0, day = 0;
};
// A date text in the order of `shortDatePattern`, its numbers separated by `separator`:
// two or three numbers, blanks around them, one separator after the last; two numbers take
// `currentYear`, and one- or two-digit years fall in the hundred years from currentYear - 50.
std::optional<CalendarDate> ReadShortDate(std::string_view text, std::string_view shortDatePattern,
                                          std::string_view separator, int currentYear);

// Windows format pictures (GetDateFormat / GetTimeFormat: "dd.MM.yyyy", "h:mm:ss tt") in the
// plug-in's pattern language. Unquoted occurrences of `dateSeparator` in a date picture become
// "/" and of `timeSeparator` in a time picture ":", so they print as the regional separators;
// every other literal is quoted so none of its letters is read as a specifier.
using LeadBytePredicate = bool (*)(unsigned char);
std::string DatePictureToPattern(std::string_view picture, std::string_view dateSeparator,
                                 LeadBytePredicate isLeadByte = nullptr);
std::string TimePictureToPattern(std::string_view picture, std::string_view timeSeparator,
                                 LeadBytePredicate isLeadByte = nullptr);
// The separator that a short date picture really puts between its numbers: `declared` when
// the picture uses it, else the first literal between two fields, else "/".
std::string SeparatorOfDatePicture(std::string_view picture, std::string_view declared);
// A long time picture without its seconds, for systems that have no short time picture.
std::string WithoutSeconds(std::string_view timePicture);
