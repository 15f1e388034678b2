// SPDX-License-Identifier: MIT
// Integers, counters, bits and floats, through the value pipeline.

#include "core/generators/numeric_gens.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/platform/errors.h"
#include "core/platform/format_settings.h"
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

// ---- Integer ----

TEST(IntegerGenTest, NewGeneratorSpansTheWhole32BitRange) {
  RandSeed(1);
  TCPInteger p;
  int64_t low = INT64_MAX, high = INT64_MIN;
  for (const std::string& v : Draw(p, 2000)) {
    const int64_t n = std::stoll(v);
    low = std::min(low, n);
    high = std::max(high, n);
  }
  EXPECT_LT(low, -2000000000);
  EXPECT_GT(high, 2000000000);
  EXPECT_GE(low, INT32_MIN);
  EXPECT_LE(high, INT32_MAX);
}

// Every integer of the range is equally likely; Sign then folds the draw onto one side.
TEST(IntegerGenTest, DistributionOverRangeAndSign) {
  struct Case {
    int32_t min, max, sign;
    std::map<int64_t, int> weights;  // every value that may come out, with its relative weight
  };
  const Case cases[] = {
      {1, 6, 0, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}}},
      {-10, 10, 1,
       {{0, 1}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}, {8, 2}, {9, 2}, {10, 2}}},
      {-5, 5, 0,
       {{-5, 1}, {-4, 1}, {-3, 1}, {-2, 1}, {-1, 1}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1},
        {5, 1}}},
      {1, 10, -1,
       {{-1, 1}, {-2, 1}, {-3, 1}, {-4, 1}, {-5, 1}, {-6, 1}, {-7, 1}, {-8, 1}, {-9, 1}, {-10, 1}}},
      {-3, 3, -1, {{0, 1}, {-1, 2}, {-2, 2}, {-3, 2}}},
      {-10, -1, 1, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}, {10, 1}}},
      {5, 5, 0, {{5, 1}}},
      // A minimum above the maximum: the bounds are taken swapped.
      {10, 1, 0, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}, {10, 1}}},
  };
  RandSeed(42);
  const int n = 60000;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " sign " << c.sign);
    TCPInteger p;
    p.SetMinValue(c.min);
    p.SetMaxValue(c.max);
    p.SetSign(c.sign);
    std::map<int64_t, int> counts;
    for (const std::string& v : Draw(p, n)) ++counts[std::stoll(v)];
    int totalWeight = 0;
    for (const auto& [value, w] : c.weights) totalWeight += w;
    for (const auto& [value, count] : counts) {
      SCOPED_TRACE(value);
      ASSERT_TRUE(c.weights.count(value)) << "unexpected value";
      const double expected = static_cast<double>(n) * c.weights.at(value) / totalWeight;
      EXPECT_NEAR(count, expected, expected * 0.07);
    }
    EXPECT_EQ(counts.size(), c.weights.size());
  }
}

TEST(IntegerGenTest, ExtremeBoundsDoNotWrap) {
  struct Case {
    int32_t min, max, sign;
    int64_t low, high;
  };
  const Case cases[] = {
      // |INT32_MIN| does not fit 32 bits; it must not wrap to a negative number.
      {INT32_MIN, INT32_MIN, 1, 2147483647, 2147483648},
      {INT32_MIN, INT32_MAX, 1, 0, 2147483648},
      {INT32_MIN, INT32_MAX, -1, -2147483648LL, 0},
      {INT32_MAX, INT32_MAX, 0, INT32_MAX, INT32_MAX},
  };
  RandSeed(3);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " sign " << c.sign);
    TCPInteger p;
    p.SetMinValue(c.min);
    p.SetMaxValue(c.max);
    p.SetSign(c.sign);
    for (const std::string& v : Draw(p, 500)) {
      const int64_t n = std::stoll(v);
      ASSERT_GE(n, c.low) << v;
      ASSERT_LE(n, c.high) << v;
    }
  }
}

// ---- Incremental ----

TEST(IncrementalGenTest, CountsFromStartValueByStepWrappingAt32Bits) {
  struct Case {
    int32_t start, step;
    std::vector<std::string> values;
  };
  const Case cases[] = {
      {100, 10, {"110", "120", "130"}},
      {0, -3, {"-3", "-6", "-9"}},
      {5, 0, {"5", "5", "5"}},
      {INT32_MAX, 1, {"-2147483648", "-2147483647", "-2147483646"}},
      {INT32_MIN, -1, {"2147483647", "2147483646", "2147483645"}},
      {INT32_MAX - 1, INT32_MAX, {"-3", "2147483644", "-5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "start " << c.start << " step " << c.step);
    TCPIncremental p;
    p.SetMinValue(0);  // the integer bounds and sign play no part
    p.SetMaxValue(1);
    p.SetSign(-1);
    p.SetStartValue(c.start);
    p.SetStep(c.step);
    p.Prepare({});
    EXPECT_EQ(p.Current(), c.start);
    EXPECT_EQ(Draw(p, 3), c.values);
    EXPECT_EQ(std::to_string(p.Current()), c.values.back());
    p.Prepare({});  // every run starts over
    EXPECT_EQ(Draw(p, 1)[0], c.values[0]);
  }
}

TEST(IncrementalGenTest, OneStepPerRecordAndCopiedCounter) {
  TCPIncremental p;
  p.SetStartValue(7);
  p.Prepare({});
  EXPECT_EQ(p.GetValue(), "8");
  EXPECT_EQ(p.GetValue(), "8");  // later readers of the record get the cached value
  EXPECT_EQ(p.Current(), 8);

  TCPIncremental copy;
  p.SetStep(4);
  copy.Assign(p);
  EXPECT_EQ(copy.StartValue(), 7);
  EXPECT_EQ(copy.Step(), 4);
  EXPECT_EQ(copy.Current(), 8);
}

// ---- Bit ----

TEST(BitGenTest, OneOf1001DrawsFrom500UpGivesOne) {
  // The threshold is exact: replay the same draws and compare value by value.
  RandSeed(77);
  std::vector<bool> expectedOne;
  for (int i = 0; i < 5000; ++i) expectedOne.push_back(Random(1001) >= 500);

  RandSeed(77);
  TCPBit p;
  p.SetZeroValue("no");
  p.SetOneValue("yes");
  int ones = 0;
  for (int i = 0; i < 5000; ++i) {
    p.ClearLastValue();
    const std::string v(p.GetValue());
    ASSERT_EQ(v, expectedOne[static_cast<size_t>(i)] ? "yes" : "no") << i;
    ASSERT_EQ(p.LastInternalValue(), expectedOne[static_cast<size_t>(i)] ? "1" : "0");
    ones += v == "yes" ? 1 : 0;
  }
  EXPECT_NEAR(ones, 5000 * 501 / 1001, 200);
}

TEST(BitGenTest, InternalValueBeforeAnyDrawIsEmptyAndDrawsNothing) {
  TCPBit p;
  EXPECT_EQ(p.LastInternalValue(), "");
  EXPECT_EQ(p.LastValue(), "");
  EXPECT_EQ(p.ExportType(), etNum);
  const std::string v(p.GetValue());
  EXPECT_TRUE(v == "0" || v == "1") << v;
  EXPECT_EQ(p.LastInternalValue(), v);

  // Copying takes the integer fields only, not the two texts.
  TCPBit source;
  source.SetZeroValue("F");
  source.SetMinValue(3);
  TCPBit copy;
  copy.Assign(source);
  EXPECT_EQ(copy.MinValue(), 3);
  EXPECT_EQ(copy.ZeroValue(), "0");
}

// ---- Float ----

struct FloatStats {
  double low = INFINITY, high = -INFINITY;
  size_t maxDecimals = 0;
  size_t maxSignificant = 0;
};

// Every value in plain notation: digits, one point at most, a leading minus, never an exponent.
FloatStats Collect(const std::vector<std::string>& values) {
  FloatStats s;
  for (const std::string& v : values) {
    SCOPED_TRACE(v);
    EXPECT_EQ(v.find_first_not_of("0123456789.-"), std::string::npos);
    EXPECT_EQ(v.find('-', 1), std::string::npos);
    EXPECT_NE(v, "-0");
    const size_t dot = v.find('.');
    if (dot != std::string::npos) {
      EXPECT_EQ(v.find('.', dot + 1), std::string::npos);
      EXPECT_NE(v.back(), '0');  // trailing zeros dropped
      EXPECT_NE(v.back(), '.');
      s.maxDecimals = std::max(s.maxDecimals, v.size() - dot - 1);
    }
    std::string digits;
    for (char c : v)
      if (c >= '0' && c <= '9') digits += c;
    digits.erase(0, digits.find_first_not_of('0'));
    if (dot == std::string::npos) digits.erase(digits.find_last_not_of('0') + 1);
    s.maxSignificant = std::max(s.maxSignificant, digits.size());
    const double d = std::strtod(v.c_str(), nullptr);
    s.low = std::min(s.low, d);
    s.high = std::max(s.high, d);
  }
  return s;
}

TEST(FloatGenTest, RangesAndDecimals) {
  struct Case {
    double min, max;
    int32_t precision;
    double low, high;  // bounds of every value
    size_t maxDecimals;
    size_t maxSignificant;
  };
  const Case cases[] = {
      {0, 1, 2, 0, 1, 2, 3},
      {0, 1, 3, 0, 1, 3, 4},
      {-5, -1, 1, -5, -1, 1, 2},
      {-2.5, 9.75, 3, -2.5, 9.75, 3, 4},
      {10, 0, 2, 0, 10, 2, 4},  // bounds given the other way round
      {100, 1000, 1, 100, 1000, 1, 5},
      // The untouched defaults stand for an ordinary column's range.
      {TCPFloat::kDefaultMin, TCPFloat::kDefaultMax, 2, 0, 2147483647, 2, 12},
      {TCPFloat::kDefaultMin, TCPFloat::kDefaultMax, 0, 0, 2147483647, 330, 15},
      // Uncut: up to 15 significant digits, in plain decimals however small.
      {0, 1, 0, 0, 1, 330, 15},
      {0, 0.0001, 0, 0, 0.0001, 330, 15},
      {1e-10, 2e-10, -1, 1e-10, 2e-10, 330, 15},
      {-1e300, 1e300, -4, -1e300, 1e300, 0, 15},
      // A bound with more digits than the written ones is never passed by the rounding.
      {0.1, 0.12345678901234568, 0, 0.1, 0.12345678901234568, 330, 17},
      // Ranges whose scaled values leave 64 bits: decimals while a double carries them, plain
      // digits beyond.
      {0, 1e10, 15, 0, 1e10, 15, 17},
      {0, 1, 400, 0, 1, 330, 17},
      {-1e300, 1e300, 2, -1e300, 1e300, 2, 17},
      {1e300, 1.7e308, 2, 1e300, 1.7e308, 0, 17},
      {0, 1e15, 9, 0, 1e15, 9, 17},
  };
  RandSeed(5);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " precision " << c.precision);
    TCPFloat p;
    p.SetMinValue(c.min);
    p.SetMaxValue(c.max);
    p.SetPrecision(c.precision);
    const FloatStats s = Collect(Draw(p, 5000));
    EXPECT_GE(s.low, c.low);
    EXPECT_LE(s.high, c.high);
    // The draws reach both ends of the range.
    EXPECT_LT(s.low, c.low + (c.high - c.low) * 0.01);
    EXPECT_GT(s.high, c.high - (c.high - c.low) * 0.01);
    EXPECT_LE(s.maxDecimals, c.maxDecimals);
    EXPECT_LE(s.maxSignificant, c.maxSignificant);
  }
}

// With FixedDecimals every value carries Precision decimals, trailing zeros included, except
// values too large for a double to carry them.
TEST(FloatGenTest, FixedDecimalsKeepTrailingZeros) {
  struct Case {
    double min, max;
    int32_t precision;
    const char* pattern;  // the written form: 9 a digit, '.' the point
  };
  const Case cases[] = {
      {24, 24, 2, "24.00"},
      {8802.9, 8802.9, 2, "8802.90"},
      {0, 0, 3, "0.000"},
      {-0.05, -0.05, 2, "-0.05"},
      {1, 9, 4, "9.9999"},
      {0.5, 0.5, 0, "0.5"},  // no decimals asked: nothing to pad
  };
  RandSeed(9);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " precision " << c.precision);
    TCPFloat p;
    p.SetMinValue(c.min);
    p.SetMaxValue(c.max);
    p.SetPrecision(c.precision);
    p.SetFixedDecimals(true);
    for (const std::string& v : Draw(p, 200)) {
      ASSERT_EQ(v.size(), std::string(c.pattern).size()) << v;
      for (size_t i = 0; i < v.size(); ++i) {
        const char want = c.pattern[i];
        if (want == '9') ASSERT_TRUE(std::isdigit(static_cast<unsigned char>(v[i]))) << v;
        else ASSERT_EQ(v[i], want) << v;
      }
      const double d = std::strtod(v.c_str(), nullptr);
      ASSERT_GE(d, std::min(c.min, c.max)) << v;
      ASSERT_LE(d, std::max(c.min, c.max)) << v;
    }
  }

  // A range whose largest values cannot carry two decimals: those are whole numbers, the
  // others have exactly two decimals.
  TCPFloat p;
  p.SetMinValue(-1e20);
  p.SetMaxValue(1e20);
  p.SetFixedDecimals(true);
  for (const std::string& v : Draw(p, 500)) {
    const size_t dot = v.find('.');
    if (dot != std::string::npos) EXPECT_EQ(v.size() - dot - 1, 2u) << v;
    EXPECT_EQ(v.find('E'), std::string::npos) << v;
  }
}

TEST(FloatGenTest, EveryValueOfThePrecisionOccursEquallyOften) {
  // A price from 1 to 10,000 with cents: inside the range, every cent ending, no favoured value.
  RandSeed(8);
  TCPFloat p;
  p.SetMinValue(1);
  p.SetMaxValue(10000);
  p.SetPrecision(2);
  std::map<int, int> cents;
  std::vector<int> tenths(10);
  for (const std::string& v : Draw(p, 100000)) {
    const double d = std::strtod(v.c_str(), nullptr);
    ASSERT_GE(d, 1) << v;
    ASSERT_LE(d, 10000) << v;
    const long long scaled = std::llround(d * 100);
    ++cents[static_cast<int>(scaled % 100)];
    ++tenths[std::min<size_t>(9, static_cast<size_t>((d - 1) / 999.9))];
  }
  EXPECT_EQ(cents.size(), 100u);
  for (const auto& [cent, count] : cents) EXPECT_NEAR(count, 1000, 150) << cent;
  for (int count : tenths) EXPECT_NEAR(count, 10000, 500);

  // Bounds that binary fractions cannot hold exactly still give exactly their three values.
  p.SetMinValue(0.07);
  p.SetMaxValue(0.09);
  const std::vector<std::string> values = Draw(p, 300);
  EXPECT_EQ(std::set<std::string>(values.begin(), values.end()),
            (std::set<std::string>{"0.07", "0.08", "0.09"}));
}

TEST(FloatGenTest, RangesWithoutAValueThrow) {
  struct Case {
    double min, max;
    int32_t precision;
    bool throws;
  };
  const Case cases[] = {
      {TCPFloat::kDefaultMin, TCPFloat::kDefaultMax, 2, false},  // the defaults
      {0, 1e10, 15, false},                                        // 1e25 after scaling
      {0, 1, 15, false},
      {0, 1, 400, false},
      {0, 1e10, 9, false},
      {0.001, 0.002, 2, true},  // no value with two decimals in between
      {0, INFINITY, 2, true},
      {NAN, 1, 0, true},
  };
  RandSeed(12);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " precision " << c.precision);
    TCPFloat p;
    p.SetMinValue(c.min);
    p.SetMaxValue(c.max);
    p.SetPrecision(c.precision);
    if (!c.throws) {
      EXPECT_NO_THROW(Draw(p, 200));
      continue;
    }
    try {
      (void)p.GetValue();
      FAIL() << "no error";
    } catch (const EGenerationError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find("Float"), std::string::npos) << message;
    }
  }
}

TEST(FloatGenTest, WritesTheLocaleDecimalSeparator) {
  const char saved = FormatSettings().DecimalSeparator;
  FormatSettings().DecimalSeparator = ',';
  RandSeed(2);
  TCPFloat p;
  p.SetMinValue(0.01);
  p.SetMaxValue(0.99);
  const std::vector<std::string> values = Draw(p, 50);
  FormatSettings().DecimalSeparator = saved;
  for (const std::string& v : values) {
    EXPECT_EQ(v.find('.'), std::string::npos) << v;
    EXPECT_NE(v.find(','), std::string::npos) << v;
  }
}

TEST(FloatGenTest, AssignCopiesBoundsAndPrecision) {
  TCPFloat source, copy;
  source.SetMinValue(-2.5);
  source.SetMaxValue(9.75);
  source.SetPrecision(4);
  source.SetFixedDecimals(true);
  source.SetExportType(etString);
  copy.Assign(source);
  EXPECT_EQ(copy.MinValue(), -2.5);
  EXPECT_EQ(copy.MaxValue(), 9.75);
  EXPECT_EQ(copy.Precision(), 4);
  EXPECT_TRUE(copy.FixedDecimals());
  EXPECT_EQ(copy.ExportType(), etNum);
}

}  // namespace
}  // namespace kelvast
