// SPDX-License-Identifier: MIT
#pragma once
// The pseudo-random source: xoshiro256**, fast and uniform. Each thread draws from a source of
// its own (GlobalRandom); the programs seed their main thread's from the clock at start-up
// (Randomize), RandSeed makes a run reproducible, and a run gives each block of records a source
// of its own derived from the run's seed and the block's number (BlockRandom), so that its
// values do not depend on which thread makes them.

#include <cstdint>

namespace kelvast {

class TRandomSource {
  __extension__ typedef unsigned __int128 UInt128;

 public:
  explicit TRandomSource(uint64_t seed) { Seed(seed); }
  // A fixed state, for a thread's source before it is seeded.
  constexpr TRandomSource()
      : s_{0x180EC6D33CFD0ABAULL, 0xD5A61266F0C9392CULL, 0xA9582618E03FC9AAULL,
           0x39ABDC4529B1661CULL} {}

  void Seed(uint64_t seed);

  uint64_t Next() {
    const uint64_t result = Rotl(s_[1] * 5, 7) * 9;
    const uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 45);
    return result;
  }

  // 0 .. n-1 with equal likelihood; 0 when n <= 0. The 128-bit product keeps the bias below 2^-32.
  int32_t Below(int32_t n) {
    if (n <= 0) return 0;
    return static_cast<int32_t>((static_cast<UInt128>(Next()) * static_cast<uint64_t>(n)) >> 64);
  }

  // 0 .. n-1 with exactly equal likelihood, for any 64-bit n; n == 0 stands for 2^64 (every
  // 64-bit value). Products that fall in the short part of the range are drawn again, so no
  // value is favoured (the retry is rarer than 1 in 2^32 for n below 2^32).
  uint64_t Uniform(uint64_t n) {
    if (n == 0) return Next();
    UInt128 product = static_cast<UInt128>(Next()) * n;
    if (static_cast<uint64_t>(product) < n) {
      const uint64_t threshold = (0 - n) % n;
      while (static_cast<uint64_t>(product) < threshold) product = static_cast<UInt128>(Next()) * n;
    }
    return static_cast<uint64_t>(product >> 64);
  }

  // An integer of [low, high] with exactly equal likelihood; low <= high.
  int64_t Between(int64_t low, int64_t high) {
    const uint64_t span = static_cast<uint64_t>(high) - static_cast<uint64_t>(low) + 1;
    return static_cast<int64_t>(static_cast<uint64_t>(low) + Uniform(span));
  }

  // A real in [0, 1) with 53 random bits.
  double Real() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

 private:
  static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  uint64_t s_[4];
};

// The calling thread's source copied into a local for a run of draws whose results are stored
// into memory the compiler cannot tell apart from the source (text being built), so that the
// state stays in registers. The copy goes back when the scope ends, whatever way it ends, so the
// draws are exactly those the source itself would have given.
//
//   TLocalRandom random;
//   TSplitDraw draw(random);
class TLocalRandom {
 public:
  TLocalRandom();
  ~TLocalRandom();
  TLocalRandom(const TLocalRandom&) = delete;
  TLocalRandom& operator=(const TLocalRandom&) = delete;
  operator TRandomSource&() { return FSource; }

 private:
  TRandomSource FSource;
};

// Many small draws out of few 64-bit draws, for values made of many characters: each draw
// below n takes the integer part of the remaining random fraction times n and keeps the
// fractional part for the next one. A fresh 64-bit draw is taken before the product of the
// bounds used passes 2^32, so at least 32 random bits stand behind every result and its bias
// stays below 2^-32, as with TRandomSource::Below. Nine digits, or six letters, cost one draw.
class TSplitDraw {
  __extension__ typedef unsigned __int128 UInt128;

 public:
  explicit TSplitDraw(TRandomSource& source) : FSource(source) {}

  // 0 .. n-1 with equal likelihood, for 1 <= n <= 2^31.
  uint32_t Below(uint32_t n) {
    if (FUsed > kLimit / n) {
      FBits = FSource.Next();
      FUsed = 1;
    }
    const UInt128 product = static_cast<UInt128>(FBits) * n;
    FBits = static_cast<uint64_t>(product);
    FUsed *= n;
    return static_cast<uint32_t>(product >> 64);
  }

 private:
  static constexpr uint64_t kLimit = uint64_t{1} << 32;
  TRandomSource& FSource;
  uint64_t FBits = 0;
  uint64_t FUsed = kLimit + 1;  // the first call draws
};

namespace detail {
extern constinit thread_local TRandomSource gRandomSource;
}

// The source every generator of the calling thread draws from.
inline TRandomSource& GlobalRandom() { return detail::gRandomSource; }

// Re-seeds the calling thread's source: the same seed gives the same sequence of draws.
void RandSeed(uint64_t seed);

// Seeds the calling thread's source from the clock (the programs do it once at start-up).
void Randomize();

// The source of one block of a run's records: a counter-based derivation of the run's seed and
// the block's number, the same whatever thread asks.
TRandomSource BlockRandom(uint64_t runSeed, uint64_t block);

// Random(n): 0 .. n-1, 0 when n <= 0.
inline int32_t Random(int32_t n) { return GlobalRandom().Below(n); }

// A real draw in [0, 1).
inline double RandomReal() { return GlobalRandom().Real(); }

inline TLocalRandom::TLocalRandom() : FSource(GlobalRandom()) {}
inline TLocalRandom::~TLocalRandom() { GlobalRandom() = FSource; }

}  // namespace kelvast
