// SPDX-License-Identifier: MIT
#include "core/platform/date_time.h"

#include <limits>

#include <gtest/gtest.h>

namespace kelvast {
namespace {

// Tuesday 5 March 2024, 14:07:09.045.
const TDateTime kAfternoon = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
const TDateTime kMorning = EncodeDate(2024, 3, 5) + EncodeTime(9, 30, 0, 0);

struct Case {
  const char* pattern;
  TDateTime dt;
  const char* expected;
};

void Check(const Case* begin, const Case* end, const TFormatSettings& fs) {
  for (const Case* c = begin; c != end; ++c) {
    SCOPED_TRACE(testing::Message() << "pattern \"" << c->pattern << "\", value " << c->dt);
    EXPECT_EQ(FormatDateTime(c->pattern, c->dt, fs), c->expected);
  }
}

TEST(FormatDateTimeTest, EachField) {
  const Case cases[] = {
      {"d", kAfternoon, "5"},
      {"dd", kAfternoon, "05"},
      {"ddd", kAfternoon, "Tue"},
      {"dddd", kAfternoon, "Tuesday"},
      {"ddddd", kAfternoon, "03/05/2024"},
      {"dddddd", kAfternoon, "Tuesday, March 5, 2024"},
      {"m", kAfternoon, "3"},
      {"mm", kAfternoon, "03"},
      {"mmm", kAfternoon, "Mar"},
      {"mmmm", kAfternoon, "March"},
      {"y", kAfternoon, "24"},
      {"yy", kAfternoon, "24"},
      {"yyy", kAfternoon, "2024"},
      {"yyyy", kAfternoon, "2024"},
      {"yy yyyy", EncodeDate(99, 7, 4), "99 0099"},
      {"yy", EncodeDate(2005, 7, 4), "05"},
      {"h", kMorning, "9"},
      {"hh", kMorning, "09"},
      {"h", kAfternoon, "14"},
      {"n", kAfternoon, "7"},
      {"nn", kAfternoon, "07"},
      {"s", kAfternoon, "9"},
      {"ss", kAfternoon, "09"},
      {"z", kAfternoon, "45"},
      {"zzz", kAfternoon, "045"},
      {"t", kAfternoon, "14:07"},
      {"tt", kAfternoon, "14:07:09"},
      {"c", kAfternoon, "03/05/2024 14:07:09"},
      {"c", EncodeDate(2024, 3, 5), "03/05/2024"},
      {"/", 0, "/"},
      {":", 0, ":"},
      {"YYYY-MM-DD HH:NN:SS.ZZZ", kAfternoon, "2024-03-05 14:07:09.045"},
      {"mm/dd/yyyy", 0, "12/30/1899"},
      {"dd.mm.yyyy", -1.25, "29.12.1899"},
  };
  Check(std::begin(cases), std::end(cases), TFormatSettings{});
}

TEST(FormatDateTimeTest, MAfterAnHourMeansMinutes) {
  const Case cases[] = {
      {"h:m", kAfternoon, "14:7"},          {"hh:mm", kAfternoon, "14:07"},
      {"hh.mm", kAfternoon, "14.07"},       {"hh 'o''clock' mm", kAfternoon, "14 oclock 07"},
      {"hhmm", kAfternoon, "1407"},         {"mm hh", kAfternoon, "03 14"},
      {"hh dd mm", kAfternoon, "14 05 03"}, {"hh:nn:ss mm", kAfternoon, "14:07:09 03"},
      {"hh mmm", kAfternoon, "14 Mar"},     {"hh am/pm mm", kAfternoon, "02 pm 03"},
  };
  Check(std::begin(cases), std::end(cases), TFormatSettings{});
}

TEST(FormatDateTimeTest, MorningAndAfternoon) {
  const TDateTime midnight = EncodeDate(2024, 3, 5) + EncodeTime(0, 15, 0, 0);
  const TDateTime noon = EncodeDate(2024, 3, 5) + EncodeTime(12, 0, 0, 0);
  const Case cases[] = {
      {"h am/pm", kAfternoon, "2 pm"},
      {"h am/pm", kMorning, "9 am"},
      {"hh AM/PM", kAfternoon, "02 PM"},
      {"h Am/pM", kAfternoon, "2 pM"},
      {"h Am/pM", kMorning, "9 Am"},
      {"h a/p", kAfternoon, "2 p"},
      {"h A/P", kMorning, "9 A"},
      {"h ampm", kAfternoon, "2 PM"},
      {"h AMPM", kMorning, "9 AM"},
      {"h:nn am/pm", midnight, "12:15 am"},
      {"h:nn am/pm", noon, "12:00 pm"},
      {"am/pm hh", kAfternoon, "pm 02"},
      // An "a" that starts no designator is copied and keeps the 24-hour clock.
      {"'at' hh, a hh", kAfternoon, "at 14, a 14"},
      {"'am/pm' hh", kAfternoon, "am/pm 14"},
  };
  Check(std::begin(cases), std::end(cases), TFormatSettings{});

  TFormatSettings fs;
  fs.TimeAMString = "vorm.";
  fs.TimePMString = "nachm.";
  const Case localised[] = {{"h ampm", kAfternoon, "2 nachm."}, {"h ampm", kMorning, "9 vorm."}};
  Check(std::begin(localised), std::end(localised), fs);
}

TEST(FormatDateTimeTest, QuotedAndLiteralText) {
  const Case cases[] = {
      {"'Day' d", kAfternoon, "Day 5"},
      {"\"mm\" mm", kAfternoon, "mm 03"},
      {"'say \"hi\"' d", kAfternoon, "say \"hi\" 5"},
      {"'/:' yyyy", kAfternoon, "/: 2024"},
      {"''d", kAfternoon, "5"},
      {"d 'unclosed", kAfternoon, "5 unclosed"},
      {"yyyy#mm#dd [x] %", kAfternoon, "2024#03#05 [x] %"},
  };
  Check(std::begin(cases), std::end(cases), TFormatSettings{});
}

TEST(FormatDateTimeTest, SeparatorsComeFromTheSettings) {
  TFormatSettings fs;
  fs.DateSeparator = '-';
  fs.TimeSeparator = '.';
  const Case cases[] = {
      {"mm/dd/yyyy", 0, "12-30-1899"},
      {"hh:nn:ss", kAfternoon, "14.07.09"},
      {"c", kAfternoon, "03-05-2024 14.07.09"},
  };
  Check(std::begin(cases), std::end(cases), fs);
}

TEST(FormatDateTimeTest, EmptyPatternIsTheShortDateAndLongTime) {
  const Case cases[] = {
      {"", kAfternoon, "03/05/2024 14:07:09"},
      {"", EncodeDate(2024, 3, 5), "03/05/2024"},
      {"", 0, "12/30/1899"},
      // Less than half a millisecond past midnight shows as midnight.
      {"", 0.1 / 86400000.0, "12/30/1899"},
  };
  Check(std::begin(cases), std::end(cases), TFormatSettings{});
}

TEST(FormatDateTimeTest, NestedFormatsFollowTheSettings) {
  TFormatSettings fs;
  fs.ShortDateFormat = "yyyy/mm/dd";
  fs.LongDateFormat = "dddd d mmmm yyyy";
  fs.ShortTimeFormat = "h:nn am/pm";
  fs.LongTimeFormat = "hh:nn:ss.zzz";
  fs.LongMonthNames[2] = "Maerz";
  fs.LongDayNames[2] = "Dienstag";
  const Case cases[] = {
      {"ddddd", kAfternoon, "2024/03/05"},
      {"dddddd", kAfternoon, "Dienstag 5 Maerz 2024"},
      // Each nested format picks its own clock: "t" has a designator, the outer "hh" has none.
      {"t | hh", kAfternoon, "2:07 pm | 14"},
      {"tt", kAfternoon, "14:07:09.045"},
      {"c", kAfternoon, "2024/03/05 14:07:09.045"},
      {"", kMorning, "2024/03/05 09:30:00.000"},
  };
  Check(std::begin(cases), std::end(cases), fs);
}

TEST(FormatDateTimeTest, SelfReferringSettingsPatternsEnd) {
  TFormatSettings fs;
  fs.ShortDateFormat = "c";
  fs.LongDateFormat = "dddddd";
  fs.ShortTimeFormat = "t";
  EXPECT_EQ(FormatDateTime("dddddd", kAfternoon, fs), "");
  EXPECT_EQ(FormatDateTime("t", kAfternoon, fs), "");
  EXPECT_NE(FormatDateTime("c", kAfternoon, fs).find("14:07:09"), std::string::npos);
}

TEST(FormatDateTimeTest, ValuesOutsideTheCalendarFormatAsZeros) {
  const Case cases[] = {
      {"mm/dd/yyyy dddd mmmm hh:nn", std::numeric_limits<double>::quiet_NaN(),
       "00/00/0000   00:00"},
      {"mm/dd/yyyy", 1e12, "00/00/0000"},
  };
  Check(std::begin(cases), std::end(cases), TFormatSettings{});
}

TEST(FormatDateTimeTest, AppendKeepsWhatIsThere) {
  TTextBuffer out;
  out += "id=7;";
  AppendDateTime(out, "yyyy", kAfternoon, TFormatSettings{});
  AppendDateTime(out, ";hh", kAfternoon, TFormatSettings{});
  EXPECT_EQ(out.View(), "id=7;2024;14");
}

}  // namespace
}  // namespace kelvast
