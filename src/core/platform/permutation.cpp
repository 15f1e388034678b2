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

TUniqueCount TPermutation::Round(TUniqueCount x) const {
  const int high = FBits - FLowBits;
  const TUniqueCount lowMask = (TUniqueCount{1} << FLowBits) - 1;
  // An odd multiplier is invertible modulo any power of two.
  constexpr TUniqueCount kOdd =
      (TUniqueCount{0x9E3779B97F4A7C15ULL} << 64) | TUniqueCount{0xD1B54A32D192ED03ULL};
  for (const uint64_t key : FKeys) {
    // The high part is left as it is, so xoring the low part with any function of it can be
    // undone: the step is a bijection.
    // The high part holds at most 64 bits, and the low part too.
    const auto top = static_cast<uint64_t>(x >> FLowBits);
    x ^= TUniqueCount{Mix(top ^ key)} & lowMask;
    x = (x * kOdd) & FMask;
    // A rotation by the high part's width brings the mixed low bits to the top.
    if (high > 0) x = ((x << high) | (x >> FLowBits)) & FMask;
  }
  return x;
}

}  // namespace kelvast
