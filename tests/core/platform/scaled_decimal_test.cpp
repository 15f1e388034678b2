// SPDX-License-Identifier: MIT
// The integer shortcut of the general float format must write exactly what formatting the
// double would, and decline every value it cannot write that way.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/platform/float_format.h"

namespace kelvast {
namespace {

TEST(ScaledDecimal, MatchesTheGeneralFormat) {
  std::mt19937_64 random(42);
  int written = 0;
  for (int i = 0; i < 200000; ++i) {
    const int32_t precision = static_cast<int32_t>(random() % 17);
    // Magnitudes from 1 digit to 19 digits.
    const int digits = 1 + static_cast<int>(random() % 19);
    int64_t scaled = static_cast<int64_t>(random() % static_cast<uint64_t>(std::pow(10.0L, digits)));
    if (random() % 2) scaled = -scaled;
    TTextBuffer fast;
    if (!AppendScaledDecimal(fast, scaled, precision, ',')) {
      EXPECT_TRUE(fast.empty());
      continue;
    }
    ++written;
    TTextBuffer general;
    AppendFloatGeneral(general, static_cast<double>(static_cast<long double>(scaled) /
                                                    std::pow(10.0L, precision)), ',');
    ASSERT_EQ(fast.View(), general.View()) << scaled << " / 10^" << precision;
  }
  EXPECT_GT(written, 50000);
}

TEST(ScaledDecimal, Cases) {
  const struct {
    int64_t scaled;
    int32_t precision;
    const char* expected;  // nullptr: left to the general formatter
  } cases[] = {
      {0, 2, "0"},          {5, 2, "0.05"},       {-5, 2, "-0.05"},     {120, 2, "1.2"},
      {100, 2, "1"},        {1, 4, "0.0001"},     {9, 5, nullptr},      {12345, 0, "12345"},
      {999999999999999, 2, "9999999999999.99"},   {1000000000000000, 2, nullptr},
      {7, 16, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scaled);
    TTextBuffer out;
    const bool written = AppendScaledDecimal(out, c.scaled, c.precision, '.');
    if (c.expected) EXPECT_EQ(out.View(), c.expected);
    else EXPECT_FALSE(written);
  }
}

}  // namespace
}  // namespace kelvast
