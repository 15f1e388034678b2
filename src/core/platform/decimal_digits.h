// SPDX-License-Identifier: MIT
#pragma once
// Decimal digits of integers written straight into a text buffer, two digits per step: the
// formatting that every numeric value of a run goes through.

#include <cstdint>
#include <cstring>

#include "core/platform/text_buffer.h"

namespace kelvast {

namespace detail {
inline constexpr char kDigitPairs[201] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";
}  // namespace detail

// The number of decimal digits of v (1 for 0).
inline int DecimalLength(uint64_t v) {
  int n = 1;
  for (;;) {
    if (v < 10) return n;
    if (v < 100) return n + 1;
    if (v < 1000) return n + 2;
    if (v < 10000) return n + 3;
    v /= 10000;
    n += 4;
  }
}

// Writes the digits of v at `at` and returns the end of what was written (at most 20 bytes).
inline char* WriteDecimal(char* at, uint64_t v) {
  const int n = DecimalLength(v);
  char* p = at + n;
  while (v >= 100) {
    const auto pair = static_cast<size_t>(v % 100) * 2;
    v /= 100;
    p -= 2;
    std::memcpy(p, detail::kDigitPairs + pair, 2);
  }
  if (v >= 10) {
    std::memcpy(p - 2, detail::kDigitPairs + v * 2, 2);
  } else {
    p[-1] = static_cast<char>('0' + v);
  }
  return at + n;
}

// Appends v in decimal, with a minus sign when negative.
inline void AppendDecimal(TTextBuffer& out, int64_t v) {
  char* at = out.Room(21);
  uint64_t magnitude = static_cast<uint64_t>(v);
  if (v < 0) {
    *at++ = '-';
    magnitude = 0 - magnitude;
  }
  out.Commit(WriteDecimal(at, magnitude));
}

}  // namespace kelvast
