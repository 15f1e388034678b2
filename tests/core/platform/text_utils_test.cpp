// SPDX-License-Identifier: MIT
#include "core/platform/text_utils.h"

#include <gtest/gtest.h>

namespace kelvast {
namespace {

TEST(TextUtilsTest, TrimRemovesEveryCodeUpTo32) {
  std::string controls;
  for (int c = 0; c <= 32; ++c)
    controls += static_cast<char>(c);
  EXPECT_EQ(Trim(controls + "a b" + controls), "a b");
  EXPECT_EQ(Trim(controls), "");
  EXPECT_TRUE(IsBlank(controls));

  struct Case {
    std::string text;
    std::string trimmed;
    bool blank;
  };
  const Case cases[] = {
      {"", "", true},
      {"!x!", "!x!", false},  // code 33 stays
      {"\x7F"
       "a\x7F",
       "\x7F"
       "a\x7F",
       false},  // DEL stays
      {"\xA0"
       "a\xA0",
       "\xA0"
       "a\xA0",
       false},  // no-break space is a high byte, not a control
      {"\t a\tb \r\n", "a\tb", false},
      {std::string("\0x\0", 3), "x", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(Trim(c.text), c.trimmed);
    EXPECT_EQ(TrimView(c.text), c.trimmed);
    EXPECT_EQ(IsBlank(c.text), c.blank);
  }
}

TEST(TextUtilsTest, SplitLinesAtCrLfAndCrLf) {
  using Lines = std::vector<std::string>;
  struct Case {
    std::string text;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r", {"a"}},
      {"a\nb", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\r\rb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR is two breaks
      {" x \t\n\xE9", {" x \t", "\xE9"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(SplitLines(c.text), c.lines);
  }
}

TEST(TextUtilsTest, SameTextAsciiFoldsOnlyAsciiLetters) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"Hello", "hELLO", true}, {"ID_2", "id_2", true},  {"", "", true},
      {"a", "ab", false},       {"\xE9", "\xC9", false},  // e acute and E acute
      {"[", "{", false},                                  // differ by 32 but are not letters
      {"@", "`", false},        {"^", "~", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " / " << c.b);
    EXPECT_EQ(SameTextAscii(c.a, c.b), c.same);
  }
}

}  // namespace
}  // namespace kelvast
