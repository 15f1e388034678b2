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

void AppendRandomCharString(std::string& out, const TCharSet& set, uint16_t count) {
  const TCharSet& source = set.Empty() ? FallbackCharSet() : set;
  // The alphabet is rebuilt on every call; walking the set bits of the 32 bytes keeps that
  // cheap next to the draws of a short value. Code 0 is never drawn.
  char alphabet[255];
  int size = 0;
  const auto& bits = source.Bits();
  for (int byte = 0; byte < 32; ++byte) {
    unsigned members = bits[static_cast<size_t>(byte)];
    if (byte == 0) members &= ~1u;
    for (; members != 0; members &= members - 1)
      alphabet[size++] = static_cast<char>(byte * 8 + std::countr_zero(members));
  }
  if (size == 0) return;

  const size_t start = out.size();
  out.resize(start + count);
  TRandomSource& random = GlobalRandom();
  for (size_t i = start; i < out.size(); ++i) out[i] = alphabet[random.Below(size)];

  // Trim only what this call appended.
  size_t end = out.size();
  while (end > start && IsTrimChar(out[end - 1])) --end;
  out.resize(end);
  size_t first = start;
  while (first < out.size() && IsTrimChar(out[first])) ++first;
  out.erase(start, first - start);
}

std::string RandomCharString(const TCharSet& set, uint16_t count) {
  std::string out;
  AppendRandomCharString(out, set, count);
  return out;
}

}  // namespace kelvast
