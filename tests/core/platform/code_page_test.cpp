// SPDX-License-Identifier: MIT
#include "core/platform/code_page.h"

#include <gtest/gtest.h>

namespace kelvast {
namespace {

std::string AllBytes() {
  std::string s;
  for (int b = 0; b < 256; ++b)
    s += static_cast<char>(b);
  return s;
}

TEST(CodePageTest, EveryByteSurvivesUtf8AndUtf16) {
  const std::string bytes = AllBytes();
  std::string back;
  EXPECT_TRUE(Utf8ToAnsi(AnsiToUtf8(bytes), back));
  EXPECT_EQ(back, bytes);
  EXPECT_TRUE(Utf16ToAnsi(AnsiToUtf16(bytes), back));
  EXPECT_EQ(back, bytes);
}

TEST(CodePageTest, HighBytesMapToTheirUnicodeCharacters) {
  struct Case {
    unsigned char byte;
    char16_t wide;
    const char* utf8;
  };
  const Case cases[] = {
      {0x80, u'\u20AC', "\u20AC"},    // euro sign
      {0x8A, u'\u0160', "\u0160"},    // S with caron
      {0x99, u'\u2122', "\u2122"},    // trade mark
      {0x9F, u'\u0178', "\u0178"},    // Y with diaeresis
      {0x81, u'\u0081', "\xC2\x81"},  // undefined in the code page: kept as C1 control
      {0xA0, u'\u00A0', "\xC2\xA0"},
      {0xE9, u'\u00E9', "\u00E9"},  // e acute
      {0x41, u'A', "A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.byte));
    EXPECT_EQ(AnsiToWideChar(c.byte), c.wide);
    const std::string ansi(1, static_cast<char>(c.byte));
    EXPECT_EQ(AnsiToUtf8(ansi), c.utf8);
    std::string back;
    EXPECT_TRUE(Utf8ToAnsi(c.utf8, back));
    EXPECT_EQ(back, ansi);
    char b = 0;
    EXPECT_TRUE(WideCharToAnsi(c.wide, b));
    EXPECT_EQ(static_cast<unsigned char>(b), c.byte);
  }
}

TEST(CodePageTest, Utf8ThatTheCodePageCannotHoldBecomesQuestionMarks) {
  struct Case {
    const char* name;
    const char* utf8;
    const char* expected;
    bool exact;
  };
  const Case cases[] = {
      {"plain text", "a\u20ACb",
       "a\x80"
       "b",
       true},
      {"empty", "", "", true},
      {"A with macron", "x\u0100y", "x?y", false},
      {"CJK", "\u4E2D", "?", false},
      {"four-byte emoji", "\U0001F600!", "?!", false},
      {"lone continuation byte", "a\x80z", "a?z", false},
      {"byte never used in UTF-8", "\xFF", "?", false},
      {"truncated at the end", "a\xE2\x82", "a?", false},
      {"truncated before ASCII",
       "\xE2\x82"
       "A",
       "?A", false},
      {"overlong slash", "\xC0\xAF", "?", false},
      {"overlong NUL", "\xC0\x80", "?", false},
      {"overlong three-byte", "\xE0\x80\xAF", "?", false},
      {"UTF-16 surrogate", "\xED\xA0\x80", "?", false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", "?", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out = "stale";
    EXPECT_EQ(Utf8ToAnsi(c.utf8, out), c.exact);
    EXPECT_EQ(out, c.expected);
  }
}

TEST(CodePageTest, Utf16ThatTheCodePageCannotHoldBecomesQuestionMarks) {
  struct Case {
    const char* name;
    std::u16string utf16;
    const char* expected;
    bool exact;
  };
  const Case cases[] = {
      {"euro", u"\u20AC5",
       "\x80"
       "5",
       true},
      {"surrogate pair is one character", u"a\U0001F600b", "a?b", false},
      {"lone high surrogate", std::u16string(1, char16_t(0xD800)) + u"x", "?x", false},
      {"lone low surrogate", std::u16string(1, char16_t(0xDC00)), "?", false},
      {"Cyrillic", u"\u0416", "?", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out;
    EXPECT_EQ(Utf16ToAnsi(c.utf16, out), c.exact);
    EXPECT_EQ(out, c.expected);
  }
}

// Every letter of the code page in small and capital form, in the same order.
const char* const kSmall =
    "abcdefghijklmnopqrstuvwxyz"
    "\u00E0\u00E1\u00E2\u00E3\u00E4\u00E5\u00E6\u00E7\u00E8\u00E9\u00EA"
    "\u00EB\u00EC\u00ED\u00EE\u00EF\u00F0\u00F1\u00F2\u00F3\u00F4\u00F5"
    "\u00F6\u00F8\u00F9\u00FA\u00FB\u00FC\u00FD\u00FE"
    "\u0161\u0153\u017E\u00FF";
const char* const kCapital =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    "\u00C0\u00C1\u00C2\u00C3\u00C4\u00C5\u00C6\u00C7\u00C8\u00C9\u00CA"
    "\u00CB\u00CC\u00CD\u00CE\u00CF\u00D0\u00D1\u00D2\u00D3\u00D4\u00D5"
    "\u00D6\u00D8\u00D9\u00DA\u00DB\u00DC\u00DD\u00DE"
    "\u0160\u0152\u017D\u0178";

std::string Ansi(const char* utf8) {
  std::string out;
  EXPECT_TRUE(Utf8ToAnsi(utf8, out)) << utf8;
  return out;
}

TEST(CodePageTest, CaseMappingCoversEveryLetter) {
  const std::string small = Ansi(kSmall);
  const std::string capital = Ansi(kCapital);
  ASSERT_EQ(small.size(), capital.size());
  EXPECT_EQ(AnsiUpperCase(small), capital);
  EXPECT_EQ(AnsiLowerCase(capital), small);
  EXPECT_EQ(AnsiUpperCase(capital), capital);
  EXPECT_EQ(AnsiLowerCase(small), small);

  // Every other byte, sharp s, micro sign and the multiplication and division signs included,
  // has no case partner.
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    if (small.find(c) != std::string::npos || capital.find(c) != std::string::npos) continue;
    SCOPED_TRACE(b);
    EXPECT_EQ(AnsiUpperChar(c), c);
    EXPECT_EQ(AnsiLowerChar(c), c);
  }
  for (const char* unchanged : {"\u00DF", "\u00B5", "\u00D7", "\u00F7"}) {
    const std::string c = Ansi(unchanged);
    EXPECT_EQ(AnsiUpperCase(c), c);
    EXPECT_EQ(AnsiLowerCase(c), c);
  }
}

// Whole texts are mapped eight bytes at a time while they are ASCII: every byte value, at every
// position of such a block and of the tail, must map as the single-character functions say.
TEST(CodePageTest, TextCaseMappingAgreesWithTheCharacterMapping) {
  std::string text;
  for (int b = 0; b < 256; ++b) text += static_cast<char>(b);
  for (int shift = 0; shift < 9; ++shift) {
    const std::string rotated = text.substr(static_cast<size_t>(shift)) + text.substr(0, static_cast<size_t>(shift));
    std::string lower, upper;
    for (char c : rotated) {
      lower += AnsiLowerChar(c);
      upper += AnsiUpperChar(c);
    }
    EXPECT_EQ(AnsiLowerCase(rotated), lower) << shift;
    EXPECT_EQ(AnsiUpperCase(rotated), upper) << shift;
  }
  EXPECT_EQ(AnsiLowerCase("Jean.DUPONT@Example.COM"), "jean.dupont@example.com");
  EXPECT_EQ(AnsiUpperCase("Mixed-case [text] @`{~ of 31 chars"), "MIXED-CASE [TEXT] @`{~ OF 31 CHARS");
}

// The buffer forms map the last partial word whole when the buffer has room after the text: the
// room's bytes (here high bytes and letters left by a longer text) must neither change the
// result nor send the text to the byte-by-byte path wrongly.
TEST(CodePageTest, BufferCaseMappingIgnoresTheRoomAfterTheText) {
  const std::string pieces[] = {"a", "Z", "\xC9", "@", "[", "`", "{", "0", "\xFF", "m", "Q"};
  for (size_t length = 0; length <= 17; ++length) {
    for (size_t first = 0; first < std::size(pieces); ++first) {
      std::string text;
      for (size_t i = 0; i < length; ++i) text += pieces[(first + i * 7) % std::size(pieces)];
      for (const std::string_view leftover :
           {"\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9", "ABCDEFGHIJabcdefghij"}) {
        TTextBuffer lower, upper;
        for (TTextBuffer* b : {&lower, &upper}) {
          *b += leftover;
          *b += leftover;
          b->assign(text);
        }
        AnsiLowerInPlace(lower);
        AnsiUpperInPlace(upper);
        ASSERT_EQ(lower.View(), AnsiLowerCase(text)) << length << " " << first;
        ASSERT_EQ(upper.View(), AnsiUpperCase(text)) << length << " " << first;
      }
    }
  }
}

TEST(CodePageTest, SameTextAnsiIgnoresCaseOfAccentedLetters) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"\u00E9t\u00E9", "\u00C9T\u00C9", true},
      {"\u0161\u0153\u017E\u00FF", "\u0160\u0152\u017D\u0178", true},
      {"Stra\u00DFe", "STRASSE", false},
      {"\u00E9", "e", false},
      {"abc", "ABCD", false},
      {"", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " / " << c.b);
    EXPECT_EQ(SameTextAnsi(Ansi(c.a), Ansi(c.b)), c.same);
  }
}

}  // namespace
}  // namespace kelvast
