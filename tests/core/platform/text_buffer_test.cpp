// SPDX-License-Identifier: MIT
#include "core/platform/text_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "core/platform/text_utils.h"

namespace kelvast {
namespace {

// Every copy length around the inline paths' boundaries, appended after every small offset, so
// that an overlapping-copy slip or a missed growth shows as a wrong byte.
TEST(TextBuffer, AppendsEveryLengthAtEveryOffsetAndGrows) {
  std::string source;
  for (int i = 0; i < 80; ++i) source += static_cast<char>('!' + i);
  for (size_t offset = 0; offset < 9; ++offset) {
    for (size_t n = 0; n <= 40; ++n) {
      TTextBuffer buffer;
      std::string expected(offset, '.');
      buffer += std::string_view(expected);
      buffer.append(source.data() + n, n);
      expected.append(source, n, n);
      buffer += 'x';
      expected += 'x';
      ASSERT_EQ(buffer.View(), expected) << "offset " << offset << ", length " << n;
    }
  }
  TTextBuffer big;
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    big += source;
    expected += source;
  }
  EXPECT_EQ(big.View(), expected);
}

TEST(TextBuffer, FindsAndClearsLikeAString) {
  TTextBuffer buffer;
  buffer += "12,5;3,75";
  EXPECT_EQ(buffer.find(','), 2u);
  EXPECT_EQ(buffer.find(',', 3), 6u);
  EXPECT_EQ(buffer.find(',', 7), std::string_view::npos);
  EXPECT_EQ(buffer.find(',', 99), std::string_view::npos);
  buffer.append(std::string_view("abcdef"), 2, 3);
  EXPECT_EQ(buffer.View(), "12,5;3,75cde");
  buffer.clear();
  EXPECT_TRUE(buffer.empty());
  EXPECT_EQ(buffer.find('1'), std::string_view::npos);
}

// Appending a part of the buffer to itself must survive the growth that moves the buffer.
TEST(TextBuffer, AppendsItsOwnTextWhileGrowingAndEditsLikeAString) {
  TTextBuffer buffer;
  std::string expected;
  buffer += "abc";
  expected += "abc";
  for (int i = 0; i < 12; ++i) {
    buffer.append(buffer.data() + 1, buffer.size() - 1);
    expected += expected.substr(1);
    ASSERT_EQ(buffer.View(), expected);
  }
  buffer.assign("0123456789");
  buffer.erase(2, 3);
  EXPECT_EQ(buffer.View(), "0156789");
  buffer.resize(3);
  buffer.append(2, '-');
  EXPECT_EQ(buffer.View(), "015--");
  buffer.resize(7);
  EXPECT_EQ(buffer.View(), std::string_view("015--\0\0", 7));
  EXPECT_EQ(buffer.back(), '\0');
  EXPECT_EQ(buffer.str(), std::string("015--\0\0", 7));
}

}  // namespace
}  // namespace kelvast

namespace kelvast {
namespace {

// Padded copies read and write whole words past the text: they take only views that a text
// buffer made, and those views stay padded when trimmed.
static_assert(!std::is_constructible_v<TPaddedView, const char*, size_t>);
static_assert(!std::is_convertible_v<std::string_view, TPaddedView>);
static_assert(!std::is_convertible_v<std::string, TPaddedView>);

TEST(TextBuffer, PaddedViewsCopyEveryLengthAndTrimWithinTheirText) {
  TTextBuffer source(8);
  TTextBuffer target(8);
  for (size_t n = 0; n <= 80; ++n) {
    source.clear();
    for (size_t i = 0; i < n; ++i) source += static_cast<char>(i % 3 == 0 ? ' ' : 'a' + i % 26);
    target.clear();
    target += '<';
    target.AppendPadded(source.View());
    target += '>';
    EXPECT_EQ(target.str(), "<" + source.str() + ">") << n;

    const TPaddedView trimmed = source.View().Trimmed();
    const std::string expected(TrimView(source.View()));
    EXPECT_EQ(std::string(trimmed), expected) << n;
    EXPECT_GE(trimmed.data(), source.data());
    EXPECT_LE(trimmed.data() + trimmed.size(), source.data() + source.size());
  }
}

TEST(TextBuffer, PaddedViewsFindACharacterOnlyWithinTheirText) {
  // The character at every position of texts of every length up to three lanes, and the same
  // character just past the end (still in the buffer's storage), which must not count.
  TTextBuffer buffer(64);
  for (size_t n = 0; n <= 48; ++n) {
    buffer.assign(std::string(n, 'x') + '"');
    EXPECT_TRUE(buffer.View().Contains('"')) << n;
    buffer.resize(n);
    EXPECT_FALSE(buffer.View().Contains('"')) << n;
    for (size_t at = 0; at < n; ++at) {
      buffer[at] = '"';
      EXPECT_TRUE(buffer.View().Contains('"')) << n << " at " << at;
      buffer[at] = 'x';
    }
  }
}

}  // namespace
}  // namespace kelvast
