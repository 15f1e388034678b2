// SPDX-License-Identifier: MIT
#include "core/platform/packed_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/platform/random.h"

namespace kelvast {
namespace {

// Texts on both sides of the inline limit, empty ones and ones with zero bytes come back whole,
// whether read or appended after other text.
TEST(PackedTexts, KeepsTextsOfEveryLength) {
  std::vector<std::string> texts{"", std::string("a\0b", 3)};
  for (size_t n = 1; n <= 40; ++n) texts.push_back(std::string(n, static_cast<char>('a' + n % 26)));
  TPackedTexts packed;
  for (const std::string& t : texts) packed.push_back(t);
  ASSERT_EQ(packed.size(), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(packed[i], texts[i]) << i;
    EXPECT_EQ(packed.IsEmpty(i), texts[i].empty());
    TTextBuffer out;
    out += "x=";
    packed.AppendTo(out, i);
    out += ';';
    EXPECT_EQ(out.View(), "x=" + texts[i] + ";") << i;
  }
  packed.resize(2);
  packed.Set(1, std::string(30, 'z'));
  packed.Set(0, "short");
  EXPECT_EQ(packed[0], "short");
  EXPECT_EQ(packed[1], std::string(30, 'z'));
}

TEST(DrawAhead, IndexesAreUniformAndStayInsideTheList) {
  RandSeed(12);
  TPackedTexts list;
  for (const char* t : {"a", "b", "c", "d"}) list.push_back(t);
  TDrawAhead draw;
  int counts[4] = {};
  for (int i = 0; i < 40000; ++i) ++counts[draw.Next(list)];
  for (int c : counts) EXPECT_NEAR(c, 10000, 500);
  // A shorter list: the index drawn ahead for the old one is never used out of range, with or
  // without a reset.
  TPackedTexts one;
  one.push_back("only");
  for (int i = 0; i < 10; ++i) ASSERT_EQ(draw.Next(one), 0u);
  draw.Reset();
  EXPECT_EQ(draw.Next(one), 0u);
}

}  // namespace
}  // namespace kelvast
