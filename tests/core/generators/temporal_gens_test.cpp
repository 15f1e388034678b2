// SPDX-License-Identifier: MIT
// Dates, times and date-times between bounds, through the value pipeline.

#include "core/generators/temporal_gens.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/platform/random.h"

namespace kelvast {
namespace {

std::vector<std::string> Draw(TColParams& p, int n) {
  std::vector<std::string> values;
  for (int i = 0; i < n; ++i) {
    p.ClearLastValue();
    values.emplace_back(p.GetValue());
  }
  return values;
}

std::set<std::string> Distinct(const std::vector<std::string>& values) {
  return {values.begin(), values.end()};
}

// Restores the process-wide locale settings a test changes.
class SettingsGuard {
 public:
  SettingsGuard() : saved_(FormatSettings()) {}
  ~SettingsGuard() { FormatSettings() = saved_; }

 private:
  TFormatSettings saved_;
};

TEST(TemporalGenTest, NewGeneratorsYieldDayZeroAtMidnight) {
  TCPDate date;
  TCPTime time;
  TCPDateTime stamp;
  EXPECT_EQ(Distinct(Draw(date, 50)), std::set<std::string>{"12/30/1899"});
  EXPECT_EQ(Distinct(Draw(time, 50)), std::set<std::string>{"00:00:00"});
  EXPECT_EQ(Distinct(Draw(stamp, 50)), std::set<std::string>{"12/30/1899 00:00:00"});
  for (TColParams* p : std::initializer_list<TColParams*>{&date, &time, &stamp})
    EXPECT_EQ(p->ExportType(), etString);
}

TEST(DateGenTest, EveryDayOfTheRangeEquallyLikely) {
  struct Case {
    const char* name;
    TDateTime min, max;
    std::set<std::string> days;
  };
  const Case cases[] = {
      {"one day", EncodeDate(2000, 1, 1), EncodeDate(2000, 1, 1), {"2000-01-01"}},
      {"leap day", EncodeDate(2024, 2, 28), EncodeDate(2024, 3, 1),
       {"2024-02-28", "2024-02-29", "2024-03-01"}},
      {"ten days", EncodeDate(1999, 12, 27), EncodeDate(2000, 1, 5),
       {"1999-12-27", "1999-12-28", "1999-12-29", "1999-12-30", "1999-12-31", "2000-01-01",
        "2000-01-02", "2000-01-03", "2000-01-04", "2000-01-05"}},
      // Before day 0 too, the range is the bounds' own days.
      {"negative days", -3, -1, {"1899-12-27", "1899-12-28", "1899-12-29"}},
      {"day -1 alone", -1, -1, {"1899-12-29"}},
      {"25 December 1899", EncodeDate(1899, 12, 25), EncodeDate(1899, 12, 25), {"1899-12-25"}},
      {"across day 0", EncodeDate(1899, 12, 29), EncodeDate(1899, 12, 31),
       {"1899-12-29", "1899-12-30", "1899-12-31"}},
      // A bound before day 0 with a time of day is still its own day.
      {"negative bound with a time", EncodeDate(1850, 3, 1) - 0.75, EncodeDate(1850, 3, 2),
       {"1850-03-01", "1850-03-02"}},
      {"reversed bounds", EncodeDate(2025, 1, 3), EncodeDate(2025, 1, 1),
       {"2025-01-01", "2025-01-02", "2025-01-03"}},
      {"reversed bounds before day 0", EncodeDate(1800, 1, 2), EncodeDate(1800, 1, 1),
       {"1800-01-01", "1800-01-02"}},
  };
  RandSeed(17);
  const int n = 6000;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TCPDate p;
    p.SetMinDate(c.min);
    p.SetMaxDate(c.max);
    p.SetFormat("yyyy-mm-dd");
    std::map<std::string, int> counts;
    for (const std::string& v : Draw(p, n)) ++counts[v];
    std::set<std::string> seen;
    const double expected = static_cast<double>(n) / static_cast<double>(c.days.size());
    for (const auto& [day, count] : counts) {
      seen.insert(day);
      EXPECT_NEAR(count, expected, expected * 0.1) << day;
    }
    EXPECT_EQ(seen, c.days);
  }
}

// A generator the user adds gets a range of thirty years; the construction default, which
// files rely on for bounds they leave out, stays day 0.
TEST(DateGenTest, NewGeneratorsInTheWindowGetThirtyYears) {
  RandSeed(31);
  TCPDate date;
  TCPDateTime stamp;
  for (TColParams* p : std::initializer_list<TColParams*>{&date, &stamp}) {
    p->InitNew();
    EXPECT_TRUE(p->Modified());
  }
  date.SetFormat("yyyy-mm-dd");
  stamp.SetFormat("yyyy-mm-dd");
  for (TColParams* p : std::initializer_list<TColParams*>{&date, &stamp}) {
    const std::set<std::string> days = Distinct(Draw(*p, 20000));
    EXPECT_EQ(days.begin()->substr(0, 4), "2000");
    EXPECT_EQ(days.rbegin()->substr(0, 4), "2029");
    EXPECT_GE(*days.begin(), "2000-01-01");
    EXPECT_LE(*days.rbegin(), "2029-12-31");
  }
  EXPECT_EQ(TCPDate().MinDate(), 0);
  EXPECT_EQ(TCPDate().MaxDate(), 0);
}

TEST(DateGenTest, FormatFollowsTheLocale) {
  SettingsGuard guard;
  struct Case {
    const char* format;
    char dateSeparator;
    std::string expected;
  };
  const Case cases[] = {
      {"mm/dd/yyyy", '/', "01/02/2003"},
      {"mm/dd/yyyy", '.', "01.02.2003"},
      {"", '/', "01/02/2003"},  // the locale's short date
      {"", '-', "01-02-2003"},
      {"dddd d mmmm yy", '/', "Thursday 2 January 03"},
      {"'day' d", '/', "day 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.format << "\" with " << c.dateSeparator);
    FormatSettings().DateSeparator = c.dateSeparator;
    TCPDate p;
    p.SetMinDate(EncodeDate(2003, 1, 2));
    p.SetMaxDate(EncodeDate(2003, 1, 2));
    p.SetFormat(c.format);
    EXPECT_EQ(p.GetValue(), c.expected);
  }
}

TEST(TimeGenTest, DrawsFromMinTimeUpToButNotIncludingMaxTime) {
  RandSeed(23);
  TCPTime p;
  p.SetMinTime(EncodeTime(8, 0, 0, 0));
  p.SetMaxTime(EncodeTime(17, 0, 0, 0));
  std::set<std::string> hours;
  std::string low = "99", high;
  for (const std::string& v : Draw(p, 20000)) {
    ASSERT_EQ(v.size(), 8u) << v;
    ASSERT_NE(v, "17:00:00");
    low = std::min(low, v);
    high = std::max(high, v);
    hours.insert(v.substr(0, 2));
  }
  EXPECT_GE(low, "08:00:00");
  EXPECT_LT(low, "08:01:00");
  EXPECT_LT(high, "17:00:00");
  EXPECT_GE(high, "16:59:00");
  EXPECT_EQ(hours.size(), 9u);  // 08 .. 16

  // The time is not cut to whole seconds.
  p.SetFormat("zzz");
  const std::set<std::string> millis = Distinct(Draw(p, 200));
  EXPECT_GT(millis.size(), 100u);
}

TEST(DateTimeGenTest, DateIsDrawnFirstThenTheTime) {
  // The stamp's value is what a date generator and then a time generator draw from the same
  // sequence.
  const TDateTime minDate = EncodeDate(2010, 5, 1), maxDate = EncodeDate(2010, 5, 31);
  const TDateTime minTime = EncodeTime(9, 0, 0, 0), maxTime = EncodeTime(18, 30, 0, 0);
  TCPDate date;
  date.SetMinDate(minDate);
  date.SetMaxDate(maxDate);
  date.SetFormat("yyyy-mm-dd");
  TCPTime time;
  time.SetMinTime(minTime);
  time.SetMaxTime(maxTime);
  time.SetFormat("hh:nn:ss.zzz");
  TCPDateTime stamp;
  stamp.SetMinDate(minDate);
  stamp.SetMaxDate(maxDate);
  stamp.SetMinTime(minTime);
  stamp.SetMaxTime(maxTime);
  stamp.SetFormat("yyyy-mm-dd hh:nn:ss.zzz");

  RandSeed(29);
  std::vector<std::string> expected;
  for (int i = 0; i < 300; ++i) {
    const std::string d = Draw(date, 1)[0];
    expected.push_back(d + " " + Draw(time, 1)[0]);
  }
  RandSeed(29);
  EXPECT_EQ(Draw(stamp, 300), expected);
  EXPECT_GT(Distinct(expected).size(), 250u);
}

// Date and time stay within their bounds on either side of day 0, where the stored value counts
// the time of day backwards.
TEST(DateTimeGenTest, DateAndTimeStayInTheirRanges) {
  struct Case {
    const char* name;
    TDateTime minDate, maxDate;
    const char *firstDay, *lastDay;
  };
  const Case cases[] = {
      {"25 December 1899", EncodeDate(1899, 12, 25), EncodeDate(1899, 12, 25), "1899-12-25",
       "1899-12-25"},
      {"across day 0", EncodeDate(1899, 12, 28), EncodeDate(1900, 1, 2), "1899-12-28",
       "1900-01-02"},
      {"1850", EncodeDate(1850, 1, 31), EncodeDate(1850, 1, 1), "1850-01-01", "1850-01-31"},
      {"2024", EncodeDate(2024, 2, 28), EncodeDate(2024, 3, 1), "2024-02-28", "2024-03-01"},
  };
  RandSeed(37);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TCPDateTime p;
    p.SetMinDate(c.minDate);
    p.SetMaxDate(c.maxDate);
    p.SetMinTime(EncodeTime(8, 0, 0, 0));
    p.SetMaxTime(EncodeTime(17, 0, 0, 0));
    p.SetFormat("yyyy-mm-dd hh:nn:ss");
    std::set<std::string> days, hours;
    for (const std::string& v : Draw(p, 5000)) {
      ASSERT_EQ(v.size(), 19u) << v;
      const std::string day = v.substr(0, 10), time = v.substr(11);
      ASSERT_GE(day, c.firstDay) << v;
      ASSERT_LE(day, c.lastDay) << v;
      ASSERT_GE(time, "08:00:00") << v;
      ASSERT_LT(time, "17:00:00") << v;
      days.insert(day);
      hours.insert(time.substr(0, 2));
    }
    EXPECT_EQ(*days.begin(), c.firstDay);
    EXPECT_EQ(*days.rbegin(), c.lastDay);
    EXPECT_EQ(hours.size(), 9u);  // 08 .. 16
  }
}

TEST(DateTimeGenTest, EqualBoundsGiveThatMoment) {
  TCPDateTime p;
  p.SetMinDate(EncodeDate(2000, 1, 1));
  p.SetMaxDate(EncodeDate(2000, 1, 1));
  p.SetMinTime(EncodeTime(12, 30, 15, 0));
  p.SetMaxTime(EncodeTime(12, 30, 15, 0));
  EXPECT_EQ(p.GetValue(), "01/01/2000 12:30:15");
  p.SetFormat("dddd d mmmm yyyy 'at' h:nn am/pm");
  p.ClearLastValue();
  EXPECT_EQ(p.GetValue(), "Saturday 1 January 2000 at 12:30 pm");
}

TEST(TemporalGenTest, AssignCopiesBoundsAndFormat) {
  TCPDate d1, d2;
  d1.SetMinDate(10);
  d1.SetMaxDate(20);
  d1.SetFormat("yyyy");
  d2.Assign(d1);
  EXPECT_EQ(d2.MinDate(), 10);
  EXPECT_EQ(d2.MaxDate(), 20);
  EXPECT_EQ(d2.Format(), "yyyy");

  TCPTime t1, t2;
  t1.SetMinTime(0.25);
  t1.SetMaxTime(0.5);
  t1.SetFormat("hh");
  t2.Assign(t1);
  EXPECT_EQ(t2.MinTime(), 0.25);
  EXPECT_EQ(t2.MaxTime(), 0.5);
  EXPECT_EQ(t2.Format(), "hh");

  TCPDateTime s1, s2;
  s1.SetMinDate(1);
  s1.SetMaxDate(2);
  s1.SetMinTime(0.1);
  s1.SetMaxTime(0.2);
  s1.SetFormat("c");
  s2.Assign(s1);
  EXPECT_EQ(s2.MinDate(), 1);
  EXPECT_EQ(s2.MaxDate(), 2);
  EXPECT_EQ(s2.MinTime(), 0.1);
  EXPECT_EQ(s2.MaxTime(), 0.2);
  EXPECT_EQ(s2.Format(), "c");

  // Across classes only the shared settings travel.
  TCPDate d3;
  d3.Assign(s1);
  EXPECT_EQ(d3.MinDate(), 0);
  EXPECT_EQ(d3.Format(), "mm/dd/yyyy");
}

}  // namespace
}  // namespace kelvast
