// SPDX-License-Identifier: MIT
#pragma once
// Date-time values as doubles: the integer part counts days from 30 December 1899 (day 0), the
// fraction is the time of day (0.5 = noon). For negative values the day is the integer part
// taken towards zero and the time of day is the absolute value of the fraction.

#include "core/platform/format_settings.h"
#include "core/platform/text_buffer.h"

#include <string>
#include <string_view>

namespace kelvast {

using TDateTime = double;

// Days from 30 December 1899 to the given date of the proleptic Gregorian calendar, years 1 to
// 9999. EncodeDate throws EKelvastError for a date that does not exist; TryEncodeDate returns
// false.
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
// The fraction of a day for 0:00:00.000 .. 23:59:59.999; EncodeTime throws EKelvastError
// outside that range, TryEncodeTime returns false.
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& out);

// A date (a whole day number) and a time of day (a fraction) as one value. Before day 0 the
// fraction is subtracted, because there the time of day is the absolute value of the fraction.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// The date of dt; 0, 0, 0 when dt lies outside the years 1 to 9999 or is not a number.
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
// The time of day of dt, rounded to the nearest millisecond. A time within half a millisecond
// of the next midnight gives 23:59:59.999, so the time never spills into another date and the
// date and time parts of one value always decode independently.
void DecodeTime(TDateTime dt, int& hour, int& minute, int& second, int& millisecond);

// 1 = Sunday ... 7 = Saturday; 0 when dt lies outside the years 1 to 9999.
int DayOfWeek(TDateTime dt);

// The local date and time now.
TDateTime Now();

// Appends dt formatted with the date-time pattern language (d, dd, ddd, dddd, ddddd, dddddd,
// m, mm, mmm, mmmm, yy, yyyy, h, hh, n, nn, s, ss, z, zzz, t, tt, c, am/pm, a/p, ampm, "/", ":",
// quoted text); an empty pattern means "c". Letters are case-insensitive; any other character
// is copied. The nested formats (c, ddddd, dddddd, t, tt) expand at most two levels deep, so a
// settings pattern that names itself ends instead of recursing.
//   FormatDateTime("yyyy-mm-dd hh:nn", EncodeDate(2024, 2, 29))  ->  "2024-02-29 00:00"
void AppendDateTime(TTextBuffer& out, std::string_view pattern, TDateTime dt,
                    const TFormatSettings& fs = FormatSettings());
std::string FormatDateTime(std::string_view pattern, TDateTime dt,
                           const TFormatSettings& fs = FormatSettings());

}  // namespace kelvast
