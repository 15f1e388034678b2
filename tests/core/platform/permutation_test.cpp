// SPDX-License-Identifier: MIT
#include "core/platform/permutation.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace kelvast {
namespace {

// Every index of [0, n) has exactly one preimage (ten million among them): the images, marked
// in a bit vector, cover the range without a collision.
TEST(PermutationTest, IsABijectionOfItsRange) {
  for (const uint64_t n : {1ull, 2ull, 3ull, 5ull, 7ull, 8ull, 97ull, 1000ull, 1024ull, 1025ull,
                           65537ull, 999983ull, 10000000ull}) {
    SCOPED_TRACE(n);
    for (const uint64_t key : {0ull, 42ull}) {
      if (n > 1000000 && key != 0) break;  // ten million indexes are checked once
      const TPermutation order(n, key);
      std::vector<bool> seen(n);
      uint64_t fixed = 0;
      for (uint64_t x = 0; x < n; ++x) {
        const auto y = static_cast<uint64_t>(order.Apply(x));
        ASSERT_LT(y, n);
        ASSERT_FALSE(seen[y]) << "x " << x;
        seen[y] = true;
        fixed += y == x;
      }
      // A scrambled order leaves few indexes in place.
      if (n >= 1000) EXPECT_LT(fixed, n / 100);
    }
  }
}

TEST(PermutationTest, TheKeyChoosesTheOrder) {
  const TPermutation a(1000, 1), b(1000, 2), again(1000, 1);
  int differ = 0;
  for (uint64_t x = 0; x < 1000; ++x) {
    EXPECT_EQ(a.Apply(x), again.Apply(x));
    differ += a.Apply(x) != b.Apply(x);
  }
  EXPECT_GT(differ, 900);
}

// Ranges past 64 bits, up to the largest count, stay in range and distinct.
TEST(PermutationTest, WideRangesStayInRangeAndDistinct) {
  for (const TUniqueCount n :
       {(TUniqueCount{1} << 64) + 3, TUniqueCount{3} << 100, kUniqueCountMax}) {
    const TPermutation order(n, 7);
    std::set<TUniqueCount> images;
    for (uint64_t x = 0; x < 20000; ++x) {
      const TUniqueCount y = order.Apply(x);
      ASSERT_LT(y, n);
      images.insert(y);
    }
    EXPECT_EQ(images.size(), 20000u);
  }
}

TEST(PermutationTest, CountsSaturate) {
  EXPECT_EQ(SaturatingMul(kUniqueCountMax / 2, 3), kUniqueCountMax);
  EXPECT_EQ(SaturatingMul(TUniqueCount{1} << 64, TUniqueCount{1} << 63), TUniqueCount{1} << 127);
  EXPECT_EQ(SaturatingMul(0, kUniqueCountMax), 0u);
  EXPECT_EQ(SaturatingAdd(kUniqueCountMax, 1), kUniqueCountMax);
}

}  // namespace
}  // namespace kelvast
