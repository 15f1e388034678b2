// SPDX-License-Identifier: MIT
#include "core/platform/float_format.h"

#include "core/platform/decimal_digits.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace kelvast {

void AppendFloatGeneral(TTextBuffer& out, double v, char decimalSeparator) {
  if (std::isnan(v)) {
    out += "NAN";
    return;
  }
  if (std::isinf(v)) {
    out += v < 0 ? "-INF" : "INF";
    return;
  }
  // Negative zero is written as "0": a sign on zero means nothing to a database column.
  if (v == 0) {
    out += '0';
    return;
  }

  // Rounding to 15 significant digits first fixes both the digits and the decimal exponent, so
  // 9.999999999999999e14 becomes "1E15" and 0.30000000000000004 becomes "0.3". The text has
  // the form [-]d.ddddddddddddddde(+|-)dd[d].
  char buf[32];
  const char* const end =
      std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14).ptr;
  const char* p = buf;
  const bool negative = *p == '-';
  if (negative) ++p;
  char digits[15];
  int count = 0;
  for (; *p != 'e'; ++p)
    if (*p != '.') digits[count++] = *p;
  ++p;
  if (*p == '+') ++p;
  int exponent = 0;
  std::from_chars(p, end, exponent);
  while (count > 1 && digits[count - 1] == '0')
    --count;

  if (negative) out += '-';
  // The rounded exponent decides the notation: an integer part of more than 15 digits, or a
  // magnitude below 0.0001, is written in scientific notation.
  if (exponent >= 15 || exponent < -4) {
    out += digits[0];
    if (count > 1) {
      out += decimalSeparator;
      out.append(digits + 1, count - 1);
    }
    out += 'E';
    char expBuf[8];
    const char* expEnd = std::to_chars(expBuf, expBuf + sizeof expBuf, exponent).ptr;
    out.append(expBuf, static_cast<size_t>(expEnd - expBuf));
  } else if (exponent >= 0) {
    const int intDigits = exponent + 1;
    if (count <= intDigits) {
      out.append(digits, count);
      out.append(intDigits - count, '0');
    } else {
      out.append(digits, intDigits);
      out += decimalSeparator;
      out.append(digits + intDigits, count - intDigits);
    }
  } else {
    out += '0';
    out += decimalSeparator;
    out.append(-exponent - 1, '0');
    out.append(digits, count);
  }
}

std::string FloatToStr(double v, const TFormatSettings& fs) {
  TTextBuffer out;
  AppendFloatGeneral(out, v, fs.DecimalSeparator);
  return out.str();
}

// Writes scaled / 10^precision in the general format straight from its digits, which is what
// formatting the double would give whenever the value has at most 15 significant digits and is
// not below 0.0001 (a decimal of 15 digits survives the round trip through a double). Returns
// false, writing nothing, for the values that need the general formatter.
bool AppendScaledDecimal(TTextBuffer& out, int64_t scaled, int32_t precision,
                         char decimalSeparator) {
  static constexpr auto kPowers = [] {
    std::array<uint64_t, 16> p{1};
    for (size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
    return p;
  }();
  if (precision > 15) return false;
  if (scaled == 0) {
    out += '0';
    return true;
  }
  const uint64_t magnitude = scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  if (magnitude >= kPowers[15]) return false;
  const uint64_t p = precision > 0 ? kPowers[precision] : 1;
  if (magnitude * 10000 < p) return false;  // below 0.0001: scientific notation

  // Sign, whole part, then the fraction without its trailing zeros, padded on the left with the
  // zeros that lead a small fraction.
  char* at = out.Room(40);
  if (scaled < 0) *at++ = '-';
  at = WriteDecimal(at, magnitude / p);
  uint64_t fraction = magnitude % p;
  if (fraction != 0) {
    int digits = precision;
    while (fraction % 10 == 0) {
      fraction /= 10;
      --digits;
    }
    *at++ = decimalSeparator;
    char* const end = at + digits;
    for (char* q = end; q != at;) {
      *--q = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    at = end;
  }
  out.Commit(at);
  return true;
}

}  // namespace kelvast

namespace kelvast {

namespace {

// Writes the decimal digits d1 d2 ... (a value of d1.d2d3... x 10^exponent) in plain notation.
void AppendPlainDigits(TTextBuffer& out, bool negative, const char* digits, int count,
                       int exponent, char decimalSeparator) {
  while (count > 1 && digits[count - 1] == '0') --count;
  if (count == 1 && digits[0] == '0') {
    out += '0';
    return;
  }
  if (negative) out += '-';
  if (exponent >= 0) {
    const int intDigits = exponent + 1;
    if (count <= intDigits) {
      out.append(digits, static_cast<size_t>(count));
      out.append(static_cast<size_t>(intDigits - count), '0');
    } else {
      out.append(digits, static_cast<size_t>(intDigits));
      out += decimalSeparator;
      out.append(digits + intDigits, static_cast<size_t>(count - intDigits));
    }
  } else {
    out += '0';
    out += decimalSeparator;
    out.append(static_cast<size_t>(-exponent - 1), '0');
    out.append(digits, static_cast<size_t>(count));
  }
}

// Splits a text of the form [-]d[.ddd]e(+|-)dd into its digits and decimal exponent, and
// writes it in plain notation.
void AppendScientificAsPlain(TTextBuffer& out, const char* begin, const char* end,
                             char decimalSeparator) {
  const char* p = begin;
  const bool negative = *p == '-';
  if (negative) ++p;
  char digits[32];
  int count = 0;
  for (; p != end && *p != 'e'; ++p)
    if (*p != '.' && count < 32) digits[count++] = *p;
  int exponent = 0;
  if (p != end) {
    ++p;
    if (p != end && *p == '+') ++p;
    std::from_chars(p, end, exponent);
  }
  AppendPlainDigits(out, negative, digits, count, exponent, decimalSeparator);
}

bool AppendNonFinite(TTextBuffer& out, double v) {
  if (std::isnan(v)) out += "NAN";
  else if (std::isinf(v)) out += v < 0 ? "-INF" : "INF";
  else if (v == 0) out += '0';
  else return false;
  return true;
}

}  // namespace

double AppendFloatPlain(TTextBuffer& out, double v, int significant, char decimalSeparator) {
  if (AppendNonFinite(out, v)) return v == 0 ? 0.0 : v;
  significant = significant < 1 ? 1 : significant > 17 ? 17 : significant;
  char buf[40];
  const char* const end =
      std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, significant - 1).ptr;
  AppendScientificAsPlain(out, buf, end, decimalSeparator);
  double written = v;
  std::from_chars(buf, end, written, std::chars_format::scientific);
  return written;
}

void AppendFloatShortestPlain(TTextBuffer& out, double v, char decimalSeparator) {
  if (AppendNonFinite(out, v)) return;
  char buf[40];
  const char* const end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific).ptr;
  AppendScientificAsPlain(out, buf, end, decimalSeparator);
}

void AppendScaledPlain(TTextBuffer& out, int64_t scaled, int32_t precision,
                       char decimalSeparator, bool keepZeros) {
  if (precision < 0) precision = 0;
  const uint64_t magnitude =
      scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  char digits[24];
  const int count = static_cast<int>(WriteDecimal(digits, magnitude) - digits);
  // The whole part is what stands before the last `precision` digits; a shorter number is a
  // fraction led by zeros.
  const int whole = count > precision ? count - precision : 0;
  const int leadingZeros = count > precision ? 0 : precision - count;
  int fractionEnd = count;  // the fraction's digits are digits[whole, fractionEnd)
  if (!keepZeros)
    while (fractionEnd > whole && digits[fractionEnd - 1] == '0') --fractionEnd;
  if (scaled < 0) out += '-';
  if (whole > 0) out.append(digits, static_cast<size_t>(whole));
  else out += '0';
  if (fractionEnd > whole || (keepZeros && precision > 0)) {
    out += decimalSeparator;
    out.append(static_cast<size_t>(leadingZeros), '0');
    out.append(digits + whole, static_cast<size_t>(fractionEnd - whole));
  }
}

}  // namespace kelvast
