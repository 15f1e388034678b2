// SPDX-License-Identifier: MIT
#include "core/platform/decimal_digits.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace kelvast {
namespace {

std::string Reference(int64_t v) {
  char buf[24];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

// Every power of ten and its neighbours (where the digit count changes), the extremes, and
// random values of every length, each appended after text already in the buffer.
TEST(DecimalDigitsTest, AgreesWithToChars) {
  std::vector<int64_t> values{0, std::numeric_limits<int64_t>::min(),
                              std::numeric_limits<int64_t>::max()};
  for (int64_t p = 1; p <= std::numeric_limits<int64_t>::max() / 10; p *= 10)
    for (int64_t v : {p - 1, p, p + 1, 10 * p - 1}) {
      values.push_back(v);
      values.push_back(-v);
    }
  std::mt19937_64 random(3);
  for (int i = 0; i < 20000; ++i)
    values.push_back(static_cast<int64_t>(random()) >> (random() % 64));
  for (int64_t v : values) {
    TTextBuffer out;
    out += "n=";
    AppendDecimal(out, v);
    ASSERT_EQ(out.View(), "n=" + Reference(v));
  }
  char buf[24];
  const uint64_t top = std::numeric_limits<uint64_t>::max();
  EXPECT_EQ(std::string(buf, WriteDecimal(buf, top)), "18446744073709551615");
}

}  // namespace
}  // namespace kelvast
