#include "core/platform/text_buffer.h"

#include <gtest/gtest.h>

#include <string>

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
