// SPDX-License-Identifier: MIT
#include "core/generators/charset.h"

#include <bit>

#include "core/platform/random.h"
#include "core/platform/text_utils.h"

namespace kelvast {

TCharSet TCharSet::FromText(std::string_view members) {
  TCharSet set;
  for (char c : members) set.Include(static_cast<unsigned char>(c));
  return set;
}

TCharSet TCharSet::Range(unsigned char first, unsigned char last) {
  TCharSet set;
  for (int c = first; c <= last; ++c) set.Include(static_cast<unsigned char>(c));
  return set;
}

bool TCharSet::Empty() const {
  for (uint8_t b : FBits)
    if (b != 0) return false;
  return true;
}

TCharSet& TCharSet::operator+=(const TCharSet& other) {
  for (size_t i = 0; i < FBits.size(); ++i) FBits[i] |= other.FBits[i];
  return *this;
}

std::string TCharSet::ToText() const {
  std::string text;
  for (int c = 0; c < 256; ++c)
    if (Contains(static_cast<unsigned char>(c))) text += static_cast<char>(c);
  return text;
}

const TCharSet& FallbackCharSet() {
  static const TCharSet kSet = TCharSet::FromText(" _") + TCharSet::Range('A', 'Z') +
                               TCharSet::Range('a', 'z');
  return kSet;
}

std::string CharSetAlphabet(const TCharSet& set) {
  const TCharSet& source = set.Empty() ? FallbackCharSet() : set;
  std::string alphabet;
  const auto& bits = source.Bits();
  for (int byte = 0; byte < 32; ++byte) {
    unsigned members = bits[static_cast<size_t>(byte)];
    if (byte == 0) members &= ~1u;
    for (; members != 0; members &= members - 1)
      alphabet += static_cast<char>(byte * 8 + std::countr_zero(members));
  }
  return alphabet;
}

void AppendRandomChars(TTextBuffer& out, std::string_view alphabet, size_t count) {
  if (alphabet.empty()) return;
  const size_t start = out.size();
  const char* chars = alphabet.data();
  const auto size = static_cast<uint32_t>(alphabet.size());
  {
    TLocalRandom random;
    TSplitDraw draw(random);
    for (char *p = out.Extend(count), *end = p + count; p != end; ++p) *p = chars[draw.Below(size)];
  }
  // An alphabet is in ascending order: only one that starts with a blank can give blanks to trim.
  if (IsTrimChar(chars[0])) TrimFrom(out, start);  // only what this call appended
}

const std::string& TAlphabet::Of(const TCharSet& set) {
  if (!FBuilt || !(FSet == set)) {
    FSet = set;
    FChars = CharSetAlphabet(set);
    FBuilt = true;
  }
  return FChars;
}

void AppendRandomCharString(TTextBuffer& out, TAlphabet& alphabet, const TCharSet& set,
                            uint16_t count) {
  AppendRandomChars(out, alphabet.Of(set), count);
}

void AppendRandomCharString(TTextBuffer& out, const TCharSet& set, uint16_t count) {
  AppendRandomChars(out, CharSetAlphabet(set), count);
}

std::string RandomCharString(const TCharSet& set, uint16_t count) {
  TTextBuffer out;
  AppendRandomCharString(out, set, count);
  return out.str();
}

}  // namespace kelvast
