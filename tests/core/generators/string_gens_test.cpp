// SPDX-License-Identifier: MIT
// Random strings, masks, zip codes and constants, through the value pipeline.

#include "core/generators/string_gens.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/platform/random.h"

namespace kelvast {
namespace {

std::vector<std::string> Draw(TColParams& p, int n) {
  std::vector<std::string> values;
  for (int i = 0; i < n; ++i) {
    p.ClearLastValue();
    values.emplace_back(p.GetValue());
  }
  return values;
}

bool AllIn(const std::string& s, std::string_view allowed) {
  return std::all_of(s.begin(), s.end(), [&](char c) { return allowed.find(c) != std::string_view::npos; });
}

constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kLower = "abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// ---- String ----

TEST(StringGenTest, NewGeneratorYieldsOneLetter) {
  RandSeed(1);
  TCPString p;
  std::set<char> seen;
  for (const std::string& v : Draw(p, 3000)) {
    ASSERT_EQ(v.size(), 1u);
    ASSERT_TRUE(AllIn(v, kLetters)) << v;
    seen.insert(v[0]);
  }
  EXPECT_EQ(seen.size(), 52u);
}

TEST(StringGenTest, LengthIsUniformBetweenTheBounds) {
  struct Case {
    int32_t minSize, dataLength;
    size_t low, high;
  };
  const Case cases[] = {
      {3, 6, 3, 6},
      {1, 1, 1, 1},
      {0, 2, 0, 2},
      {0, 0, 0, 0},
      // A minimum above the length, or negative bounds: between the two magnitudes.
      {5, 2, 2, 5},
      {-3, 1, 1, 3},
      {2, -4, 2, 4},
      {-2, -2, 2, 2},
  };
  RandSeed(8);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "MinSize " << c.minSize << ", DataLength " << c.dataLength);
    TCPString p;
    p.SetCharsetText("x");
    p.SetMinSize(c.minSize);
    p.SetDataLength(c.dataLength);
    std::map<size_t, int> lengths;
    const int n = 4000;
    for (const std::string& v : Draw(p, n)) {
      ASSERT_TRUE(AllIn(v, "x"));
      ++lengths[v.size()];
    }
    const int expected = n / static_cast<int>(c.high - c.low + 1);
    ASSERT_EQ(lengths.size(), c.high - c.low + 1);
    for (const auto& [length, count] : lengths) {
      SCOPED_TRACE(length);
      EXPECT_GE(length, c.low);
      EXPECT_LE(length, c.high);
      EXPECT_GT(count, expected * 85 / 100);
      EXPECT_LT(count, expected * 115 / 100);
    }
  }
}

TEST(StringGenTest, SpacesShortenTheValueAndAllSpacesGiveNull) {
  RandSeed(2);
  TCPString p;
  p.SetCharsetText(" a");
  p.SetMinSize(5);
  p.SetDataLength(5);
  int shorter = 0, empty = 0;
  for (const std::string& v : Draw(p, 2000)) {
    shorter += v.size() < 5 ? 1 : 0;
    empty += v.empty() ? 1 : 0;
    if (!v.empty()) {
      ASSERT_TRUE(v.front() == 'a' && v.back() == 'a') << v;
    }
  }
  EXPECT_GT(shorter, 1000);  // 1 - 1/4 of the values have a blank at an end
  EXPECT_GT(empty, 30);      // 1 in 32
  EXPECT_LT(empty, 100);
}

TEST(StringGenTest, EmptySetDrawsFromTheFallbackAlphabet) {
  RandSeed(3);
  TCPString p;
  p.SetCharset(TCharSet());
  p.SetDataLength(20);
  p.SetMinSize(20);
  std::set<char> seen;
  for (const std::string& v : Draw(p, 300)) {
    ASSERT_TRUE(AllIn(v, FallbackCharSet().ToText())) << v;
    seen.insert(v.begin(), v.end());
  }
  EXPECT_EQ(seen.size(), 54u);
}

TEST(StringGenTest, StoredCharsetReplacesTheSetAndKeepsCodeZeroUndrawn) {
  TCPString p;
  const TPropInfo* prop = p.Props().Find("EXCharset");
  ASSERT_NE(prop, nullptr);
  EXPECT_EQ(prop->GetText(p), std::string(kUpper) + std::string(kLower));
  prop->SetText(p, std::string("\0zx", 3));
  EXPECT_EQ(prop->GetText(p), std::string("\0xz", 3));  // emptied first, then in code order
  p.SetMinSize(50);
  p.SetDataLength(50);
  RandSeed(5);
  for (const std::string& v : Draw(p, 100)) {
    ASSERT_EQ(v.size(), 50u);
    ASSERT_TRUE(AllIn(v, "xz"));
  }
}

TEST(StringGenTest, LengthIsTakenModulo65536) {
  struct Case {
    int32_t length;
    size_t drawn;
  };
  const Case cases[] = {{70000, 4464}, {65536, 0}, {65535, 65535}};
  RandSeed(6);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    TCPString str;
    str.SetCharsetText("s");
    str.SetDataLength(c.length);
    str.SetMinSize(c.length);
    EXPECT_EQ(str.GetValue().size(), c.drawn);
    TCPZip zip;
    zip.SetDataLength(c.length);
    EXPECT_EQ(zip.GetValue().size(), c.drawn);
  }
}

// ---- Mask ----

TEST(MaskGenTest, PatternLettersAreReplacedAndEverythingElseCopied) {
  struct Case {
    std::string mask;
    std::vector<std::string_view> classes;  // per position: the allowed characters
  };
  const std::string_view kPunct = "!\"#$%&'()*+,-./";
  const std::string lowerDigits = std::string(kLower) + std::string(kDigits);
  const std::string upperDigits = std::string(kUpper) + std::string(kDigits);
  const Case cases[] = {
      {"00-aA?", {kDigits, kDigits, "-", kLower, kUpper, kPunct}},
      {"zZ", {lowerDigits, upperDigits}},
      {"b9", {"b", "9"}},
      {" 0 ", {" ", kDigits, " "}},  // not trimmed
      {"\xE9" "B1x", {"\xE9", "B", "1", "x"}},
      {"", {}},
  };
  RandSeed(10);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.mask));
    TCPFormatted p;
    p.SetMask(c.mask);
    for (const std::string& v : Draw(p, 300)) {
      ASSERT_EQ(v.size(), c.classes.size()) << v;
      for (size_t i = 0; i < v.size(); ++i)
        ASSERT_NE(c.classes[i].find(v[i]), std::string_view::npos) << v << " at " << i;
    }
  }
}

TEST(MaskGenTest, EveryCharacterOfAClassComesOut) {
  RandSeed(12);
  TCPFormatted p;
  p.SetMask("?aZ");
  std::set<char> punct, lower, upperDigit;
  for (const std::string& v : Draw(p, 3000)) {
    punct.insert(v[0]);
    lower.insert(v[1]);
    upperDigit.insert(v[2]);
  }
  EXPECT_EQ(punct.size(), 15u);
  EXPECT_EQ(lower.size(), 26u);
  EXPECT_EQ(upperDigit.size(), 36u);
}

// ---- Zip code ----

TEST(ZipGenTest, DigitsLettersOrFallback) {
  struct Case {
    bool numbers, letters;
    int32_t length;
    std::string allowed;
    bool fixedLength;
  };
  const Case cases[] = {
      {true, false, 5, std::string(kDigits), true},
      {false, true, 5, std::string(kUpper), true},
      {true, true, 8, std::string(kDigits) + std::string(kUpper), true},
      {false, false, 6, FallbackCharSet().ToText(), false},  // trimmed: can be shorter
      {true, false, 0, "", true},
  };
  RandSeed(14);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "Numbers " << c.numbers << ", Letters " << c.letters);
    TCPZip p;
    p.SetNumbers(c.numbers);
    p.SetLetters(c.letters);
    p.SetDataLength(c.length);
    std::set<char> seen;
    for (const std::string& v : Draw(p, 500)) {
      if (c.fixedLength) {
        ASSERT_EQ(v.size(), static_cast<size_t>(c.length)) << v;
      }
      ASSERT_TRUE(AllIn(v, c.allowed)) << v;
      seen.insert(v.begin(), v.end());
    }
    if (c.length > 0) {
      EXPECT_EQ(seen.size(), c.allowed.size());
    }
  }
  TCPZip defaults;
  const std::string v(defaults.GetValue());
  EXPECT_EQ(v.size(), 2u);
  EXPECT_TRUE(AllIn(v, kDigits));
}

// ---- Const ----

TEST(ConstGenTest, ValueAsItStands) {
  for (const char* value : {"  padded\t", "", "\xE9t\xE9"}) {
    SCOPED_TRACE(testing::PrintToString(value));
    TCPConst p;
    p.SetConstValue(value);
    EXPECT_EQ(p.GetValue(), value);
  }
}

// ---- Copying ----

TEST(StringGensAssignTest, EachClassCopiesItsOwnSettings) {
  TCPString s1;
  s1.SetCharsetText("ab");
  s1.SetMinSize(4);
  s1.SetDataLength(9);
  TCPString s2;
  s2.Assign(s1);
  EXPECT_EQ(s2.CharsetText(), "ab");
  EXPECT_EQ(s2.MinSize(), 4);
  EXPECT_EQ(s2.DataLength(), 9);

  TCPFormatted m1, m2;
  m1.SetMask("AA-00");
  m1.SetExportType(etNum);
  m2.Assign(m1);
  EXPECT_EQ(m2.Mask(), "AA-00");
  EXPECT_EQ(m2.ExportType(), etString);  // presentation is not copied

  TCPZip z1, z2;
  z1.SetLetters(true);
  z1.SetNumbers(false);
  z1.SetDataLength(7);
  z2.Assign(z1);
  EXPECT_TRUE(z2.Letters());
  EXPECT_FALSE(z2.Numbers());
  EXPECT_EQ(z2.DataLength(), 7);

  TCPConst c1, c2;
  c1.SetConstValue("k");
  c2.Assign(c1);
  EXPECT_EQ(c2.ConstValue(), "k");

  // From another class only the shared settings come across.
  TCPString s3;
  s3.Assign(z1);
  EXPECT_EQ(s3.DataLength(), 7);
  EXPECT_EQ(s3.MinSize(), 1);
  EXPECT_EQ(s3.CharsetText(), std::string(kUpper) + std::string(kLower));
}

}  // namespace
}  // namespace kelvast
