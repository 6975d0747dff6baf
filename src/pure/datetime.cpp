#include "pure/datetime.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Day numbers count from 1 January of year 1; the date-time value counts from 30 December
// 1899, which is day 693593.
constexpr std::int64_t kValueEpochDay = 693593;
constexpr std::int64_t kMillisecondsPerDay = 86400000;

constexpr bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool StartsNoCase(std::string_view text, size_t at, std::string_view prefix) {
  if (text.size() - at < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (Upper(text[at + i]) != Upper(prefix[i])) return false;
  return true;
}

void AppendNumber(std::string& out, std::int64_t number, int width) {
  std::string digits = std::to_string(number < 0 ? -number : number);
  if (number < 0) out += '-';
  if (static_cast<int>(digits.size()) < width) out.append(width - digits.size(), '0');
  out += digits;
}

// Civil date from a day count since 1 January 1970 (H. Hinnant's algorithm).
CalendarDate CivilFromUnixDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(yoe + era * 400 + (month <= 2)), month, day};
}

std::int64_t UnixDaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yoe = year - era * 400;
  const std::int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

constexpr std::int64_t kUnixDayOfYearOne = -719162;  // UnixDaysFromCivil(1, 1, 1)

// ---- The pattern language ----

class Formatter {
 public:
  Formatter(const DateTimeFields& value, const LocaleFormats& locale)
      : value_(value), locale_(locale) {}

  std::string Run(std::string_view pattern) {
    Append(pattern, 0);
    return std::move(out_);
  }

 private:
  // Nested patterns (the user's date and time patterns inside "c", "ddddd", "t") expand one
  // level deep only, so a regional pattern that names itself cannot recurse forever.
  static constexpr int kMaxDepth = 2;

  int Count(std::string_view pattern, size_t& at, char starter) const {
    int count = 1;
    while (at < pattern.size() && Upper(pattern[at]) == Upper(starter)) ++at, ++count;
    return count;
  }

  // Sunday first, as the locale's name tables.
  int DayOfWeekIndex() const {
    if (!IsValidDate(value_.year, value_.month, value_.day)) return -1;
    return IsoDayOfWeek(DaysFromCivil(value_.year, value_.month, value_.day)) % 7;
  }
  void AppendDayName(const std::array<std::string, 7>& names) {
    const int index = DayOfWeekIndex();
    if (index >= 0) out_ += names[index];
  }
  void AppendMonthName(const std::array<std::string, 12>& names) {
    if (value_.month >= 1 && value_.month <= 12) out_ += names[value_.month - 1];
  }

  // An hour prints on the 12-hour clock when an am/pm specifier has already been seen in this
  // pattern, or when one follows it (outside quoted text) before the next hour. Each kind of
  // quote is closed only by its own kind, as the formatting itself reads them, and letters
  // that are no specifier ("a" alone) do not end the search.
  bool AmPmFollows(std::string_view pattern, size_t at) const {
    char quote = 0;
    for (; at < pattern.size(); ++at) {
      const char c = pattern[at];
      if (locale_.isLeadByte && locale_.isLeadByte(static_cast<unsigned char>(c))) {
        ++at;
        continue;
      }
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '\'' || c == '"') {
        quote = c;
      } else if ((c == 'a' || c == 'A') &&
                 (StartsNoCase(pattern, at, "am/pm") || StartsNoCase(pattern, at, "a/p") ||
                  StartsNoCase(pattern, at, "ampm"))) {
        return true;
      } else if (c == 'h' || c == 'H') {
        return false;
      }
    }
    return false;
  }

  void Append(std::string_view pattern, int depth) {
    if (depth >= kMaxDepth) return;
    bool twelveHour = false;
    char lastToken = ' ';
    size_t at = 0;
    while (at < pattern.size()) {
      const char starter = pattern[at++];
      if (locale_.isLeadByte && locale_.isLeadByte(static_cast<unsigned char>(starter))) {
        out_ += starter;
        if (at < pattern.size()) out_ += pattern[at++];
        continue;
      }
      char token = Upper(starter);
      if (IsAsciiLetter(starter)) {
        // "m" or "mm" right after an hour, with only non-letters between, is the minute;
        // "mmm" and "mmmm" stay month names there.
        if (token == 'M' && lastToken == 'H') {
          size_t end = at;
          if (Count(pattern, end, starter) <= 2) token = 'N';
        }
        lastToken = token;
      }
      switch (token) {
        case 'Y': {
          const int count = Count(pattern, at, starter);
          if (count <= 2)
            AppendNumber(out_, value_.year % 100, 2);
          else
            AppendNumber(out_, value_.year, 4);
          break;
        }
        case 'M': {
          const int count = Count(pattern, at, starter);
          if (count <= 2)
            AppendNumber(out_, value_.month, count);
          else if (count == 3)
            AppendMonthName(locale_.shortMonths);
          else
            AppendMonthName(locale_.longMonths);
          break;
        }
        case 'D': {
          const int count = Count(pattern, at, starter);
          if (count <= 2)
            AppendNumber(out_, value_.day, count);
          else if (count == 3)
            AppendDayName(locale_.shortDays);
          else if (count == 4)
            AppendDayName(locale_.longDays);
          else if (count == 5)
            Append(locale_.shortDate, depth + 1);
          else
            Append(locale_.longDate, depth + 1);
          break;
        }
        case 'H': {
          const int count = Count(pattern, at, starter);
          if (!twelveHour) twelveHour = AmPmFollows(pattern, at);
          int hour = value_.hour;
          if (twelveHour) {
            if (hour == 0)
              hour = 12;
            else if (hour > 12)
              hour -= 12;
          }
          AppendNumber(out_, hour, count >= 2 ? 2 : 1);
          break;
        }
        case 'N':
          AppendNumber(out_, value_.minute, Count(pattern, at, starter) >= 2 ? 2 : 1);
          break;
        case 'S':
          AppendNumber(out_, value_.second, Count(pattern, at, starter) >= 2 ? 2 : 1);
          break;
        case 'Z':
          AppendNumber(out_, value_.millisecond, Count(pattern, at, starter) >= 2 ? 3 : 1);
          break;
        case 'T':
          if (Count(pattern, at, starter) == 1)
            Append(locale_.shortTime, depth + 1);
          else
            Append(locale_.longTime, depth + 1);
          break;
        case 'A': {
          const size_t start = at - 1;
          const bool afternoon = value_.hour >= 12;
          if (StartsNoCase(pattern, start, "am/pm")) {
            out_ += pattern.substr(afternoon ? start + 3 : start, 2);
            at = start + 5;
            twelveHour = true;
          } else if (StartsNoCase(pattern, start, "a/p")) {
            out_ += pattern[afternoon ? start + 2 : start];
            at = start + 3;
            twelveHour = true;
          } else if (StartsNoCase(pattern, start, "ampm")) {
            out_ += afternoon ? locale_.pmDesignator : locale_.amDesignator;
            at = start + 4;
            twelveHour = true;
          } else {
            out_ += starter;
          }
          break;
        }
        case 'C':
          Count(pattern, at, starter);
          Append(locale_.shortDate, depth + 1);
          if (value_.hour != 0 || value_.minute != 0 || value_.second != 0 ||
              value_.millisecond != 0) {
            out_ += ' ';
            Append(locale_.longTime, depth + 1);
          }
          break;
        case '/':
          out_ += locale_.dateSeparator;
          break;
        case ':':
          out_ += locale_.timeSeparator;
          break;
        case '\'':
        case '"': {
          const size_t close = pattern.find(starter, at);
          const size_t end = close == std::string_view::npos ? pattern.size() : close;
          out_ += pattern.substr(at, end - at);
          at = close == std::string_view::npos ? end : end + 1;
          break;
        }
        default:
          out_ += starter;
      }
    }
  }

  const DateTimeFields& value_;
  const LocaleFormats& locale_;
  std::string out_;
};

// ---- Windows format pictures ----

struct PictureToken {
  enum Kind { kField, kLiteral, kQuoted } kind;
  std::string text;   // field letters, or the literal text without quotes
  size_t begin, end;  // the token's span in the picture
};

std::vector<PictureToken> SplitPicture(std::string_view picture, std::string_view fieldLetters,
                                       LeadBytePredicate isLeadByte) {
  std::vector<PictureToken> tokens;
  auto literal = [&](size_t begin) -> PictureToken& {
    if (tokens.empty() || tokens.back().kind != PictureToken::kLiteral)
      tokens.push_back({PictureToken::kLiteral, {}, begin, begin});
    return tokens.back();
  };
  size_t at = 0;
  while (at < picture.size()) {
    const size_t begin = at;
    const char c = picture[at];
    if (isLeadByte && isLeadByte(static_cast<unsigned char>(c)) && at + 1 < picture.size()) {
      PictureToken& token = literal(begin);
      token.text.append(picture.substr(at, 2));
      at += 2;
      token.end = at;
    } else if (c == '\'') {
      // Quoted text; two quotes stand for one, inside or outside a quoted part.
      if (at + 1 < picture.size() && picture[at + 1] == '\'') {
        PictureToken& token = literal(begin);
        token.text += '\'';
        at += 2;
        token.end = at;
        continue;
      }
      std::string text;
      ++at;
      while (at < picture.size()) {
        if (picture[at] == '\'') {
          if (at + 1 < picture.size() && picture[at + 1] == '\'') {
            text += '\'';
            at += 2;
            continue;
          }
          ++at;
          break;
        }
        if (isLeadByte && isLeadByte(static_cast<unsigned char>(picture[at])) &&
            at + 1 < picture.size())
          text += picture[at++];
        text += picture[at++];
      }
      tokens.push_back({PictureToken::kQuoted, std::move(text), begin, at});
    } else if (fieldLetters.find(c) != std::string_view::npos) {
      while (at < picture.size() && picture[at] == c) ++at;
      tokens.push_back(
          {PictureToken::kField, std::string(picture.substr(begin, at - begin)), begin, at});
    } else {
      PictureToken& token = literal(begin);
      token.text += c;
      token.end = ++at;
    }
  }
  return tokens;
}

bool NeedsQuotes(std::string_view text, LeadBytePredicate isLeadByte) {
  for (char c : text) {
    if (IsAsciiLetter(c) || c == '/' || c == ':' || c == '\'' || c == '"') return true;
    if (isLeadByte && isLeadByte(static_cast<unsigned char>(c))) return true;
  }
  return false;
}

// Literal text in the pattern language: as it is when nothing in it means anything there,
// otherwise between double quotes (a double quote itself between single ones).
void AppendLiteral(std::string& out, std::string_view text, LeadBytePredicate isLeadByte) {
  if (text.empty()) return;
  if (!NeedsQuotes(text, isLeadByte)) {
    out += text;
    return;
  }
  for (size_t quote; (quote = text.find('"')) != std::string_view::npos;) {
    if (quote > 0) out.append("\"").append(text.substr(0, quote)).append("\"");
    out += "'\"'";
    text.remove_prefix(quote + 1);
  }
  if (!text.empty()) out.append("\"").append(text).append("\"");
}

void AppendUnquotedLiteral(std::string& out, std::string_view text, std::string_view separator,
                           char placeholder, LeadBytePredicate isLeadByte) {
  if (separator.empty()) return AppendLiteral(out, text, isLeadByte);
  for (size_t at; (at = text.find(separator)) != std::string_view::npos;) {
    AppendLiteral(out, text.substr(0, at), isLeadByte);
    out += placeholder;
    text.remove_prefix(at + separator.size());
  }
  AppendLiteral(out, text, isLeadByte);
}

std::string ConvertPicture(std::string_view picture, std::string_view separator, bool time,
                           LeadBytePredicate isLeadByte) {
  std::string out;
  for (const PictureToken& token : SplitPicture(picture, time ? "hHmst" : "dMyg", isLeadByte)) {
    if (token.kind == PictureToken::kQuoted) {
      AppendLiteral(out, token.text, isLeadByte);
      continue;
    }
    if (token.kind == PictureToken::kLiteral) {
      AppendUnquotedLiteral(out, token.text, separator, time ? ':' : '/', isLeadByte);
      continue;
    }
    const size_t count = token.text.size();
    switch (token.text[0]) {
      case 'd':
        out.append(std::min<size_t>(count, 4), 'd');
        break;
      case 'M':
        out.append(std::min<size_t>(count, 4), 'm');
        break;
      case 'y':
        out += count <= 2 ? "yy" : "yyyy";
        break;
      case 'g':  // eras have no counterpart; the Gregorian calendar needs none
        break;
      case 'h':
      case 'H':
        out += count >= 2 ? "hh" : "h";
        break;
      case 'm':
        out += count >= 2 ? "nn" : "n";
        break;
      case 's':
        out += count >= 2 ? "ss" : "s";
        break;
      case 't':
        out += count >= 2 ? "ampm" : "a/p";
        break;
    }
  }
  return out;
}

}  // namespace

LocaleFormats UsEnglishFormats() {
  return {
      .shortDate = "m/d/yyyy",
      .longDate = "dddd, mmmm d, yyyy",
      .shortTime = "h:nn AMPM",
      .longTime = "h:nn:ss AMPM",
      .dateSeparator = "/",
      .timeSeparator = ":",
      .amDesignator = "AM",
      .pmDesignator = "PM",
      .shortMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov",
                      "Dec"},
      .longMonths = {"January", "February", "March", "April", "May", "June", "July", "August",
                     "September", "October", "November", "December"},
      .shortDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
      .longDays = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
  };
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

bool IsValidTime(int hour, int minute, int second) {
  if (hour == 24 && minute == 0 && second == 0) return true;
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

std::int64_t DaysFromCivil(int year, int month, int day) {
  return UnixDaysFromCivil(year, month, day) - kUnixDayOfYearOne;
}

int IsoDayOfWeek(std::int64_t dayNumber) {
  const std::int64_t rest = dayNumber % 7;
  return static_cast<int>(rest < 0 ? rest + 7 : rest) + 1;
}

std::array<std::int64_t, 7> CountWeekdays(std::int64_t firstDay, std::int64_t lastDay) {
  std::array<std::int64_t, 7> counts{};
  if (lastDay < firstDay) return counts;
  const std::int64_t total = lastDay - firstDay + 1;
  counts.fill(total / 7);
  // The days beyond the whole weeks start on the first day's weekday and run on from it.
  const int first = IsoDayOfWeek(firstDay) - 1;
  for (int i = 0; i < total % 7; ++i) ++counts[(first + i) % 7];
  return counts;
}

std::string FormatDateTime(std::string_view pattern, const DateTimeFields& value,
                           const LocaleFormats& locale) {
  return Formatter(value, locale).Run(pattern);
}

double DateTimeToValue(const DateTimeFields& value) {
  const double days =
      static_cast<double>(DaysFromCivil(value.year, value.month, value.day) - kValueEpochDay);
  const double time =
      ((value.hour * 60.0 + value.minute) * 60.0 + value.second) * 1000.0 + value.millisecond;
  const double fraction = time / kMillisecondsPerDay;
  // Before the epoch the time still counts forward from the day's start: -1.25 is 29 December
  // 1899, 6:00.
  return days < 0 ? days - fraction : days + fraction;
}

DateTimeFields ValueToDateTime(double value) {
  DateTimeFields fields;
  if (!std::isfinite(value) || std::fabs(value) > 1e8) return fields;
  double whole = std::trunc(value);
  std::int64_t milliseconds = std::llround(std::fabs(value - whole) * kMillisecondsPerDay);
  if (milliseconds >= kMillisecondsPerDay) {
    // Rounded up to the next midnight: the next day when counting forward, the same day's
    // end when counting back (the fraction grows towards the day's start there).
    if (value >= 0) {
      whole += 1;
      milliseconds = 0;
    } else {
      milliseconds = kMillisecondsPerDay - 1;
    }
  }
  const CalendarDate date =
      CivilFromUnixDays(static_cast<std::int64_t>(whole) + kValueEpochDay + kUnixDayOfYearOne);
  fields.year = date.year;
  fields.month = date.month;
  fields.day = date.day;
  fields.hour = static_cast<int>(milliseconds / 3600000);
  fields.minute = static_cast<int>(milliseconds / 60000 % 60);
  fields.second = static_cast<int>(milliseconds / 1000 % 60);
  fields.millisecond = static_cast<int>(milliseconds % 1000);
  return fields;
}

namespace {

enum class DateOrder { kMonthDayYear, kDayMonthYear, kYearMonthDay };

// The first of day, month and year that the pattern names decides the order.
DateOrder OrderOfPattern(std::string_view pattern) {
  for (size_t at = 0; at < pattern.size(); ++at) {
    const char c = Upper(pattern[at]);
    if (c == '\'' || c == '"') {
      const size_t close = pattern.find(pattern[at], at + 1);
      if (close == std::string_view::npos) break;
      at = close;
    } else if (c == 'Y') {
      return DateOrder::kYearMonthDay;
    } else if (c == 'M') {
      return DateOrder::kMonthDayYear;
    } else if (c == 'D') {
      return DateOrder::kDayMonthYear;
    }
  }
  return DateOrder::kMonthDayYear;
}

class DateScanner {
 public:
  DateScanner(std::string_view text, std::string_view separator)
      : text_(text), separator_(separator) {}

  void SkipBlanks() {
    while (at_ < text_.size() && text_[at_] == ' ') ++at_;
  }
  bool Number(int& value, int& digits) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
      // Five digits already exceed every field; more only guard the arithmetic.
      if (value < 100000) value = value * 10 + (text_[at_] - '0');
      ++at_;
      ++digits;
    }
    return digits > 0;
  }
  // With an empty separator (the regional one is a blank) the blanks themselves separate.
  bool Separator() {
    const size_t saved = at_;
    SkipBlanks();
    if (separator_.empty()) return at_ > saved;
    if (text_.substr(at_, separator_.size()) == separator_) {
      at_ += separator_.size();
      return true;
    }
    at_ = saved;
    return false;
  }
  bool AtEnd() {
    SkipBlanks();
    return at_ == text_.size();
  }

 private:
  std::string_view text_, separator_;
  size_t at_ = 0;
};

}  // namespace

std::optional<CalendarDate> ReadShortDate(std::string_view text, std::string_view shortDatePattern,
                                          std::string_view separator, int currentYear) {
  // Blanks around the separator are allowed anyway, so a separator such as ". " is matched
  // by its visible part, and one of blanks only by the blanks.
  std::string_view mark = separator;
  while (!mark.empty() && mark.front() == ' ') mark.remove_prefix(1);
  while (!mark.empty() && mark.back() == ' ') mark.remove_suffix(1);
  if (separator.empty()) mark = "/";

  const DateOrder order = OrderOfPattern(shortDatePattern);
  DateScanner scan(text, mark);
  int n1, n2, n3, d1, d2, d3;
  if (!scan.Number(n1, d1) || !scan.Separator() || !scan.Number(n2, d2)) return std::nullopt;
  CalendarDate date;
  if (scan.Separator() && scan.Number(n3, d3)) {
    int yearDigits = d3;
    switch (order) {
      case DateOrder::kMonthDayYear:
        date = {n3, n1, n2};
        break;
      case DateOrder::kDayMonthYear:
        date = {n3, n2, n1};
        break;
      case DateOrder::kYearMonthDay:
        date = {n1, n2, n3};
        yearDigits = d1;
        break;
    }
    if (yearDigits <= 2) {
      const int windowStart = currentYear - 50;
      date.year += windowStart / 100 * 100;
      if (date.year < windowStart) date.year += 100;
    }
    scan.Separator();
  } else {
    // Two numbers (perhaps with the one trailing separator already taken): day and month in
    // the pattern's order, month first when the year leads.
    date = order == DateOrder::kDayMonthYear ? CalendarDate{currentYear, n2, n1}
                                             : CalendarDate{currentYear, n1, n2};
  }
  if (!scan.AtEnd() || !IsValidDate(date.year, date.month, date.day)) return std::nullopt;
  return date;
}

std::string DatePictureToPattern(std::string_view picture, std::string_view dateSeparator,
                                 LeadBytePredicate isLeadByte) {
  return ConvertPicture(picture, dateSeparator, false, isLeadByte);
}

std::string TimePictureToPattern(std::string_view picture, std::string_view timeSeparator,
                                 LeadBytePredicate isLeadByte) {
  return ConvertPicture(picture, timeSeparator, true, isLeadByte);
}

std::string SeparatorOfDatePicture(std::string_view picture, std::string_view declared) {
  const std::vector<PictureToken> tokens = SplitPicture(picture, "dMyg", nullptr);
  if (!declared.empty())
    for (const PictureToken& token : tokens)
      if (token.kind == PictureToken::kLiteral && token.text.find(declared) != std::string::npos)
        return std::string(declared);
  for (size_t i = 1; i + 1 < tokens.size(); ++i) {
    if (tokens[i].kind != PictureToken::kLiteral || tokens[i - 1].kind != PictureToken::kField ||
        tokens[i + 1].kind != PictureToken::kField)
      continue;
    std::string_view text = tokens[i].text;
    while (text.size() > 1 && text.front() == ' ') text.remove_prefix(1);
    while (text.size() > 1 && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
  }
  return "/";
}

std::string WithoutSeconds(std::string_view timePicture) {
  const std::vector<PictureToken> tokens = SplitPicture(timePicture, "hHmst", nullptr);
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind != PictureToken::kField || tokens[i].text[0] != 's') continue;
    size_t begin = tokens[i].begin, end = tokens[i].end;
    // Take the separator that leads to the seconds with them ("h:mm:ss tt" -> "h:mm tt"), or
    // the one after them when they come first.
    if (i > 0 && tokens[i - 1].kind == PictureToken::kLiteral)
      begin = tokens[i - 1].begin;
    else if (i + 1 < tokens.size() && tokens[i + 1].kind == PictureToken::kLiteral)
      end = tokens[i + 1].end;
    return std::string(timePicture.substr(0, begin)) + std::string(timePicture.substr(end));
  }
  return std::string(timePicture);
}
