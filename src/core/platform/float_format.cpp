#include "core/platform/float_format.h"

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
    out.append(expBuf,
               static_cast<size_t>(std::to_chars(expBuf, expBuf + sizeof expBuf, exponent).ptr - expBuf));
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
bool AppendScaledDecimal(TTextBuffer& out, int64_t scaled, int32_t precision, char decimalSeparator) {
  constexpr int64_t kLimit = 1'000'000'000'000'000;  // 10^15
  if (precision > 15) return false;
  if (scaled == 0) {
    out += '0';
    return true;
  }
  const uint64_t magnitude = scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  if (magnitude >= static_cast<uint64_t>(kLimit)) return false;
  uint64_t p = 1;
  for (int32_t i = 0; i < precision; ++i) p *= 10;
  if (magnitude * 10000 < p) return false;  // below 0.0001: scientific notation

  char digits[20];
  const int n = static_cast<int>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
  int fractionEnd = n;
  while (fractionEnd > n - precision && fractionEnd > 0 && digits[fractionEnd - 1] == '0')
    --fractionEnd;
  // The text is laid out here and appended at once: sign, whole part, separator, the zeros
  // that lead a small fraction, and the fraction's digits.
  char text[48];
  char* at = text;
  if (scaled < 0) *at++ = '-';
  const int wholeDigits = n - precision;
  if (wholeDigits > 0) {
    std::memcpy(at, digits, static_cast<size_t>(wholeDigits));
    at += wholeDigits;
  } else {
    *at++ = '0';
  }
  const int fractionStart = wholeDigits > 0 ? wholeDigits : 0;
  if (fractionEnd > fractionStart) {
    *at++ = decimalSeparator;
    for (int i = wholeDigits; i < 0; ++i) *at++ = '0';
    std::memcpy(at, digits + fractionStart, static_cast<size_t>(fractionEnd - fractionStart));
    at += fractionEnd - fractionStart;
  }
  out.append(text, static_cast<size_t>(at - text));
  return true;
}
}  // namespace kelvast
