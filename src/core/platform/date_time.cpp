// SPDX-License-Identifier: MIT
#include "core/platform/date_time.h"

#include "core/platform/errors.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>

namespace kelvast {
namespace {

constexpr int kMsPerDay = 86400000;
// Day numbers of 1 January 1 and 31 December 9999, the ends of the calendar we accept.
constexpr int kFirstDay = -693593;
constexpr int kLastDay = 2958465;
// Day number of 1 January 1970, where the civil-day arithmetic below counts from.
constexpr int kUnixEpochDay = 25569;

bool IsLeapYear(int y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }

int DaysInMonth(int y, int m) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (m == 2 && IsLeapYear(y)) ? 29 : kDays[m - 1];
}

// Counting in 400-year eras of 146097 days, with years starting in March so the leap day is
// the last day of its year, keeps the conversion free of loops and tables.
int DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int z, int& y, int& m, int& d) {
  z += 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = z - era * 146097;
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = yoe + era * 400 + (m <= 2);
}

// The day number of dt, false outside the calendar (this also keeps the cast to int defined).
bool DayNumber(TDateTime dt, int& day) {
  if (!std::isfinite(dt)) return false;
  const double whole = std::trunc(dt);
  if (whole < kFirstDay || whole > kLastDay) return false;
  day = static_cast<int>(whole);
  return true;
}

int TimeOfDayMs(TDateTime dt) {
  if (!std::isfinite(dt)) return 0;
  const double ms = std::round(std::fabs(dt - std::trunc(dt)) * kMsPerDay);
  return ms >= kMsPerDay ? kMsPerDay - 1 : static_cast<int>(ms);
}

int WeekDayOf(int day) {
  // Day 0 was a Saturday (7).
  return ((day % 7) + 13) % 7 + 1;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (AsciiLower(s[i]) != prefix[i]) return false;
  return true;
}

// Length of the morning/afternoon designator at the start of s, 0 when there is none.
size_t AmPmLength(std::string_view s) {
  if (StartsWithNoCase(s, "am/pm")) return 5;
  if (StartsWithNoCase(s, "ampm")) return 4;
  if (StartsWithNoCase(s, "a/p")) return 3;
  return 0;
}

// Position just after the quoted text that starts at i; an unclosed quote runs to the end.
size_t QuoteEnd(std::string_view pattern, size_t i) {
  const size_t close = pattern.find(pattern[i], i + 1);
  return close == std::string_view::npos ? pattern.size() : close + 1;
}

// A pattern with a morning/afternoon designator outside quotes shows hours on the 12-hour clock.
bool UsesTwelveHourClock(std::string_view pattern) {
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '"' || c == '\'') {
      i = QuoteEnd(pattern, i);
    } else if (AsciiLower(c) == 'a' && AmPmLength(pattern.substr(i)) > 0) {
      return true;
    } else {
      ++i;
    }
  }
  return false;
}

void AppendNumber(TTextBuffer& out, int value, int minDigits) {
  char buf[16];
  char* const end = std::to_chars(buf, buf + sizeof buf, value).ptr;
  for (auto len = end - buf; len < minDigits; ++len)
    out += '0';
  out.append(buf, static_cast<size_t>(end - buf));
}

// Formats one value: decodes it once, then walks the pattern and any nested formats.
class TDateTimeWriter {
 public:
  TDateTimeWriter(TTextBuffer& out, TDateTime dt, const TFormatSettings& fs) : out_(out), fs_(fs) {
    DecodeDate(dt, year_, month_, day_);
    int day;
    weekDay_ = DayNumber(dt, day) ? WeekDayOf(day) : 0;
    timeMs_ = TimeOfDayMs(dt);
    hour_ = timeMs_ / 3600000;
    minute_ = timeMs_ / 60000 % 60;
    second_ = timeMs_ / 1000 % 60;
    msec_ = timeMs_ % 1000;
  }

  void Write(std::string_view pattern, int depth);

 private:
  // Two levels cover every real use (c -> short date format -> nothing further) and stop a
  // settings pattern that contains "c" or "t" from recursing forever.
  static constexpr int kMaxNesting = 2;

  void WriteNested(std::string_view pattern, int depth) {
    if (depth < kMaxNesting) Write(pattern, depth + 1);
  }
  void WriteName(const std::string* names, int index, int count) {
    if (index >= 1 && index <= count) out_ += names[index - 1];
  }
  void WriteField(char letter, size_t count, bool afterHour, bool twelveHour, int depth);

  TTextBuffer& out_;
  const TFormatSettings& fs_;
  int year_, month_, day_, weekDay_;
  int timeMs_, hour_, minute_, second_, msec_;
};

void TDateTimeWriter::Write(std::string_view pattern, int depth) {
  const bool twelveHour = UsesTwelveHourClock(pattern);
  // Whether the last field was an hour: "m" then means minutes. Separators, quoted text and
  // copied characters leave it as it is, so "hh:mm" and "hh.mm" both show minutes.
  bool afterHour = false;
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    const char lower = AsciiLower(c);
    if (c == '"' || c == '\'') {
      const size_t close = pattern.find(c, i + 1);
      const size_t textEnd = close == std::string_view::npos ? pattern.size() : close;
      out_.append(pattern.substr(i + 1, textEnd - i - 1));
      i = close == std::string_view::npos ? pattern.size() : close + 1;
    } else if (c == '/') {
      out_ += fs_.DateSeparator;
      ++i;
    } else if (c == ':') {
      out_ += fs_.TimeSeparator;
      ++i;
    } else if (lower == 'a') {
      const size_t len = AmPmLength(pattern.substr(i));
      if (len == 0) {
        out_ += c;
      } else {
        const bool pm = hour_ >= 12;
        if (len == 4) {
          out_ += pm ? fs_.TimePMString : fs_.TimeAMString;
        } else if (len == 5) {
          // "am/pm" and "a/p" write the letters as the pattern writes them.
          out_.append(pattern.substr(i + (pm ? 3 : 0), 2));
        } else {
          out_ += pattern[i + (pm ? 2 : 0)];
        }
        afterHour = false;
      }
      i += len == 0 ? 1 : len;
    } else if (lower == 'c' || lower == 'd' || lower == 'm' || lower == 'y' || lower == 'h' ||
               lower == 'n' || lower == 's' || lower == 'z' || lower == 't') {
      size_t count = 1;
      while (i + count < pattern.size() && AsciiLower(pattern[i + count]) == lower)
        ++count;
      WriteField(lower, count, afterHour, twelveHour, depth);
      afterHour = lower == 'h';
      i += count;
    } else {
      out_ += c;
      ++i;
    }
  }
}

void TDateTimeWriter::WriteField(char letter, size_t count, bool afterHour, bool twelveHour,
                                     int depth) {
  switch (letter) {
    case 'c':
      WriteNested(fs_.ShortDateFormat, depth);
      if (timeMs_ != 0) {
        out_ += ' ';
        WriteNested(fs_.LongTimeFormat, depth);
      }
      break;
    case 'd':
      if (count <= 2)
        AppendNumber(out_, day_, static_cast<int>(count));
      else if (count == 3)
        WriteName(fs_.ShortDayNames.data(), weekDay_, 7);
      else if (count == 4)
        WriteName(fs_.LongDayNames.data(), weekDay_, 7);
      else if (count == 5)
        WriteNested(fs_.ShortDateFormat, depth);
      else
        WriteNested(fs_.LongDateFormat, depth);
      break;
    case 'm':
      if (count <= 2)
        AppendNumber(out_, afterHour ? minute_ : month_, static_cast<int>(count));
      else if (count == 3)
        WriteName(fs_.ShortMonthNames.data(), month_, 12);
      else
        WriteName(fs_.LongMonthNames.data(), month_, 12);
      break;
    case 'y':
      if (count <= 2)
        AppendNumber(out_, year_ % 100, 2);
      else
        AppendNumber(out_, year_, 4);
      break;
    case 'h': {
      int hour = hour_;
      if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
      AppendNumber(out_, hour, count == 1 ? 1 : 2);
      break;
    }
    case 'n':
      AppendNumber(out_, minute_, count == 1 ? 1 : 2);
      break;
    case 's':
      AppendNumber(out_, second_, count == 1 ? 1 : 2);
      break;
    case 'z':
      AppendNumber(out_, msec_, count < 3 ? 1 : 3);
      break;
    case 't':
      WriteNested(count == 1 ? fs_.ShortTimeFormat : fs_.LongTimeFormat, depth);
      break;
  }
}

}  // namespace

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    return false;
  out = DaysFromCivil(year, month, day) + kUnixEpochDay;
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime result;
  if (!TryEncodeDate(year, month, day, result))
    throw EKelvastError("Invalid date: " + std::to_string(year) + "-" + std::to_string(month) +
                        "-" + std::to_string(day));
  return result;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& out) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999)
    return false;
  out =
      (((hour * 60 + minute) * 60 + second) * 1000 + millisecond) / static_cast<double>(kMsPerDay);
  return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  TDateTime result;
  if (!TryEncodeTime(hour, minute, second, millisecond, result))
    throw EKelvastError("Invalid time: " + std::to_string(hour) + ":" + std::to_string(minute) +
                        ":" + std::to_string(second) + "." + std::to_string(millisecond));
  return result;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
  return date < 0 ? date - time : date + time;
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day) {
  int number;
  if (!DayNumber(dt, number)) {
    year = month = day = 0;
    return;
  }
  CivilFromDays(number - kUnixEpochDay, year, month, day);
}

void DecodeTime(TDateTime dt, int& hour, int& minute, int& second, int& millisecond) {
  const int ms = TimeOfDayMs(dt);
  hour = ms / 3600000;
  minute = ms / 60000 % 60;
  second = ms / 1000 % 60;
  millisecond = ms % 1000;
}

int DayOfWeek(TDateTime dt) {
  int day;
  return DayNumber(dt, day) ? WeekDayOf(day) : 0;
}

TDateTime Now() {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  // A leap second (tm_sec 60) is shown as the last second of its minute.
  const int second = local.tm_sec > 59 ? 59 : local.tm_sec;
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, second, static_cast<int>(ms % 1000));
}

void AppendDateTime(TTextBuffer& out, std::string_view pattern, TDateTime dt,
                    const TFormatSettings& fs) {
  TDateTimeWriter writer(out, dt, fs);
  writer.Write(pattern.empty() ? std::string_view("c") : pattern, 0);
}

std::string FormatDateTime(std::string_view pattern, TDateTime dt, const TFormatSettings& fs) {
  TTextBuffer out;
  AppendDateTime(out, pattern, dt, fs);
  return out.str();
}

}  // namespace kelvast
