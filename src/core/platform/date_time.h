#pragma once
// Date-time values as doubles: the integer part counts days from 30 December 1899 (day 0), the
// fraction is the time of day (0.5 = noon). For negative values the day is the integer part
// taken towards zero and the time of day is the absolute value of the fraction.

#include <string>
#include <string_view>

#include "core/platform/format_settings.h"

namespace kelvast {

using TDateTime = double;

// Days from 30 December 1899 to the given date of the proleptic Gregorian calendar.
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);

void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& minute, int& second, int& millisecond);

// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime dt);

// The local date and time now.
TDateTime Now();

// Appends dt formatted with the date-time pattern language (d, dd, ddd, dddd, ddddd, dddddd,
// m, mm, mmm, mmmm, yy, yyyy, h, hh, n, nn, s, ss, z, zzz, t, tt, c, am/pm, a/p, ampm, "/", ":",
// quoted text); an empty pattern means "c".
void AppendDateTime(std::string& out, std::string_view pattern, TDateTime dt,
                    const TFormatSettings& fs = FormatSettings());
std::string FormatDateTime(std::string_view pattern, TDateTime dt,
                           const TFormatSettings& fs = FormatSettings());

}  // namespace kelvast
