// SPDX-License-Identifier: MIT
#pragma once
// A set of the 256 single-byte character codes, held as 32 bytes (code n is bit n mod 8 of byte
// n div 8), and RandomCharString, which draws a random text from one.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/platform/text_buffer.h"

namespace kelvast {

class TCharSet {
 public:
  TCharSet() = default;
  // The set of the characters of a text.
  static TCharSet FromText(std::string_view members);
  // The characters from first to last, both included.
  static TCharSet Range(unsigned char first, unsigned char last);

  bool Empty() const;
  bool Contains(unsigned char c) const { return (FBits[c >> 3] >> (c & 7)) & 1; }
  void Include(unsigned char c) { FBits[c >> 3] |= static_cast<uint8_t>(1u << (c & 7)); }
  void Exclude(unsigned char c) { FBits[c >> 3] &= static_cast<uint8_t>(~(1u << (c & 7))); }
  void Clear() { FBits.fill(0); }
  TCharSet& operator+=(const TCharSet& other);
  friend TCharSet operator+(TCharSet a, const TCharSet& b) { return a += b; }
  bool operator==(const TCharSet&) const = default;

  // The members in ascending code order, code 0 included when it is one.
  std::string ToText() const;
  const std::array<uint8_t, 32>& Bits() const { return FBits; }

 private:
  std::array<uint8_t, 32> FBits{};
};

// The 54 characters drawn from when a set is empty: the space, A-Z, "_", a-z.
const TCharSet& FallbackCharSet();

// Appends count characters drawn uniformly from the members of set with codes 1 to 255 (the
// fallback alphabet when set is empty), then trims the appended part at both ends (codes 0 to
// 32), so the result can be shorter than count. A set whose only member is code 0 gives "".
// count is a 16-bit quantity: longer lengths are taken modulo 65536 by the caller.
void AppendRandomCharString(TTextBuffer& out, const TCharSet& set, uint16_t count);

// The characters a generator draws from, kept by the generator itself: built again only when its
// set changes, so every value after the first costs no building, on any thread.
class TAlphabet {
 public:
  const std::string& Of(const TCharSet& set);

 private:
  TCharSet FSet;
  std::string FChars;
  bool FBuilt = false;
};
// AppendRandomCharString with the generator's alphabet.
void AppendRandomCharString(TTextBuffer& out, TAlphabet& alphabet, const TCharSet& set,
                            uint16_t count);
// The characters RandomCharString draws from for a set: its members but code 0, in code order,
// or those of the fallback set when it is empty.
std::string CharSetAlphabet(const TCharSet& set);
// Appends count characters drawn from a non-empty alphabet, then trims what it appended.
void AppendRandomChars(TTextBuffer& out, std::string_view alphabet, size_t count);
std::string RandomCharString(const TCharSet& set, uint16_t count);

}  // namespace kelvast
