// SPDX-License-Identifier: MIT
#pragma once
// A keyed bijection of [0, n): every index maps to a different index of the same range, in an
// order that looks random and depends only on the key. Unique values are read through it: record
// r takes the value of index Apply(r - 1), so no value repeats while records stay within n, and
// each record's value depends on its number alone (any thread, block or part computes it).
//
//   TPermutation order(5000, key);
//   uint64_t index = order.Apply(record - 1);  // 0 <= index < 5000, distinct for distinct records

#include <array>
#include <cstdint>

namespace kelvast {

// Counts of values, up to 2^128 - 1; products and sums that pass it stay at the maximum.
__extension__ typedef unsigned __int128 TUniqueCount;
inline constexpr TUniqueCount kUniqueCountMax = ~TUniqueCount{0};

TUniqueCount SaturatingMul(TUniqueCount a, TUniqueCount b);
TUniqueCount SaturatingAdd(TUniqueCount a, TUniqueCount b);

class TPermutation {
 public:
  // The identity of an empty range until set.
  TPermutation() = default;
  // A permutation of [0, n) chosen by key; n of 0 or 1 leaves nothing to permute.
  TPermutation(TUniqueCount n, uint64_t key);

  TUniqueCount Size() const { return FSize; }

  // The image of x, for 0 <= x < Size(): a small Feistel-like network on the next power of two
  // at or above the size, walked again while the image falls outside the range (on average
  // fewer than two walks, since that power is below twice the size).
  TUniqueCount Apply(TUniqueCount x) const {
    if (FBits == 0) return x;
    if (FBits <= 64) {
      // Most ranges fit in 64 bits, where the arithmetic is cheaper.
      auto small = static_cast<uint64_t>(x);
      do small = Pass<uint64_t>(small); while (small >= FSize);
      return small;
    }
    do x = Pass<TUniqueCount>(x); while (x >= FSize);
    return x;
  }

 private:
  static constexpr int kRounds = 4;
  // One pass of the network over FBits bits: each round mixes the low half with a function of
  // the high half, multiplies by an odd constant and rotates, each step a bijection.
  template <class T>
  T Pass(T x) const;

  TUniqueCount FSize = 0;
  int FBits = 0;      // bits of the power of two walked on; 0 for the identity
  int FLowBits = 0;   // bits mixed by each round
  TUniqueCount FMask = 0;
  std::array<uint64_t, kRounds> FKeys{};
};

}  // namespace kelvast
