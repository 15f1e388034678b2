// SPDX-License-Identifier: MIT
#include "core/platform/random.h"

#include <chrono>

namespace kelvast {

namespace {
uint64_t SplitMix(uint64_t& x) {
  uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

uint64_t ClockSeed() {
  return static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}
}  // namespace

void TRandomSource::Seed(uint64_t seed) {
  // SplitMix expands one word into a state that is never all zero.
  for (uint64_t& word : s_) word = SplitMix(seed);
}

// Constant-initialised, so a draw costs no initialisation check on any thread.
constinit thread_local TRandomSource detail::gRandomSource;

void RandSeed(uint64_t seed) { GlobalRandom().Seed(seed); }

void Randomize() { GlobalRandom().Seed(ClockSeed()); }

TRandomSource BlockRandom(uint64_t runSeed, uint64_t block) {
  // Two rounds of the SplitMix finaliser: neighbouring blocks get unrelated seeds.
  uint64_t key = runSeed;
  uint64_t counter = block ^ SplitMix(key);
  return TRandomSource(SplitMix(counter));
}

}  // namespace kelvast
