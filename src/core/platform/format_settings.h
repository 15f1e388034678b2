// SPDX-License-Identifier: MIT
#pragma once
// The locale settings that generated numbers and dates follow: separators, date and time
// formats, day and month names, morning/afternoon designators. English with "/" and ":" by
// default; the desktop program fills them from the user's locale.

#include <array>
#include <string>

namespace kelvast {

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  // Patterns in the date-time pattern language of FormatDateTime.
  std::string ShortDateFormat = "mm/dd/yyyy";
  std::string LongDateFormat = "dddd, mmmm d, yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  // Index 0 is January / Sunday.
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",
                                             "May",     "June",     "July",      "August",
                                             "September", "October", "November", "December"};
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
};

// The process-wide settings that generators and writers use.
TFormatSettings& FormatSettings();

// Values written to files and databases take one form whatever the user's locale says: numbers
// with a full stop, dates and times with the separators their format shows and English names
// of months and days, which is what SQL, CSV and XML readers take. Held for the length of a run
// and of a sample, which previews the run; restores the locale's settings when it ends.
class TFileFormatScope {
 public:
  TFileFormatScope() : FSaved(FormatSettings()) { FormatSettings() = TFormatSettings(); }
  ~TFileFormatScope() { FormatSettings() = FSaved; }
  TFileFormatScope(const TFileFormatScope&) = delete;
  TFileFormatScope& operator=(const TFileFormatScope&) = delete;

 private:
  TFormatSettings FSaved;
};

// Numbers written to files and databases carry a full stop whatever the user's locale says:
// SQL, CSV and XML readers take no other separator. Held for the length of a run; the window's
// previews keep the locale's separator.
class TPointDecimalScope {
 public:
  TPointDecimalScope() : FSaved(FormatSettings().DecimalSeparator) {
    FormatSettings().DecimalSeparator = '.';
  }
  ~TPointDecimalScope() { FormatSettings().DecimalSeparator = FSaved; }
  TPointDecimalScope(const TPointDecimalScope&) = delete;
  TPointDecimalScope& operator=(const TPointDecimalScope&) = delete;

 private:
  char FSaved;
};

}  // namespace kelvast
