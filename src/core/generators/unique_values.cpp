// SPDX-License-Identifier: MIT
#include "core/generators/unique_values.h"

#include <array>

#include "core/platform/code_page.h"

namespace kelvast {

std::string UniqueAlphabet(std::string_view alphabet, TGenCase dataCase) {
  std::array<bool, 256> seen{};
  std::string chars;
  for (char c : alphabet) {
    if (static_cast<unsigned char>(c) <= 32) continue;
    if (dataCase != gcNoChange) c = AnsiUpperChar(c);
    bool& was = seen[static_cast<unsigned char>(c)];
    if (was) continue;
    was = true;
    chars += c;
  }
  return chars;
}

namespace {
TUniqueCount Power(uint64_t base, int64_t exponent) {
  if (base <= 1) return exponent > 0 ? base : 1;
  TUniqueCount p = 1;
  for (int64_t i = 0; i < exponent && p != kUniqueCountMax; ++i) p = SaturatingMul(p, base);
  return p;
}
}  // namespace

TUniqueCount TextSpaceSize(uint64_t letters, int64_t low, int64_t high) {
  TUniqueCount total = 0;
  for (int64_t length = low; length <= high && total != kUniqueCountMax; ++length)
    total = SaturatingAdd(total, Power(letters, length));
  return total;
}

void AppendIndexedText(TTextBuffer& out, std::string_view alphabet, int64_t low, int64_t high,
                       TUniqueCount index) {
  const uint64_t letters = alphabet.size();
  if (letters == 0) return;
  int64_t length = low;
  // One character: a text for each length, found without a walk through the lengths.
  if (letters == 1) {
    length = low + static_cast<int64_t>(index < TUniqueCount(high - low) ? index : high - low);
    index = 0;
  }
  for (; length < high; ++length) {
    const TUniqueCount count = Power(letters, length);
    if (index < count) break;
    index -= count;
  }
  char* const start = out.Extend(static_cast<size_t>(length));
  // The last character is the fastest digit; 64-bit division once the index fits.
  char* p = start + length;
  for (; p != start && index > UINT64_MAX; index /= letters)
    *--p = alphabet[static_cast<size_t>(index % letters)];
  auto small = static_cast<uint64_t>(index);
  for (; p != start && small > UINT32_MAX; small /= letters) *--p = alphabet[small % letters];
  if (letters == 1) {
    for (; p != start;) *--p = alphabet[0];
    return;
  }
  // Below 2^32, quotient and remainder come from multiplications by a precomputed inverse
  // (exact for every 32-bit dividend), a division's cost saved on each character.
  const uint64_t inverse = UINT64_MAX / letters + 1;
  for (; p != start;) {
    const uint64_t fraction = inverse * small;
    *--p = alphabet[static_cast<size_t>((static_cast<TUniqueCount>(fraction) * letters) >> 64)];
    small = static_cast<uint64_t>((static_cast<TUniqueCount>(inverse) * small) >> 64);
  }
}

std::string GroupedDigits(TUniqueCount n) {
  std::string digits;
  int count = 0;
  do {
    if (count > 0 && count % 3 == 0) digits.insert(digits.begin(), ',');
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(n % 10)));
    n /= 10;
    ++count;
  } while (n != 0);
  return digits;
}

std::string GroupedDigits(int64_t n) {
  const auto magnitude = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
  return (n < 0 ? "-" : "") + GroupedDigits(TUniqueCount{magnitude});
}

}  // namespace kelvast
