// SPDX-License-Identifier: MIT
// Character sets and the random-string helper that the string, zip and name generators share.

#include "core/generators/charset.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/platform/random.h"

namespace kelvast {
namespace {

TEST(CharSetTest, MembershipUnionAndTextInCodeOrder) {
  TCharSet set;
  EXPECT_TRUE(set.Empty());
  EXPECT_EQ(set.ToText(), "");
  set.Include(0);
  EXPECT_FALSE(set.Empty());  // code 0 is a member like any other
  set.Include(255);
  set.Include('b');
  set.Include('a');
  EXPECT_TRUE(set.Contains(0));
  EXPECT_TRUE(set.Contains(255));
  EXPECT_FALSE(set.Contains('c'));
  EXPECT_EQ(set.ToText(), std::string("\0ab\xFF", 4));
  EXPECT_EQ(TCharSet::FromText(set.ToText()), set);

  const TCharSet digits = TCharSet::Range('0', '9');
  const TCharSet sum = digits + TCharSet::FromText("x5");
  EXPECT_EQ(sum.ToText(), "0123456789x");
  EXPECT_NE(sum, digits);
  EXPECT_EQ(TCharSet::Range(0, 255).ToText().size(), 256u);
  // Each code sits in its own bit: bit n mod 8 of byte n div 8.
  EXPECT_EQ(TCharSet::FromText("\x09").Bits()[1], 0x02);

  set.Exclude(0);
  EXPECT_FALSE(set.Contains(0));
  set.Clear();
  EXPECT_TRUE(set.Empty());
}

TEST(CharSetTest, FallbackAlphabetIsSpaceLettersAndUnderscore) {
  EXPECT_EQ(FallbackCharSet().ToText(), " ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
}

TEST(RandomCharStringTest, DrawsOnlyMembersAndTrimsBlanks) {
  struct Case {
    const char* name;
    TCharSet set;
    uint16_t count;
    TCharSet allowed;  // what the result may contain
    size_t minLength, maxLength;
  };
  const TCharSet letters = TCharSet::Range('a', 'z');
  const Case cases[] = {
      {"letters", letters, 12, letters, 12, 12},
      {"nothing asked", letters, 0, letters, 0, 0},
      {"code 0 is never drawn", TCharSet::FromText(std::string("\0x", 2)), 30, TCharSet::FromText("x"), 30, 30},
      {"code 0 only", TCharSet::FromText(std::string(1, '\0')), 30, TCharSet(), 0, 0},
      {"blanks only", TCharSet::FromText(" \t\x01"), 30, TCharSet(), 0, 0},
      {"space inside", TCharSet::FromText(" a"), 30, TCharSet::FromText(" a"), 0, 30},
      {"empty set", TCharSet(), 30, FallbackCharSet(), 0, 30},
      {"high bytes", TCharSet::Range(0xC0, 0xFF), 5, TCharSet::Range(0xC0, 0xFF), 5, 5},
  };
  RandSeed(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int i = 0; i < 200; ++i) {
      const std::string s = RandomCharString(c.set, c.count);
      ASSERT_GE(s.size(), c.minLength);
      ASSERT_LE(s.size(), c.maxLength);
      for (char ch : s) ASSERT_TRUE(c.allowed.Contains(static_cast<unsigned char>(ch))) << int(ch);
      if (!s.empty()) {
        ASSERT_GT(static_cast<unsigned char>(s.front()), 32);
        ASSERT_GT(static_cast<unsigned char>(s.back()), 32);
      }
    }
  }
}

TEST(RandomCharStringTest, EveryMemberEquallyLikely) {
  RandSeed(99);
  const std::string s = RandomCharString(TCharSet::FromText("xyz!"), 40000);
  ASSERT_EQ(s.size(), 40000u);
  std::map<char, int> counts;
  for (char c : s) ++counts[c];
  ASSERT_EQ(counts.size(), 4u);
  for (const auto& [c, n] : counts) {
    SCOPED_TRACE(c);
    EXPECT_GT(n, 9600);
    EXPECT_LT(n, 10400);
  }

  // The fallback alphabet: all 54 characters come out (the space only inside the text).
  std::map<char, int> fallback;
  for (char c : RandomCharString(TCharSet(), 20000)) ++fallback[c];
  EXPECT_EQ(fallback.size(), 54u);
}

TEST(RandomCharStringTest, AppendTrimsOnlyWhatItAppends) {
  RandSeed(4);
  TTextBuffer out;
  out += " kept ";
  AppendRandomCharString(out, TCharSet::FromText(" "), 10);
  EXPECT_EQ(out.View(), " kept ");
  AppendRandomCharString(out, TCharSet::FromText("q"), 3);
  EXPECT_EQ(out.View(), " kept qqq");
}

}  // namespace
}  // namespace kelvast
