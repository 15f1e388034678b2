// SPDX-License-Identifier: MIT
#include "core/files/model_stream.h"

#include "core/platform/errors.h"
#include "model_fixtures.h"

#include <bit>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace kelvast {
namespace {

using test::Hex;

// Extended bytes from the exponent word and the significand as the x87 layout stores them.
TExtended Ext(uint16_t signExp, uint64_t significand) {
  TExtended e{};
  for (int i = 0; i < 8; ++i)
    e[i] = static_cast<uint8_t>(significand >> (8 * i));
  e[8] = static_cast<uint8_t>(signExp);
  e[9] = static_cast<uint8_t>(signExp >> 8);
  return e;
}

uint64_t Bits(double v) { return std::bit_cast<uint64_t>(v); }

TEST(ExtendedTest, DoublesConvertExactlyBothWays) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    double value;
    uint16_t signExp;
    uint64_t significand;
  };
  const Case cases[] = {
      {0.0, 0x0000, 0},
      {-0.0, 0x8000, 0},
      {1.5, 0x3FFF, 0xC000000000000000},
      {1e300, 0x43E3, 0xBF21E44003ACE000},
      {0.1, 0x3FFB, 0xCCCCCCCCCCCCD000},
      {1.0 / 3, 0x3FFD, 0xAAAAAAAAAAAAA800},
      {-36522, 0xC00E, 0x8EAA000000000000},
      {double(0.1f), 0x3FFB, 0xCCCCCD0000000000},
      {4.9406564584124654e-324, 0x3BCD, 0x8000000000000000},  // smallest subnormal
      {std::numeric_limits<double>::denorm_min() * 3, 0x3BCE, 0xC000000000000000},
      {2.2250738585072009e-308, 0x3C00, 0xFFFFFFFFFFFFF000},  // largest subnormal
      {std::numeric_limits<double>::min(), 0x3C01, 0x8000000000000000},
      {std::numeric_limits<double>::max(), 0x43FE, 0xFFFFFFFFFFFFF800},
      {1.7e308, 0x43FE, 0xF2168983B9DBB000},
      {kInf, 0x7FFF, 0x8000000000000000},
      {-kInf, 0xFFFF, 0x8000000000000000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value);
    const TExtended expected = Ext(c.signExp, c.significand);
    EXPECT_EQ(DoubleToExtended(c.value), expected);
    EXPECT_EQ(Bits(ExtendedToDouble(expected)), Bits(c.value));
  }
}

TEST(ExtendedTest, EveryDoubleSurvivesTheRoundTrip) {
  // Bit patterns spread over every exponent, subnormals and NaN payloads included.
  uint64_t x = 0x9E3779B97F4A7C15u;
  for (int i = 0; i < 200000; ++i) {
    x ^= x << 13, x ^= x >> 7, x ^= x << 17;
    const uint64_t bits =
        (i % 4 == 0) ? (x & ((uint64_t{1} << 52) - 1)) | (x & (uint64_t{1} << 63)) : x;
    const double v = std::bit_cast<double>(bits);
    ASSERT_EQ(Bits(ExtendedToDouble(DoubleToExtended(v))), bits) << std::hex << bits;
  }
}

TEST(ExtendedTest, ExtraPrecisionRoundsToNearestEven) {
  const double one = 1.0;
  const double ulp = std::nextafter(1.0, 2.0) - 1.0;
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double tiny = std::numeric_limits<double>::denorm_min();
  struct Case {
    const char* name;
    uint16_t signExp;
    uint64_t significand;
    double expected;
  };
  const Case cases[] = {
      {"half an ulp above 1, tie to even", 0x3FFF, 0x8000000000000400, one},
      {"just over half an ulp", 0x3FFF, 0x8000000000000401, one + ulp},
      {"tie above an odd last bit goes up", 0x3FFF, 0x8000000000000C00, one + 2 * ulp},
      {"carry into the exponent", 0x3FFF, 0xFFFFFFFFFFFFFC00, 2.0},
      {"negative", 0xBFFF, 0xC000000000000000, -1.5},
      {"largest double plus half an ulp overflows", 0x43FE, 0xFFFFFFFFFFFFFC00, kInf},
      {"beyond the double range", 0x4400, 0x8000000000000000, kInf},
      {"far beyond, negative", 0xFFFE, 0x8000000000000000, -kInf},
      {"pseudo-infinity", 0x7FFF, 0x0000000000000000, kInf},
      {"half the smallest subnormal ties to zero", 0x3BCC, 0x8000000000000000, 0.0},
      {"just over half the smallest subnormal", 0x3BCC, 0x8000000000000001, tiny},
      {"three halves of the smallest subnormal", 0x3BCD, 0xC000000000000000, 2 * tiny},
      {"subnormal rounding up to the smallest normal", 0x3C00, 0xFFFFFFFFFFFFFFFF,
       std::numeric_limits<double>::min()},
      {"far below the double range", 0x0001, 0x8000000000000000, 0.0},
      {"extended denormal", 0x0000, 0x0000000000000001, 0.0},
      {"unnormal read for what its bits say", 0x3FFF, 0x4000000000000000, 0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Bits(ExtendedToDouble(Ext(c.signExp, c.significand))), Bits(c.expected));
  }
  EXPECT_TRUE(std::isnan(ExtendedToDouble(Ext(0x7FFF, 0xC000000000000000))));
  EXPECT_TRUE(std::isnan(ExtendedToDouble(Ext(0xFFFF, 0x8000000000000001))));
}

TEST(StreamWriterTest, IntegersTakeTheirSmallestForm) {
  struct Case {
    int32_t value;
    std::string_view bytes;
  };
  const Case cases[] = {
      {0, {"\x02\x00", 2}},
      {127, "\x02\x7F"},
      {-128, "\x02\x80"},
      {128, {"\x03\x80\x00", 3}},
      {-129, "\x03\x7F\xFF"},
      {32767, "\x03\xFF\x7F"},
      {-32768, {"\x03\x00\x80", 3}},
      {32768, {"\x04\x00\x80\x00\x00", 5}},
      {40000, {"\x04\x40\x9C\x00\x00", 5}},
      {-32769, "\x04\xFF\x7F\xFF\xFF"},
      {-2147483647 - 1, {"\x04\x00\x00\x00\x80", 5}},
      {2147483647, "\x04\xFF\xFF\xFF\x7F"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    TStreamWriter w;
    w.WriteInteger(c.value);
    EXPECT_EQ(Hex(w.Bytes()), Hex(c.bytes));
    TStreamReader r(w.Bytes());
    EXPECT_EQ(r.ReadIntegerAfter(r.ReadByte()), c.value);
    EXPECT_EQ(r.Position(), c.bytes.size());
  }
}

TEST(StreamWriterTest, TextsTakeTheTagTheirEncodingsCallFor) {
  const std::string a255(255, 'a');
  const std::string a256(256, 'a');
  struct Case {
    const char* name;
    std::string ansi;
    std::string property;  // bytes of a text property
    std::string listLine;  // bytes of a string-list line or a character set
  };
  const Case cases[] = {
      {"ASCII", "ab",
       std::string("\x06\x02"
                   "ab"),
       std::string("\x06\x02"
                   "ab")},
      {"255 bytes", a255, "\x06\xFF" + a255, "\x06\xFF" + a255},
      {"256 bytes", a256, std::string("\x0C\x00\x01\x00\x00", 5) + a256,
       std::string("\x0C\x00\x01\x00\x00", 5) + a256},
      {"caf\xE9: UTF-8 is shorter than UTF-16", "caf\xE9",
       std::string("\x14\x05\x00\x00\x00"
                   "caf\xC3\xA9",
                   10),
       std::string("\x14\x05\x00\x00\x00"
                   "caf\xC3\xA9",
                   10)},
      {"\xE9 alone: UTF-8 as long as UTF-16", "\xE9",
       std::string("\x12\x01\x00\x00\x00\xE9\x00", 7),
       std::string("\x14\x02\x00\x00\x00\xC3\xA9", 7)},
      {"euro signs", "\x80\x80\x80",
       std::string("\x12\x03\x00\x00\x00\xAC\x20\xAC\x20\xAC\x20", 11),
       std::string("\x14\x09\x00\x00\x00\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC", 14)},
      {"an empty line", "", std::string("\x12\x00\x00\x00\x00", 5), std::string("\x06\x00", 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TStreamWriter property;
    property.WriteText(c.ansi);
    EXPECT_EQ(Hex(property.Bytes()), Hex(c.property));
    TStreamWriter line;
    line.WriteListText(c.ansi);
    EXPECT_EQ(Hex(line.Bytes()), Hex(c.listLine));
    for (const std::string& bytes : {property.Bytes(), line.Bytes()}) {
      TStreamReader r(bytes);
      EXPECT_EQ(r.ReadTextAfter(r.ReadByte()), c.ansi);
      EXPECT_EQ(r.Position(), bytes.size());
    }
  }
}

TEST(StreamReaderTest, UnicodeOutsideTheCodePageBecomesQuestionMarks) {
  const std::string wide("\x12\x02\x00\x00\x00\x3A\x04\x41\x00", 9);  // Cyrillic ka, "A"
  const std::string utf8(
      "\x14\x04\x00\x00\x00\xE4\xB8\xAD"
      "A",
      9);  // CJK "middle", "A"
  for (const std::string& bytes : {wide, utf8}) {
    TStreamReader r(bytes);
    EXPECT_EQ(r.ReadTextAfter(r.ReadByte()), "?A");
  }
}

TEST(StreamReaderTest, ShortOrMalformedValuesRaiseFormatErrors) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"nothing", ""},
      {"int16 cut", std::string("\x03\x01", 2)},
      {"int32 cut", std::string("\x04\x01\x02\x03", 4)},
      {"extended cut", std::string("\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00", 10)},
      {"short text longer than the rest", std::string("\x06\x05"
                                                      "abc",
                                                      5)},
      {"long text of 4 GB", std::string("\x0C\xFF\xFF\xFF\xFF"
                                        "abc",
                                        8)},
      {"UTF-16 count beyond the rest", std::string("\x12\xFF\xFF\xFF\x7F\x41\x00", 7)},
      {"UTF-16 odd byte count", std::string("\x12\x01\x00\x00\x00\x41", 6)},
      {"UTF-8 length beyond the rest", std::string("\x14\x10\x00\x00\x00"
                                                   "abc",
                                                   8)},
      {"text expected, boolean found", "\x08"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TStreamReader r(c.bytes);
    EXPECT_THROW(
        {
          const uint8_t tag = r.ReadByte();
          if (IsIntegerTag(tag))
            r.ReadIntegerAfter(tag);
          else if (tag == vaExtended)
            r.ReadFloatAfter();
          else
            r.ReadTextAfter(tag);
        },
        EFormatError);
  }
}

}  // namespace
}  // namespace kelvast
