// SPDX-License-Identifier: MIT
#include "core/platform/float_format.h"

#include <cstdlib>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace kelvast {
namespace {

struct Case {
  double value;
  const char* expected;
};

void Check(const Case* begin, const Case* end, char separator) {
  for (const Case* c = begin; c != end; ++c) {
    SCOPED_TRACE(testing::Message() << "expected " << c->expected);
    TTextBuffer out;
    AppendFloatGeneral(out, c->value, separator);
    EXPECT_EQ(out.View(), c->expected);
  }
}

TEST(FloatFormatTest, FixedNotation) {
  const Case cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {-1, "-1"},
      {100, "100"},
      {0.5, "0.5"},
      {-123.456, "-123.456"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {-2.0 / 3, "-0.666666666666667"},
      {12345.678901234567, "12345.6789012346"},
      {2147483647.07, "2147483647.07"},
      {-2147483648.0, "-2147483648"},
      {0.001234, "0.001234"},
      {0.0001, "0.0001"},
      {-0.0001, "-0.0001"},
      // Rounds up to 0.0001, so it stays fixed.
      {9.99999999999999999e-5, "0.0001"},
      {123456789012345, "123456789012345"},
      {999999999999999, "999999999999999"},
      {-999999999999999, "-999999999999999"},
      {100000000000000, "100000000000000"},
  };
  Check(std::begin(cases), std::end(cases), '.');
}

TEST(FloatFormatTest, ScientificNotation) {
  const Case cases[] = {
      {1e15, "1E15"},
      {1e20, "1E20"},
      {1234567890123456, "1.23456789012346E15"},
      // Rounding to 15 digits carries into a sixteenth integer digit.
      {999999999999999.9, "1E15"},
      {-2.25e100, "-2.25E100"},
      {1.7976931348623157e308, "1.79769313486232E308"},
      {0.00009999, "9.999E-5"},
      {1.5e-5, "1.5E-5"},
      {-1e-5, "-1E-5"},
      {1.0 / 3e10, "3.33333333333333E-11"},
      {4.9406564584124654e-324, "4.94065645841247E-324"},
      {2.2250738585072014e-308, "2.2250738585072E-308"},
  };
  Check(std::begin(cases), std::end(cases), '.');
}

TEST(FloatFormatTest, NonFiniteValues) {
  const Case cases[] = {
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  Check(std::begin(cases), std::end(cases), '.');
}

TEST(FloatFormatTest, DecimalSeparatorIsTheGivenOne) {
  const Case cases[] = {
      {1234.5, "1234,5"}, {-0.25, "-0,25"}, {1.5e-5, "1,5E-5"}, {1.25e20, "1,25E20"}, {42, "42"},
  };
  Check(std::begin(cases), std::end(cases), ',');

  TFormatSettings fs;
  fs.DecimalSeparator = ',';
  EXPECT_EQ(FloatToStr(0.1 + 0.2, fs), "0,3");
  EXPECT_EQ(FloatToStr(2.5, TFormatSettings{}), "2.5");
}

TEST(FloatFormatTest, AppendKeepsWhatIsThere) {
  TTextBuffer out;
  out += "x=";
  AppendFloatGeneral(out, 1.5, '.');
  out += ';';
  AppendFloatGeneral(out, -1e-7, '.');
  EXPECT_EQ(out.View(), "x=1.5;-1E-7");
}

// Plain notation never has an exponent, however small or large the value.
TEST(FloatFormatTest, PlainNotation) {
  const struct {
    double value;
    int significant;
    const char* expected;
  } cases[] = {
      {3.1e-5, 15, "0.000031"},
      {-1e-7, 15, "-0.0000001"},
      {1.5e20, 15, "150000000000000000000"},
      {0.1 + 0.2, 15, "0.3"},
      {-0.0, 15, "0"},
      {2.0 / 3, 15, "0.666666666666667"},
      {0.12345678901234568, 15, "0.123456789012346"},
      {123.456, 2, "120"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    TTextBuffer out;
    const double written = AppendFloatPlain(out, c.value, c.significant, '.');
    EXPECT_EQ(out.View(), c.expected);
    EXPECT_EQ(written, std::strtod(c.expected, nullptr));
  }
  TTextBuffer tiny;
  AppendFloatPlain(tiny, 4.9406564584124654e-324, 15, ',');
  EXPECT_EQ(tiny.View(), "0," + std::string(323, '0') + "494065645841247");
  // The fewest digits that read back as the value.
  TTextBuffer shortest;
  AppendFloatShortestPlain(shortest, 0.12345678901234568, '.');
  EXPECT_EQ(std::strtod(shortest.str().c_str(), nullptr), 0.12345678901234568);
  EXPECT_EQ(shortest.View(), "0.12345678901234568");
}

TEST(FloatFormatTest, ScaledPlainKeepsOrDropsTrailingZeros) {
  const struct {
    int64_t scaled;
    int32_t precision;
    bool keepZeros;
    const char* expected;
  } cases[] = {
      {2400, 2, true, "24.00"},   {2400, 2, false, "24"},     {880290, 2, true, "8802.90"},
      {880290, 2, false, "8802.9"}, {5, 2, false, "0.05"},    {-5, 2, true, "-0.05"},
      {0, 3, true, "0.000"},      {0, 3, false, "0"},         {123, 0, true, "123"},
      {7, 20, false, "0.00000000000000000007"},
      {INT64_MIN, 2, false, "-92233720368547758.08"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    TTextBuffer out;
    AppendScaledPlain(out, c.scaled, c.precision, '.', c.keepZeros);
    EXPECT_EQ(out.View(), c.expected);
  }
}

}  // namespace
}  // namespace kelvast
