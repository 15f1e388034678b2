// SPDX-License-Identifier: MIT
#include "core/platform/date_time.h"

#include "core/platform/errors.h"

#include <cmath>
#include <ctime>
#include <limits>

#include <gtest/gtest.h>

namespace kelvast {
namespace {

constexpr double kMsPerDay = 86400000.0;

TEST(DateTimeTest, KnownDaysEncodeAndDecode) {
  struct Case {
    int year, month, day;
    double expected;
  };
  const Case cases[] = {
      {1899, 12, 30, 0},       {1899, 12, 31, 1},     {1900, 1, 1, 2},         {1900, 2, 28, 60},
      {1900, 3, 1, 61},        {1899, 12, 29, -1},    {2000, 1, 1, 36526},     {2024, 2, 29, 45351},
      {1970, 1, 1, 25569},     {1600, 3, 1, -109511}, {1582, 10, 15, -115858}, {1, 1, 1, -693593},
      {9999, 12, 31, 2958465},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
    EXPECT_EQ(EncodeDate(c.year, c.month, c.day), c.expected);
    int y, m, d;
    DecodeDate(c.expected, y, m, d);
    EXPECT_EQ(y, c.year);
    EXPECT_EQ(m, c.month);
    EXPECT_EQ(d, c.day);
  }
}

// Walking the whole calendar day by day checks month lengths, leap years and that encoding and
// decoding agree everywhere, not only at hand-picked dates.
TEST(DateTimeTest, EveryDayOfTheCalendarRoundTrips) {
  double expected = EncodeDate(1, 1, 1);
  for (int y = 1; y <= 9999; ++y) {
    for (int m = 1; m <= 12; ++m) {
      for (int d = 1; d <= 31; ++d) {
        TDateTime dt;
        if (!TryEncodeDate(y, m, d, dt)) continue;
        ASSERT_EQ(dt, expected) << y << "-" << m << "-" << d;
        int yy, mm, dd;
        DecodeDate(ComposeDateTime(dt, 0.75), yy, mm, dd);
        ASSERT_TRUE(yy == y && mm == m && dd == d) << y << "-" << m << "-" << d;
        expected += 1;
      }
    }
  }
  EXPECT_EQ(expected - 1, EncodeDate(9999, 12, 31));
}

TEST(DateTimeTest, InvalidDatesAreRejected) {
  struct Case {
    int year, month, day;
  };
  const Case cases[] = {{2023, 2, 29}, {1900, 2, 29}, {2100, 2, 29}, {2023, 4, 31}, {2023, 1, 0},
                        {2023, 0, 1},  {2023, 13, 1}, {0, 1, 1},     {10000, 1, 1}, {-5, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
    TDateTime dt = 123;
    EXPECT_FALSE(TryEncodeDate(c.year, c.month, c.day, dt));
    EXPECT_EQ(dt, 123);
    EXPECT_THROW(EncodeDate(c.year, c.month, c.day), EKelvastError);
  }
  TDateTime dt;
  EXPECT_TRUE(TryEncodeDate(2000, 2, 29, dt));
}

TEST(DateTimeTest, TimeEncodeAndDecode) {
  struct Case {
    int hour, minute, second, msec;
    double expected;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0},
      {12, 0, 0, 0, 0.5},
      {6, 0, 0, 0, 0.25},
      {6, 30, 15, 250, 23415250 / kMsPerDay},
      {23, 59, 59, 999, 86399999 / kMsPerDay},
      {0, 0, 0, 1, 1 / kMsPerDay},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.hour << ":" << c.minute << ":" << c.second << "." << c.msec);
    EXPECT_DOUBLE_EQ(EncodeTime(c.hour, c.minute, c.second, c.msec), c.expected);
    // The time of day reads the same on a positive and on a negative day.
    for (double day : {0.0, 45356.0, -700.0}) {
      int h, n, s, z;
      DecodeTime(ComposeDateTime(day, c.expected), h, n, s, z);
      EXPECT_EQ(h, c.hour);
      EXPECT_EQ(n, c.minute);
      EXPECT_EQ(s, c.second);
      EXPECT_EQ(z, c.msec);
    }
  }
}

TEST(DateTimeTest, InvalidTimesAreRejected) {
  struct Case {
    int hour, minute, second, msec;
  };
  const Case cases[] = {{24, 0, 0, 0},   {0, 60, 0, 0}, {0, 0, 60, 0},
                        {0, 0, 0, 1000}, {-1, 0, 0, 0}, {0, 0, 0, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.hour << ":" << c.minute << ":" << c.second << "." << c.msec);
    TDateTime dt;
    EXPECT_FALSE(TryEncodeTime(c.hour, c.minute, c.second, c.msec, dt));
    EXPECT_THROW(EncodeTime(c.hour, c.minute, c.second, c.msec), EKelvastError);
  }
}

TEST(DateTimeTest, DecodeRoundsToTheMillisecondWithoutLeavingTheDay) {
  struct Case {
    const char* name;
    double dt;
    int year, month, day, hour, minute, second, msec;
  };
  const Case cases[] = {
      {"below half a ms", 0.5 + 0.4 / kMsPerDay, 1899, 12, 30, 12, 0, 0, 0},
      {"above half a ms", 0.5 + 0.6 / kMsPerDay, 1899, 12, 30, 12, 0, 0, 1},
      {"just before midnight", 45356 + 1 - 0.2 / kMsPerDay, 2024, 3, 5, 23, 59, 59, 999},
      {"negative day, morning", -1.25, 1899, 12, 29, 6, 0, 0, 0},
      {"day zero from below", -0.75, 1899, 12, 30, 18, 0, 0, 0},
      {"negative day, before midnight", -2 + 0.1 / kMsPerDay, 1899, 12, 29, 23, 59, 59, 999},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int y, m, d, h, n, s, z;
    DecodeDate(c.dt, y, m, d);
    DecodeTime(c.dt, h, n, s, z);
    EXPECT_EQ(y, c.year);
    EXPECT_EQ(m, c.month);
    EXPECT_EQ(d, c.day);
    EXPECT_EQ(h, c.hour);
    EXPECT_EQ(n, c.minute);
    EXPECT_EQ(s, c.second);
    EXPECT_EQ(z, c.msec);
  }
}

TEST(DateTimeTest, ValuesOutsideTheCalendarDecodeToZero) {
  const double cases[] = {-693594, 2958466, 1e300, std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity()};
  for (double dt : cases) {
    SCOPED_TRACE(dt);
    int y = -1, m = -1, d = -1;
    DecodeDate(dt, y, m, d);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(d, 0);
    EXPECT_EQ(DayOfWeek(dt), 0);
  }
}

TEST(DateTimeTest, DayOfWeek) {
  struct Case {
    double dt;
    int expected;
  };
  const Case cases[] = {
      {0, 7},                                      // 1899-12-30, Saturday
      {0.99, 7},                                   // the time of day does not move the weekday
      {1, 1},                                      // Sunday
      {-1, 6},                                     // 1899-12-29, Friday
      {-1.5, 6},    {-7, 7}, {-8, 6}, {36526, 7},  // 2000-01-01, Saturday
      {45351, 5},                                  // 2024-02-29, Thursday
      {45356.6, 3},                                // 2024-03-05, Tuesday
      {-693593, 2},                                // 0001-01-01, Monday
      {2958465, 6},                                // 9999-12-31, Friday
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dt);
    EXPECT_EQ(DayOfWeek(c.dt), c.expected);
  }
}

TEST(DateTimeTest, NowIsTodayInThePresentEra) {
  const TDateTime first = Now();
  const TDateTime second = Now();
  EXPECT_LE(first, second);
  int y, m, d;
  DecodeDate(first, y, m, d);
  EXPECT_GE(y, 2024);
  EXPECT_LE(y, 2200);
  // Local time never differs from UTC by more than 14 hours.
  const double utcDays = static_cast<double>(std::time(nullptr)) / 86400.0 + 25569;
  EXPECT_LT(std::fabs(first - utcDays), 14.0 / 24 + 1.0 / 24);
}

}  // namespace
}  // namespace kelvast
