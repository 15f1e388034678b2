// SPDX-License-Identifier: MIT
#include "core/platform/permutation.h"

namespace kelvast {

TUniqueCount SaturatingMul(TUniqueCount a, TUniqueCount b) {
  if (a == 0 || b == 0) return 0;
  return a > kUniqueCountMax / b ? kUniqueCountMax : a * b;
}

TUniqueCount SaturatingAdd(TUniqueCount a, TUniqueCount b) {
  return a > kUniqueCountMax - b ? kUniqueCountMax : a + b;
}

namespace {
// The 64-bit finaliser of SplitMix64: every input bit reaches every output bit.
uint64_t Mix(uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}
}  // namespace

TPermutation::TPermutation(TUniqueCount n, uint64_t key) : FSize(n) {
  if (n <= 1) return;
  int bits = 1;
  while (bits < 128 && (TUniqueCount{1} << bits) < n) ++bits;
  FBits = bits;
  FLowBits = bits - bits / 2;
  FMask = bits == 128 ? kUniqueCountMax : (TUniqueCount{1} << bits) - 1;
  uint64_t state = key;
  for (uint64_t& k : FKeys) k = Mix(state += 0x9E3779B97F4A7C15ULL);
}

template <class T>
T TPermutation::Pass(T x) const {
  const int high = FBits - FLowBits;
  const T mask = static_cast<T>(FMask);
  const T lowMask = (T{1} << FLowBits) - 1;
  // An odd multiplier is invertible modulo any power of two.
  const T odd = static_cast<T>((TUniqueCount{0x9E3779B97F4A7C15ULL} << 64) |
                               TUniqueCount{0xD1B54A32D192ED03ULL});
  for (const uint64_t key : FKeys) {
    // The high part (at most 64 bits) is left as it is, so xoring the low part with any
    // function of it can be undone: the step is a bijection. The function is the top bits of a
    // product, which depend on every bit of its factors.
    const auto top = static_cast<uint64_t>(x >> FLowBits);
    const auto product = static_cast<TUniqueCount>(top ^ key) * 0xFF51AFD7ED558CCDULL;
    x ^= static_cast<T>(static_cast<uint64_t>(product >> 64) ^ static_cast<uint64_t>(product)) &
         lowMask;
    x = (x * odd) & mask;
    // A rotation by the high part's width brings the mixed low bits to the top.
    if (high > 0) x = ((x << high) | (x >> FLowBits)) & mask;
  }
  return x;
}

template uint64_t TPermutation::Pass<uint64_t>(uint64_t) const;
template TUniqueCount TPermutation::Pass<TUniqueCount>(TUniqueCount) const;

}  // namespace kelvast
