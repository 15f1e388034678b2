// SPDX-License-Identifier: MIT
#include "core/database/number_literal.h"

#include <charconv>
#include <limits>

#include "core/platform/code_page.h"

namespace kelvast {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Every character of the code page lies in the BMP: one to three bytes.
size_t Utf8Bytes(unsigned char c) {
  if (c < 0x80) return 1;
  return AnsiToWideChar(c) < 0x800 ? 2 : 3;
}

}  // namespace

TNumberLiteral ParseNumberLiteral(std::string_view text) {
  TNumberLiteral number;
  size_t i = 0;
  const size_t n = text.size();
  const bool negative = n > 0 && text[0] == '-';
  if (n > 0 && (text[0] == '-' || text[0] == '+')) ++i;
  const size_t start = i;
  size_t digits = 0;
  bool real = false;
  for (; i < n && IsDigit(text[i]); ++i)
    ++digits;
  if (i < n && text[i] == '.') {
    real = true;
    for (++i; i < n && IsDigit(text[i]); ++i)
      ++digits;
  }
  if (digits == 0) return number;
  bool tinyExponent = false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    real = true;
    ++i;
    if (i < n && (text[i] == '-' || text[i] == '+')) tinyExponent = text[i++] == '-';
    size_t exponentDigits = 0;
    for (; i < n && IsDigit(text[i]); ++i)
      ++exponentDigits;
    if (exponentDigits == 0) return number;
  }
  if (i != n) return number;
  const char* begin = text.data() + start;
  const char* end = text.data() + n;
  if (!real) {
    uint64_t magnitude = 0;
    constexpr uint64_t kMaxMagnitude = uint64_t{1} << 63;
    if (std::from_chars(begin, end, magnitude).ec == std::errc{} &&
        magnitude <= kMaxMagnitude - (negative ? 0 : 1)) {
      number.Kind = TNumberLiteral::Integer;
      number.IntegerValue = negative ? static_cast<int64_t>(0 - magnitude)
                                     : static_cast<int64_t>(magnitude);
      return number;
    }
  }
  number.Kind = TNumberLiteral::Real;
  if (std::from_chars(begin, end, number.RealValue).ec == std::errc::result_out_of_range)
    number.RealValue = tinyExponent ? 0.0 : std::numeric_limits<double>::infinity();
  if (negative) number.RealValue = -number.RealValue;
  return number;
}

size_t Utf8Length(std::string_view ansi) {
  size_t length = 0;
  for (char c : ansi)
    length += Utf8Bytes(static_cast<unsigned char>(c));
  return length;
}

char* WriteAsUtf8(char* out, std::string_view ansi) {
  for (char c : ansi) {
    const char16_t w = AnsiToWideChar(static_cast<unsigned char>(c));
    if (w < 0x80) {
      *out++ = static_cast<char>(w);
    } else if (w < 0x800) {
      *out++ = static_cast<char>(0xC0 | (w >> 6));
      *out++ = static_cast<char>(0x80 | (w & 0x3F));
    } else {
      *out++ = static_cast<char>(0xE0 | (w >> 12));
      *out++ = static_cast<char>(0x80 | ((w >> 6) & 0x3F));
      *out++ = static_cast<char>(0x80 | (w & 0x3F));
    }
  }
  return out;
}

void AppendAsUtf8(std::string& out, std::string_view ansi) {
  const size_t at = out.size();
  out.resize(at + Utf8Length(ansi));
  WriteAsUtf8(out.data() + at, ansi);
}

}  // namespace kelvast
