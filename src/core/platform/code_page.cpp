// SPDX-License-Identifier: MIT
#include "core/platform/code_page.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace kelvast {
namespace {

// Unicode of the bytes 0x80..0x9F; the undefined ones keep their own code.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

struct CaseTables {
  std::array<unsigned char, 256> upper{};
  std::array<unsigned char, 256> lower{};
  constexpr CaseTables() {
    for (int i = 0; i < 256; ++i) upper[i] = lower[i] = static_cast<unsigned char>(i);
    auto pair = [this](int capital, int small) {
      upper[small] = static_cast<unsigned char>(capital);
      lower[capital] = static_cast<unsigned char>(small);
    };
    for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 32);
    for (int c = 0xC0; c <= 0xDE; ++c)
      if (c != 0xD7) pair(c, c + 32);  // 0xD7 is ×, 0xF7 is ÷
    pair(0x8A, 0x9A);                  // Š š
    pair(0x8C, 0x9C);                  // Œ œ
    pair(0x8E, 0x9E);                  // Ž ž
    pair(0x9F, 0xFF);                  // Ÿ ÿ
  }
};
constexpr CaseTables kCase;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

char16_t AnsiToWideChar(unsigned char c) {
  return (c >= 0x80 && c <= 0x9F) ? kHighControls[c - 0x80] : static_cast<char16_t>(c);
}

bool WideCharToAnsi(char32_t c, char& out) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
    out = static_cast<char>(c);
    return true;
  }
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == c) {
      out = static_cast<char>(0x80 + i);
      return true;
    }
  }
  out = '?';
  return false;
}

std::u16string AnsiToUtf16(std::string_view ansi) {
  std::u16string out;
  out.reserve(ansi.size());
  for (char c : ansi) out += AnsiToWideChar(static_cast<unsigned char>(c));
  return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char c : ansi) AppendUtf8(out, AnsiToWideChar(static_cast<unsigned char>(c)));
  return out;
}

bool Utf16ToAnsi(std::u16string_view utf16, std::string& out) {
  out.clear();
  out.reserve(utf16.size());
  bool exact = true;
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    }
    char b;
    exact &= WideCharToAnsi(c, b);
    out += b;
  }
  return exact;
}

bool Utf8ToAnsi(std::string_view utf8, std::string& out) {
  out.clear();
  out.reserve(utf8.size());
  bool exact = true;
  size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char b0 = static_cast<unsigned char>(utf8[i]);
    if (b0 < 0x80) {
      out += static_cast<char>(b0);
      ++i;
      continue;
    }
    int extra = 0;
    char32_t c = 0;
    char32_t smallest = 0;  // below this the sequence is an overlong form
    if ((b0 & 0xE0) == 0xC0) {
      extra = 1, c = b0 & 0x1F, smallest = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      extra = 2, c = b0 & 0x0F, smallest = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      extra = 3, c = b0 & 0x07, smallest = 0x10000;
    }
    // A malformed sequence (a stray continuation byte, a lead byte without enough continuation
    // bytes, an overlong form, a surrogate or a code above U+10FFFF) becomes one '?'. Overlong
    // forms must not decode: they would smuggle in characters such as NUL or '/'.
    size_t length = 1;
    while (static_cast<int>(length) <= extra && i + length < utf8.size() &&
           (static_cast<unsigned char>(utf8[i + length]) & 0xC0) == 0x80) {
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + length]) & 0x3F);
      ++length;
    }
    const bool wellFormed = extra > 0 && static_cast<int>(length) == extra + 1 && c >= smallest &&
                            c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    char a = '?';
    exact &= wellFormed && WideCharToAnsi(c, a);
    out += a;
    i += length;
  }
  return exact;
}

char AnsiUpperChar(char c) { return static_cast<char>(kCase.upper[static_cast<unsigned char>(c)]); }
char AnsiLowerChar(char c) { return static_cast<char>(kCase.lower[static_cast<unsigned char>(c)]); }

namespace {

// The word-at-a-time tail below keeps the first bytes of a word by masking its low bytes.
static_assert(std::endian::native == std::endian::little);

// Maps the letters of p[0, n) through a case table. Runs of ASCII text, the common case, are
// mapped eight bytes at a time: the bytes between `first` and `last` get their 0x20 bit flipped.
// `spare` bytes after the text may be overwritten (a buffer's unused room): with eight of them
// the last part of the text is mapped as a whole word too.
template <char first, char last>
void MapCase(char* p, size_t n, const std::array<unsigned char, 256>& table, size_t spare = 0) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  constexpr uint64_t kHigh = 0x8080808080808080ULL;
  // No byte is above 0x7F, so these sums carry into no neighbour: a byte's high bit says
  // whether it reached `first`, respectively passed `last`.
  const auto flip = [](uint64_t w) {
    const uint64_t from = w + kOnes * (0x80 - first);
    const uint64_t past = w + kOnes * (0x80 - last - 1);
    return w ^ (((from & ~past) & kHigh) >> 2);
  };
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t w;
    std::memcpy(&w, p + i, 8);
    if ((w & kHigh) == 0) {
      w = flip(w);
      std::memcpy(p + i, &w, 8);
    } else {
      for (size_t j = i; j < i + 8; ++j) p[j] = static_cast<char>(table[static_cast<unsigned char>(p[j])]);
    }
  }
  if (i < n && spare >= 8) {
    // The bytes past the text are cleared first: zero is no letter and has no high bit.
    uint64_t w;
    std::memcpy(&w, p + i, 8);
    w &= ~uint64_t{0} >> (8 * (8 - (n - i)));
    if ((w & kHigh) == 0) {
      w = flip(w);
      std::memcpy(p + i, &w, 8);
      return;
    }
  }
  for (; i < n; ++i) p[i] = static_cast<char>(table[static_cast<unsigned char>(p[i])]);
}

}  // namespace

void AnsiUpperInPlace(std::string& s) { MapCase<'a', 'z'>(s.data(), s.size(), kCase.upper); }

void AnsiLowerInPlace(std::string& s) { AnsiLowerInPlace(s.data(), s.size()); }

void AnsiLowerInPlace(char* p, size_t n) { MapCase<'A', 'Z'>(p, n, kCase.lower); }

void AnsiUpperInPlace(TTextBuffer& s) {
  MapCase<'a', 'z'>(s.data(), s.size(), kCase.upper, s.Spare());
}
void AnsiLowerInPlace(TTextBuffer& s) {
  MapCase<'A', 'Z'>(s.data(), s.size(), kCase.lower, s.Spare());
}

std::string AnsiUpperCase(std::string_view s) {
  std::string out(s);
  AnsiUpperInPlace(out);
  return out;
}

std::string AnsiLowerCase(std::string_view s) {
  std::string out(s);
  AnsiLowerInPlace(out);
  return out;
}

bool SameTextAnsi(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AnsiLowerChar(a[i]) != AnsiLowerChar(b[i])) return false;
  return true;
}

}  // namespace kelvast
