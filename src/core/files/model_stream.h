// SPDX-License-Identifier: MIT
#pragma once
// The tagged values of the component stream that model files hold: integers in their smallest
// form, 80-bit extended floats, texts in four encodings, enumeration names, booleans, and the
// markers of lists and collections. TStreamWriter appends to a byte buffer; TStreamReader reads
// from memory and raises EFormatError when the bytes run out or a value is malformed.
//
//   TStreamWriter w;
//   w.WriteShortString("RecNumber");
//   w.WriteInteger(1000);            // 0x03 0xE8 0x03

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvast {

// The tag that starts every value.
enum TValueType : uint8_t {
  vaNull = 0x00,  // end of a list, an item, a collection, the properties
  vaList = 0x01,  // start of a collection item or a string list
  vaInt8 = 0x02,
  vaInt16 = 0x03,
  vaInt32 = 0x04,
  vaExtended = 0x05,  // 10-byte x87 extended float
  vaString = 0x06,    // 1-byte length, code-page bytes
  vaIdent = 0x07,     // enumeration value name
  vaFalse = 0x08,
  vaTrue = 0x09,
  vaLString = 0x0C,  // 4-byte length, code-page bytes
  vaCollection = 0x0E,
  vaWString = 0x12,     // 4-byte count of UTF-16 code units, little-endian units
  vaUTF8String = 0x14,  // 4-byte length, UTF-8 bytes
};

// What a tag starts, for error messages ("an integer", "a text", "tag 0x1F").
std::string ValueTypeName(uint8_t tag);

// The x87 extended-precision layout: 64-bit significand with explicit integer bit, then sign and
// 15-bit exponent (bias 16383), all little-endian.
using TExtended = std::array<uint8_t, 10>;

// Exact: every double, subnormals, zeros, infinities and NaNs included, has an extended form.
TExtended DoubleToExtended(double v);
// The nearest double (ties to even); too large gives an infinity, too small a zero of the sign.
double ExtendedToDouble(const TExtended& e);

class TStreamWriter {
 public:
  const std::string& Bytes() const { return FBytes; }
  size_t Size() const { return FBytes.size(); }

  // Raw, untagged data.
  void WriteByte(uint8_t b) { FBytes += static_cast<char>(b); }
  void WriteBytes(std::string_view bytes) { FBytes += bytes; }
  void WriteUInt16(uint16_t v);
  void WriteUInt32(uint32_t v);
  void PatchUInt32(size_t offset, uint32_t v);
  // One length byte and the bytes; longer texts are cut at 255 bytes.
  void WriteShortString(std::string_view s);

  // Tagged values.
  void WriteValueType(TValueType t) { WriteByte(t); }
  // In the smallest of the three integer forms that holds the value.
  void WriteInteger(int32_t v);
  void WriteFloat(double v);
  void WriteBoolean(bool v) { WriteValueType(v ? vaTrue : vaFalse); }
  void WriteIdent(std::string_view name);
  // A text property: UTF-16 when its UTF-8 form is at least twice as long as its UTF-16 count,
  // else code-page bytes when it is pure ASCII, else UTF-8.
  void WriteText(std::string_view ansi);
  // A string-list line or a character set: code-page bytes when pure ASCII, else UTF-8.
  void WriteListText(std::string_view ansi);

 private:
  void WriteAnsiText(std::string_view ascii);

  std::string FBytes;
};

class TStreamReader {
 public:
  explicit TStreamReader(std::string_view bytes, size_t position = 0)
      : FBytes(bytes), FPos(position) {}

  size_t Position() const { return FPos; }

  uint8_t ReadByte();
  uint8_t PeekByte() const;
  std::string_view ReadBytes(size_t count);
  uint16_t ReadUInt16();
  uint32_t ReadUInt32();
  std::string ReadShortString();

  // Payloads of values whose tag has been read.
  int32_t ReadIntegerAfter(uint8_t tag);   // vaInt8, vaInt16 or vaInt32, sign-extended
  double ReadFloatAfter();                 // vaExtended
  std::string ReadTextAfter(uint8_t tag);  // any of the four text tags, in the code page

 private:
  void Need(size_t count) const;

  std::string_view FBytes;
  size_t FPos;
};

constexpr bool IsIntegerTag(uint8_t tag) {
  return tag == vaInt8 || tag == vaInt16 || tag == vaInt32;
}
constexpr bool IsTextTag(uint8_t tag) {
  return tag == vaString || tag == vaLString || tag == vaWString || tag == vaUTF8String;
}

}  // namespace kelvast
