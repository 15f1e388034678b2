// SPDX-License-Identifier: MIT
#include "core/generators/dictionary_gens.h"

#include "core/generators/charset.h"
#include "core/generators/word_lists.h"
#include "core/platform/random.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kelvast {
namespace {

using Lines = std::vector<std::string>;
using Values = std::set<std::string>;

const std::filesystem::path kSmallDict = std::filesystem::path(KELVAST_TEST_DATA) / "dict-small";

// A fresh value, as the first read of a new record gets it.
std::string Draw(TColParams& gen) {
  gen.ClearLastValue();
  return std::string(gen.GetValue());
}

std::map<std::string, int> Tally(TColParams& gen, int draws) {
  std::map<std::string, int> counts;
  for (int i = 0; i < draws; ++i)
    ++counts[Draw(gen)];
  return counts;
}

Values Keys(const std::map<std::string, int>& counts) {
  Values keys;
  for (const auto& [value, count] : counts)
    keys.insert(value);
  return keys;
}

// The small Dict fixture is loaded for every test, the random source pinned.
class DictionaryGensTest : public testing::Test {
 protected:
  void SetUp() override {
    LoadWordLists(kSmallDict);
    RandSeed(20240611);
  }
  void TearDown() override { ClearWordLists(); }
};

TEST_F(DictionaryGensTest, DictionaryWordKeepsToDataLength) {
  struct Case {
    std::string name;
    Lines words;
    bool french;
    int32_t length;
    Values values;
  };
  const Case cases[] = {
      {"0 takes every entry, trimmed, case as written",
       {" Kiwi ", "pumpkin"},
       false,
       0,
       {"Kiwi", "pumpkin"}},
      {"4 does not limit", {"kiwi", "pumpkin"}, false, 4, {"kiwi", "pumpkin"}},
      {"6 rejects the 7-letter word", {"kiwi", "pumpkin"}, false, 6, {"kiwi"}},
      {"7 takes both", {"kiwi", "pumpkin"}, false, 7, {"kiwi", "pumpkin"}},
      {"the trimmed length counts", {"  kiwi  ", "pumpkin"}, false, 5, {"kiwi"}},
      {"a blank entry is the marker, 8 long: not within 7",
       {"  ", "pumpkin"},
       false,
       7,
       {"pumpkin"}},
      {"a blank entry is the marker, 8 long: within 8",
       {"  ", "pumpkin"},
       false,
       8,
       {"<nodata>", "pumpkin"}},
      {"none fits 5: the marker cut to 5", {"pumpkin"}, false, 5, {"<noda"}},
      {"none fits 6: the marker cut to 6", {"pumpkin", "raspberry"}, false, 6, {"<nodat"}},
      {"empty list, no limit", {}, false, 0, {"<nodata>"}},
      {"empty list, 5", {}, false, 5, {"<noda"}},
      {"empty list, 10", {}, false, 10, {"<nodata>"}},
      {"French draws the French list", {"mer", "ch\xE2teau"}, true, 0, {"mer", "ch\xE2teau"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The other list holds a word that must never appear.
    SetWordList(c.french ? TWordList::FrenchWords : TWordList::EnglishWords, c.words);
    SetWordList(c.french ? TWordList::EnglishWords : TWordList::FrenchWords, {"WRONG"});
    TCPDictWord word;
    word.SetFrench(c.french);
    word.SetDataLength(c.length);
    EXPECT_EQ(Keys(Tally(word, 200)), c.values);
  }
}

TEST_F(DictionaryGensTest, DictionaryWordDrawsTheFittingEntriesUniformly) {
  SetWordList(TWordList::EnglishWords, {"ab", "far-too-long", "cd", "x", "another-long-one"});
  TCPDictWord word;
  word.SetDataLength(5);
  const auto counts = Tally(word, 6000);
  ASSERT_EQ(Keys(counts), (Values{"ab", "cd", "x"}));
  for (const auto& [value, count] : counts) {
    SCOPED_TRACE(value);
    EXPECT_NEAR(count / 6000.0, 1 / 3.0, 0.03);
  }
}

TEST_F(DictionaryGensTest, DictionaryWordSeesListChangesBetweenDraws) {
  // The fitting entries are worked out once per list and length; a new list must not reuse them.
  TCPDictWord word;
  word.SetDataLength(6);
  SetWordList(TWordList::EnglishWords, {"kiwi", "pumpkin"});
  EXPECT_EQ(Keys(Tally(word, 50)), Values{"kiwi"});
  SetWordList(TWordList::EnglishWords, {"pumpkin", "fig"});
  EXPECT_EQ(Keys(Tally(word, 50)), Values{"fig"});
  LoadWordLists(kSmallDict);
  EXPECT_EQ(Keys(Tally(word, 100)), (Values{"apple", "Kiwi"}));
  word.SetDataLength(12);
  EXPECT_EQ(Keys(Tally(word, 100)), (Values{"apple", "Kiwi", "banana-split"}));
}

TEST_F(DictionaryGensTest, LoremMemoIsAPrefixOfTheJoinedTextEndingWithAPoint) {
  // The joined text: "Lorem ipsum dolor sit amet\r\nconsectetur adipiscing\r\n".
  struct Case {
    int32_t length;
    std::string value;
  };
  const Case cases[] = {
      {12, "Lorem ipsum."},  // 11 characters of the first line
      {13, "Lorem ipsum."},  // "Lorem ipsum " trimmed
      {2, "L."},
      {1, "."},
      {0, "."},
      {-7, "."},
      {INT32_MIN, "."},
      {28, "Lorem ipsum dolor sit amet."},  // the CR at the cut is trimmed
      {30, "Lorem ipsum dolor sit amet\r\nc."},
      {1000, "Lorem ipsum dolor sit amet\r\nconsectetur adipiscing."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    TCPMemo memo;
    memo.SetLoremIpsum(true);
    memo.SetDataLength(c.length);
    EXPECT_EQ(Draw(memo), c.value);
    EXPECT_EQ(Draw(memo), c.value);
  }

  TCPMemo memo;
  memo.SetLoremIpsum(true);
  memo.SetDataLength(40);
  memo.SetRandomizeLength(true);
  const auto counts = Tally(memo, 300);
  EXPECT_GT(counts.size(), 10u);
  for (const auto& [value, count] : counts) {
    SCOPED_TRACE(value);
    ASSERT_LE(value.size(), 40u);
    ASSERT_EQ(value.back(), '.');
    EXPECT_EQ(LoremJoined().rfind(value.substr(0, value.size() - 1), 0), 0u);
  }

  SetWordList(TWordList::LoremText, {});
  EXPECT_EQ(Draw(memo), ".");
}

TEST_F(DictionaryGensTest, PlainMemoIsTrimmedFallbackText) {
  struct Case {
    bool randomize;
    size_t shortestMin, shortestMax;  // bounds of the shortest value seen
    size_t longestMin;                // lower bound of the longest value seen
  };
  // DataLength 100: trimming takes off only the odd blank at either end; a random length ranges
  // from 1 to 100.
  const Case cases[] = {{false, 95, 100, 100}, {true, 0, 20, 95}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.randomize);
    TCPMemo memo;
    memo.SetRandomizeLength(c.randomize);
    size_t shortest = SIZE_MAX;
    size_t longest = 0;
    for (int i = 0; i < 300; ++i) {
      const std::string value = Draw(memo);
      ASSERT_LE(value.size(), 100u);
      if (!value.empty()) {
        ASSERT_NE(value.front(), ' ');
        ASSERT_NE(value.back(), ' ');
      }
      for (const char ch : value)
        ASSERT_TRUE(FallbackCharSet().Contains(static_cast<unsigned char>(ch))) << value;
      shortest = std::min(shortest, value.size());
      longest = std::max(longest, value.size());
    }
    EXPECT_GE(shortest, c.shortestMin);
    EXPECT_LE(shortest, c.shortestMax);
    EXPECT_GE(longest, c.longestMin);
  }
}

TEST_F(DictionaryGensTest, CityIsProperCasedThenTrimmed) {
  struct Case {
    std::string name;
    bool french;
    Values values;
  };
  // Entries: "PARIS", "  saint-Étienne", "lyon" and "new YORK", " Tokyo ", "LIMA". An entry with
  // leading blanks is proper-cased before the trim, so its first letter ends up small.
  const Case cases[] = {
      {"French", true, {"Paris", "saint-\xE9tienne", "Lyon"}},
      {"world", false, {"New york", "tokyo", "Lima"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TCPTown town;
    town.SetFrench(c.french);
    EXPECT_EQ(Keys(Tally(town, 200)), c.values);
  }

  TCPTown town;
  SetWordList(TWordList::WorldTowns, {});
  EXPECT_EQ(Draw(town), "<empty data>");
  SetWordList(TWordList::WorldTowns, {"  "});
  EXPECT_EQ(Draw(town), "<empty data>");
}

TEST_F(DictionaryGensTest, EnglishAddressIsNumberTownSuffix) {
  struct Case {
    std::string name;
    bool towns;
    std::string pattern;
  };
  const Case cases[] = {
      {"with towns", true, "([0-9]+) (New york|Tokyo|Lima) (road|avenue|park|boulevard|square)"},
      {"without towns", false, "([0-9]+) (road|avenue|park|boulevard|square)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.towns) SetWordList(TWordList::WorldTowns, {});
    const std::regex shape(c.pattern);
    TCPAddress address;
    std::set<int> numbers;
    Values suffixes;
    for (int i = 0; i < 4000; ++i) {
      const std::string value = Draw(address);
      std::smatch m;
      ASSERT_TRUE(std::regex_match(value, m, shape)) << value;
      numbers.insert(std::stoi(m[1]));
      suffixes.insert(m[m.size() - 1]);
    }
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), 400);
    EXPECT_EQ(suffixes.size(), 5u);
  }
}

TEST_F(DictionaryGensTest, FrenchAddressNumbersSuffixesAndStreetNames) {
  const std::regex shape(
      "([0-9]+) (ter |bis )?(rue|boulevard|avenue|all\xE9"
      "e|impasse|route) (.*)");
  const Values towns{"Paris", "Saint-\xE9tienne", "Lyon"};  // trimmed, then proper-cased
  const Values words{"Ch\xE2teau", "Mer", "Pont"};
  const std::regex named("du (Lieutenant|G\xE9n\xE9ral|Colonel) (Jean-luc|Brad|Tom)");
  TCPAddress address;
  address.SetFrench(true);
  const int draws = 20000;
  int ter = 0, bis = 0, town = 0, word = 0, rank = 0, highest = 0;
  for (int i = 0; i < draws; ++i) {
    const std::string value = Draw(address);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(value, m, shape)) << value;
    const int number = std::stoi(m[1]);
    ASSERT_GE(number, 1);
    ASSERT_LE(number, 120);
    highest = std::max(highest, number);
    ter += m[2] == "ter ";
    bis += m[2] == "bis ";
    const std::string street = m[4];
    if (towns.count(street))
      ++town;
    else if (words.count(street))
      ++word;
    else if (std::regex_match(street, named))
      ++rank;
    else
      ADD_FAILURE() << value;
  }
  EXPECT_EQ(highest, 120);
  EXPECT_NEAR(ter / double(draws), 0.03, 0.005);
  EXPECT_NEAR(bis / double(draws), 0.97 * 0.04, 0.006);
  EXPECT_NEAR(town / double(draws), 0.40, 0.02);
  EXPECT_NEAR(word / double(draws), 0.60 * 0.40, 0.02);
  EXPECT_NEAR(rank / double(draws), 0.60 * 0.60, 0.02);
}

TEST_F(DictionaryGensTest, FrenchAddressWithEmptyListsFallsThroughToTheMarker) {
  struct Case {
    std::string name;
    bool towns, words, boys;
    double markerShare;
  };
  const Case cases[] = {
      {"all empty", false, false, false, 1.0},
      {"boys only: always a rank and a name", false, false, true, 0.0},
      {"towns only", true, false, false, 0.6},
      {"words only", false, true, false, 0.6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadWordLists(kSmallDict);
    if (!c.towns) SetWordList(TWordList::FrenchTowns, {});
    if (!c.words) SetWordList(TWordList::FrenchWords, {});
    if (!c.boys) SetWordList(TWordList::BoyNames, {});
    TCPAddress address;
    address.SetFrench(true);
    const auto counts = Tally(address, 4000);
    const auto marker = counts.find("<empty data>");
    const int markers = marker == counts.end() ? 0 : marker->second;
    EXPECT_NEAR(markers / 4000.0, c.markerShare, 0.03);
  }
}

TEST_F(DictionaryGensTest, CountryAndStateDrawTheirListOrTheMarker) {
  struct Case {
    std::string name;
    std::function<std::unique_ptr<TColParams>()> make;
    Values values;
  };
  const auto country = [](bool justCode, bool french) {
    return [=] {
      auto gen = std::make_unique<TCPCountry>();
      gen->SetJustCode(justCode);
      gen->SetFrench(french);
      return std::unique_ptr<TColParams>(std::move(gen));
    };
  };
  const auto state = [](bool shortName) {
    return [=] {
      auto gen = std::make_unique<TCPUSStates>();
      gen->SetShortName(shortName);
      return std::unique_ptr<TColParams>(std::move(gen));
    };
  };
  const Values codes{"FR", "JP", "PE"};
  const Case cases[] = {
      {"country", country(false, false), {"France", "Japan", "Peru"}},
      {"French country", country(false, true), {"France", "Japon", "P\xE9rou"}},
      {"country code", country(true, false), codes},
      {"country code wins over French", country(true, true), codes},
      {"state", state(false), {"Texas", "Ohio", "Utah"}},
      {"state code", state(true), {"TX", "OH", "UT"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadWordLists(kSmallDict);
    auto gen = c.make();
    EXPECT_EQ(Keys(Tally(*gen, 200)), c.values);
    for (int i = 0; i < kWordListCount; ++i)
      SetWordList(static_cast<TWordList>(i), {});
    EXPECT_EQ(Draw(*gen), "<empty data>");
  }
}

}  // namespace
}  // namespace kelvast
