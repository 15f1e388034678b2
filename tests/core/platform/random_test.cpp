// SPDX-License-Identifier: MIT
#include "core/platform/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace kelvast {
namespace {

// Pearson's statistic of observed counts against equal expected counts.
double ChiSquare(const std::vector<int64_t>& counts, int64_t total) {
  const double expected = static_cast<double>(total) / static_cast<double>(counts.size());
  double sum = 0;
  for (int64_t c : counts) {
    const double d = static_cast<double>(c) - expected;
    sum += d * d / expected;
  }
  return sum;
}

// Split draws must be uniform one by one and in consecutive pairs (which share a 64-bit draw
// most of the time), for the alphabet sizes that masks, zip codes and strings use. The bounds
// are far beyond what a fair source gives (mean = cells - 1, deviation about sqrt(2 * cells)).
TEST(SplitDrawTest, DrawsAreUniformAloneAndInPairs) {
  TRandomSource source(11);
  for (const uint32_t n : {2u, 3u, 10u, 15u, 26u, 36u, 53u, 1000u}) {
    TSplitDraw draw(source);
    std::vector<int64_t> single(n), pairs(static_cast<size_t>(n) * n);
    const int64_t total = 400000;
    uint32_t previous = draw.Below(n);
    for (int64_t i = 0; i < total; ++i) {
      const uint32_t value = draw.Below(n);
      ASSERT_LT(value, n);
      ++single[value];
      ++pairs[static_cast<size_t>(previous) * n + value];
      previous = value;
    }
    const double cells = n, pairCells = static_cast<double>(n) * n;
    EXPECT_LT(ChiSquare(single, total), cells - 1 + 6 * std::sqrt(2 * cells)) << n;
    EXPECT_LT(ChiSquare(pairs, total), pairCells - 1 + 6 * std::sqrt(2 * pairCells)) << n;
  }
}

TEST(SplitDrawTest, SameSourceStateGivesTheSameDraws) {
  TRandomSource a(5), b(5);
  TSplitDraw da(a), db(b);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(da.Below(36), db.Below(36));
  EXPECT_EQ(a.Next(), b.Next());
  // The largest bound uses a whole draw each time; a bound of 1 never draws.
  TRandomSource c(5);
  TSplitDraw dc(c);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(dc.Below(1), 0u);
  for (int i = 0; i < 100; ++i) ASSERT_LT(dc.Below(1u << 31), 1u << 31);
}

}  // namespace
}  // namespace kelvast
