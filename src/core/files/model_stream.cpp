// SPDX-License-Identifier: MIT
#include "core/files/model_stream.h"

#include "core/platform/code_page.h"
#include "core/platform/errors.h"

#include <bit>
#include <cstdio>
#include <limits>

namespace kelvast {

std::string ValueTypeName(uint8_t tag) {
  switch (tag) {
    case vaNull:
      return "the end marker";
    case vaList:
      return "a list";
    case vaInt8:
    case vaInt16:
    case vaInt32:
      return "an integer";
    case vaExtended:
      return "a floating-point number";
    case vaString:
    case vaLString:
    case vaWString:
    case vaUTF8String:
      return "a text";
    case vaIdent:
      return "an enumeration name";
    case vaFalse:
    case vaTrue:
      return "a boolean";
    case vaCollection:
      return "a collection";
    default:
      break;
  }
  char buf[16];
  std::snprintf(buf, sizeof buf, "tag 0x%02X", tag);
  return buf;
}

// ---- Extended floats ----

namespace {

constexpr uint64_t kFracMask = (uint64_t{1} << 52) - 1;
constexpr uint64_t kIntegerBit = uint64_t{1} << 63;
constexpr int kExtBias = 16383;
constexpr int kDoubleBias = 1023;

// x / 2^shift rounded to the nearest integer, ties to even; shift >= 1.
uint64_t RoundShiftRight(uint64_t x, int shift) {
  if (shift > 64) return 0;  // x / 2^shift < 1/2
  const uint64_t q = shift == 64 ? 0 : x >> shift;
  const uint64_t rem = shift == 64 ? x : x & ((uint64_t{1} << shift) - 1);
  const uint64_t half = uint64_t{1} << (shift - 1);
  return (rem > half || (rem == half && (q & 1))) ? q + 1 : q;
}

}  // namespace

TExtended DoubleToExtended(double v) {
  const uint64_t bits = std::bit_cast<uint64_t>(v);
  const uint16_t sign = static_cast<uint16_t>((bits >> 63) << 15);
  const int exp = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t frac = bits & kFracMask;

  uint64_t significand = 0;
  int extExp = 0;
  if (exp == 0x7FF) {  // infinity or NaN, the NaN payload kept
    extExp = 0x7FFF;
    significand = kIntegerBit | (frac << 11);
  } else if (exp != 0) {
    extExp = exp - kDoubleBias + kExtBias;
    significand = kIntegerBit | (frac << 11);
  } else if (frac != 0) {
    // A subnormal double is frac * 2^-1074; the extended range holds it normalised.
    const int top = std::bit_width(frac) - 1;
    significand = frac << (63 - top);
    extExp = top - 1074 + kExtBias;
  }

  TExtended e{};
  for (int i = 0; i < 8; ++i)
    e[i] = static_cast<uint8_t>(significand >> (8 * i));
  const uint16_t se = static_cast<uint16_t>(sign | extExp);
  e[8] = static_cast<uint8_t>(se);
  e[9] = static_cast<uint8_t>(se >> 8);
  return e;
}

double ExtendedToDouble(const TExtended& e) {
  uint64_t significand = 0;
  for (int i = 0; i < 8; ++i)
    significand |= uint64_t{e[i]} << (8 * i);
  const uint16_t se = static_cast<uint16_t>(e[8] | (e[9] << 8));
  const uint64_t sign = static_cast<uint64_t>(se >> 15) << 63;
  const int exp = se & 0x7FFF;
  const uint64_t infinity = uint64_t{0x7FF} << 52;

  if (exp == 0x7FFF) {
    if ((significand << 1) == 0) return std::bit_cast<double>(sign | infinity);
    uint64_t payload = (significand >> 11) & kFracMask;
    if (payload == 0) payload = uint64_t{1} << 51;  // keep it a NaN
    return std::bit_cast<double>(sign | infinity | payload);
  }
  if (significand == 0) return std::bit_cast<double>(sign);

  // The value is significand * 2^scale. Denormal extended numbers (exponent 0) use the smallest
  // exponent; a cleared integer bit elsewhere is read for what the bits say.
  int scale = (exp == 0 ? 1 : exp) - kExtBias - 63;
  const int lead = std::countl_zero(significand);
  significand <<= lead;
  scale -= lead;
  int unbiased = scale + 63;  // significand is now in [2^63, 2^64)

  if (unbiased > kDoubleBias) return std::bit_cast<double>(sign | infinity);
  if (unbiased >= 1 - kDoubleBias) {
    uint64_t mantissa = RoundShiftRight(significand, 11);
    if (mantissa == (uint64_t{1} << 53)) {
      mantissa >>= 1;
      if (++unbiased > kDoubleBias) return std::bit_cast<double>(sign | infinity);
    }
    const uint64_t biased = static_cast<uint64_t>(unbiased + kDoubleBias);
    return std::bit_cast<double>(sign | (biased << 52) | (mantissa & kFracMask));
  }
  // Subnormal result: frac * 2^-1074. A rounding up to 2^52 lands exactly on the smallest normal,
  // whose bits are the same number.
  const uint64_t frac = RoundShiftRight(significand, -(scale + 1074));
  return std::bit_cast<double>(sign | frac);
}

// ---- Writer ----

void TStreamWriter::WriteUInt16(uint16_t v) {
  WriteByte(static_cast<uint8_t>(v));
  WriteByte(static_cast<uint8_t>(v >> 8));
}

void TStreamWriter::WriteUInt32(uint32_t v) {
  for (int i = 0; i < 4; ++i)
    WriteByte(static_cast<uint8_t>(v >> (8 * i)));
}

void TStreamWriter::PatchUInt32(size_t offset, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    FBytes.at(offset + i) = static_cast<char>(v >> (8 * i));
}

void TStreamWriter::WriteShortString(std::string_view s) {
  if (s.size() > 255) s = s.substr(0, 255);
  WriteByte(static_cast<uint8_t>(s.size()));
  WriteBytes(s);
}

void TStreamWriter::WriteInteger(int32_t v) {
  if (v >= -128 && v <= 127) {
    WriteValueType(vaInt8);
    WriteByte(static_cast<uint8_t>(v));
  } else if (v >= -32768 && v <= 32767) {
    WriteValueType(vaInt16);
    WriteUInt16(static_cast<uint16_t>(v));
  } else {
    WriteValueType(vaInt32);
    WriteUInt32(static_cast<uint32_t>(v));
  }
}

void TStreamWriter::WriteFloat(double v) {
  WriteValueType(vaExtended);
  const TExtended e = DoubleToExtended(v);
  WriteBytes(std::string_view(reinterpret_cast<const char*>(e.data()), e.size()));
}

void TStreamWriter::WriteIdent(std::string_view name) {
  WriteValueType(vaIdent);
  WriteShortString(name);
}

void TStreamWriter::WriteText(std::string_view ansi) {
  // Every code-page character is one UTF-16 code unit, so the unit count is the byte count.
  const size_t units = ansi.size();
  if (AnsiToUtf8(ansi).size() >= 2 * units) {
    WriteValueType(vaWString);
    WriteUInt32(static_cast<uint32_t>(units));
    for (char c : ansi)
      WriteUInt16(AnsiToWideChar(static_cast<unsigned char>(c)));
    return;
  }
  WriteListText(ansi);
}

void TStreamWriter::WriteListText(std::string_view ansi) {
  // The code page maps back exactly, so its bytes equal the UTF-8 bytes only for pure ASCII.
  const std::string utf8 = AnsiToUtf8(ansi);
  if (utf8 == ansi) {
    WriteAnsiText(ansi);
    return;
  }
  WriteValueType(vaUTF8String);
  WriteUInt32(static_cast<uint32_t>(utf8.size()));
  WriteBytes(utf8);
}

void TStreamWriter::WriteAnsiText(std::string_view ascii) {
  if (ascii.size() <= 255) {
    WriteValueType(vaString);
    WriteByte(static_cast<uint8_t>(ascii.size()));
  } else {
    WriteValueType(vaLString);
    WriteUInt32(static_cast<uint32_t>(ascii.size()));
  }
  WriteBytes(ascii);
}

// ---- Reader ----

void TStreamReader::Need(size_t count) const {
  if (FPos > FBytes.size() || count > FBytes.size() - FPos)
    throw EFormatError("the stream is truncated: " + std::to_string(count) +
                       " more byte(s) needed at offset " + std::to_string(FPos) + " of " +
                       std::to_string(FBytes.size()));
}

uint8_t TStreamReader::ReadByte() {
  Need(1);
  return static_cast<uint8_t>(FBytes[FPos++]);
}

uint8_t TStreamReader::PeekByte() const {
  Need(1);
  return static_cast<uint8_t>(FBytes[FPos]);
}

std::string_view TStreamReader::ReadBytes(size_t count) {
  Need(count);
  const std::string_view out = FBytes.substr(FPos, count);
  FPos += count;
  return out;
}

uint16_t TStreamReader::ReadUInt16() {
  const std::string_view b = ReadBytes(2);
  return static_cast<uint16_t>(static_cast<uint8_t>(b[0]) | (static_cast<uint8_t>(b[1]) << 8));
}

uint32_t TStreamReader::ReadUInt32() {
  const std::string_view b = ReadBytes(4);
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i)
    v |= uint32_t{static_cast<uint8_t>(b[i])} << (8 * i);
  return v;
}

std::string TStreamReader::ReadShortString() {
  const uint8_t length = ReadByte();
  return std::string(ReadBytes(length));
}

int32_t TStreamReader::ReadIntegerAfter(uint8_t tag) {
  switch (tag) {
    case vaInt8:
      return static_cast<int8_t>(ReadByte());
    case vaInt16:
      return static_cast<int16_t>(ReadUInt16());
    case vaInt32:
      return static_cast<int32_t>(ReadUInt32());
    default:
      throw EFormatError("expected an integer, found " + ValueTypeName(tag));
  }
}

double TStreamReader::ReadFloatAfter() {
  const std::string_view b = ReadBytes(10);
  TExtended e;
  for (size_t i = 0; i < e.size(); ++i)
    e[i] = static_cast<uint8_t>(b[i]);
  return ExtendedToDouble(e);
}

std::string TStreamReader::ReadTextAfter(uint8_t tag) {
  std::string out;
  switch (tag) {
    case vaString:
      return ReadShortString();
    case vaLString:
      return std::string(ReadBytes(ReadUInt32()));
    case vaWString: {
      const uint64_t units = ReadUInt32();
      const std::string_view b = ReadBytes(static_cast<size_t>(units * 2));
      std::u16string wide(static_cast<size_t>(units), u'\0');
      for (size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<char16_t>(static_cast<uint8_t>(b[2 * i]) |
                                        (static_cast<uint8_t>(b[2 * i + 1]) << 8));
      // Characters the code page cannot hold become '?', as for any Unicode text brought in.
      Utf16ToAnsi(wide, out);
      return out;
    }
    case vaUTF8String:
      Utf8ToAnsi(ReadBytes(ReadUInt32()), out);
      return out;
    default:
      throw EFormatError("expected a text, found " + ValueTypeName(tag));
  }
}

}  // namespace kelvast
