// SPDX-License-Identifier: MIT
#include "core/generators/person_gens.h"

#include "core/generators/charset.h"
#include "core/generators/word_lists.h"
#include "core/model/gen_model.h"
#include "core/platform/code_page.h"
#include "core/platform/errors.h"
#include "core/platform/random.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kelvast {
namespace {

using Values = std::set<std::string>;

const std::filesystem::path kSmallDict = std::filesystem::path(KELVAST_TEST_DATA) / "dict-small";
// The names of the small fixture, trimmed.
const Values kBoys{"Jean-Luc", "Brad", "Tom"};
const Values kGirls{"Ann", "Zo\xE9", "Mary-Kate"};
const char* const kEndings = "(com|net|org|gouv|info|biz|tv|us|fr|ca|cc|uk|be|nz|at)";

template <class P>
P& AddGen(TGenModel& model, const std::string& name, TColType type) {
  TColToGenItem& item = model.Cols().Add();
  item.SetColName(name);
  item.SetColType(type);
  return dynamic_cast<P&>(item.Param());
}

std::string Draw(TColParams& gen) {
  gen.ClearLastValue();
  return std::string(gen.GetValue());
}

// Every character other than an ASCII letter or digit as "_".
std::string Safe(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (!std::isalnum(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) > 127)
      c = '_';
  return s;
}

// A model made current over the small Dict fixture, with a pinned random source.
class PersonGensTest : public testing::Test {
 protected:
  void SetUp() override {
    LoadWordLists(kSmallDict);
    RandSeed(77);
  }
  void TearDown() override { ClearWordLists(); }

  // One record as a run makes it: a new title, then every column in model order.
  void NextRecord() {
    model.NewRecord();
    for (const auto& item : model.Cols())
      item->Param().GetValue();
  }
  const Values& NamesOfTitle() {
    return PersonOf(model).LastInternalValue() == "0" ? kBoys : kGirls;
  }

  TGenModel model;
};

TEST_F(PersonGensTest, FirstNamesFollowTheRecordTitle) {
  struct Case {
    std::string name;
    bool sexColumn;
    float misterPercent;
    bool girlsSeen;
  };
  const Case cases[] = {
      {"with a Sex column", true, 50, true},
      {"without a Sex column", false, 50, true},
      {"every title a mister", false, 100, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    model.Cols().Clear();
    PersonOf(model).SetMisterPercent(c.misterPercent);
    TCPSexGen* sex = c.sexColumn ? &AddGen<TCPSexGen>(model, "Title", ctSex) : nullptr;
    auto& first = AddGen<TCPFirstName>(model, "First", ctFirstName);
    auto& full = AddGen<TCPFirstLastName>(model, "Full", ctFirstLastName);
    int boys = 0, girls = 0;
    for (int i = 0; i < 600; ++i) {
      NextRecord();
      const std::string code(PersonOf(model).LastInternalValue());
      const Values& names = NamesOfTitle();
      ASSERT_TRUE(names.count(std::string(first.LastValue()))) << code << " " << first.LastValue();
      // The first-name part of a full name follows the same title.
      const std::string part(full.FirstName().LastValue());
      ASSERT_TRUE(names.count(part)) << code << " " << part;
      ASSERT_EQ(full.LastValue().rfind(part + " ", 0), 0u) << full.LastValue();
      if (sex) {
        const std::string expected = code == "0" ? "Mr." : code == "1" ? "Mrs." : "Miss";
        ASSERT_EQ(sex->LastValue(), expected);
      }
      ++(code == "0" ? boys : girls);
    }
    EXPECT_GT(boys, 100);
    EXPECT_EQ(girls > 100, c.girlsSeen);
  }
}

TEST_F(PersonGensTest, SexGeneratorsShareTheRecordTitleAndTheSettings) {
  auto& one = AddGen<TCPSexGen>(model, "One", ctSex);
  auto& two = AddGen<TCPSexGen>(model, "Two", ctSex);
  two.SetDataCase(gcUpper);  // each applies its own case to the shared title
  for (int i = 0; i < 300; ++i) {
    NextRecord();
    ASSERT_EQ(one.LastValue(), PersonOf(model).LastValue());
    ASSERT_EQ(two.LastValue(), AnsiUpperCase(one.LastValue()));
  }

  one.SetMister("  Sir ");
  two.SetMisterPercent(100);
  EXPECT_EQ(two.Mister(), "Sir");
  EXPECT_EQ(one.MisterPercent(), 100.0f);
  EXPECT_EQ(PersonOf(model).Mister(), "Sir");
  for (int i = 0; i < 20; ++i) {
    NextRecord();
    ASSERT_EQ(one.LastValue(), "Sir");
    ASSERT_EQ(two.LastValue(), "SIR");
  }

  // A write reports a change even when the shared value does not change.
  model.SetModified(false);
  two.SetMister("Sir");
  EXPECT_TRUE(model.Modified());

  TCPSexGen orphan;
  EXPECT_EQ(orphan.Mister(), "");
  EXPECT_EQ(orphan.MisterPercent(), 0.0f);
  EXPECT_EQ(Draw(orphan), "");
}

TEST_F(PersonGensTest, TitleSharesFollowMisterAndMissisPercentages) {
  struct Case {
    float mister, missis, miss;
    double mr, mrs, missShare, tolerance;
  };
  // The miss percentage takes no part: miss gets what the other two leave.
  const Case cases[] = {
      {50, 25, 25, 0.50, 0.25, 0.25, 0.015},
      {20, 30, 0, 0.20, 0.30, 0.50, 0.015},
      {100, 0, 0, 1.0, 0.0, 0.0, 0.0},
      {0, 0, 100, 0.0, 0.0, 1.0, 0.0005},  // only a draw of exactly 0.00 gives a mister
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mister << "/" << c.missis << "/" << c.miss);
    TCPSex& sex = PersonOf(model);
    sex.SetMisterPercent(c.mister);
    sex.SetMissisPercent(c.missis);
    sex.SetMissPercent(c.miss);
    std::map<std::string, int> counts;
    const int records = 20000;
    for (int i = 0; i < records; ++i) {
      model.NewRecord();
      ++counts[std::string(sex.LastValue())];
    }
    EXPECT_NEAR(counts["Mr."] / double(records), c.mr, c.tolerance);
    EXPECT_NEAR(counts["Mrs."] / double(records), c.mrs, c.tolerance);
    EXPECT_NEAR(counts["Miss"] / double(records), c.missShare, c.tolerance);
  }
}

TEST_F(PersonGensTest, EmailStartsWithTheRecordFirstAndLastName) {
  struct Case {
    std::string name;
    bool emailFirst;
    bool shortForm;
    TGenCase firstCase;
  };
  const Case cases[] = {
      {"after the names", false, false, gcNoChange},
      {"before the names", true, false, gcNoChange},
      {"short form", false, true, gcNoChange},
      {"the first name's case applies", true, false, gcUpper},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    model.Cols().Clear();
    TCPEmail* mail = c.emailFirst ? &AddGen<TCPEmail>(model, "Mail", ctemail) : nullptr;
    auto& first = AddGen<TCPFirstName>(model, "First", ctFirstName);
    auto& last = AddGen<TCPLastName>(model, "Last", ctLastName);
    if (!mail) mail = &AddGen<TCPEmail>(model, "Mail", ctemail);
    mail->SetShort(c.shortForm);
    first.SetDataCase(c.firstCase);
    model.PrepareAll();
    const std::regex domain(std::string("(apple|Kiwi|banana_split)\\.") + kEndings);
    int hyphenated = 0;
    for (int i = 0; i < 400; ++i) {
      NextRecord();
      std::string user = Safe(first.LastValue());
      if (!c.shortForm) user += "." + Safe(last.LastValue());
      const std::string value(mail->LastValue());
      ASSERT_EQ(value.rfind(user + "@", 0), 0u) << value << " for " << first.LastValue();
      ASSERT_TRUE(std::regex_match(value.substr(user.size() + 1), domain)) << value;
      hyphenated +=
          value.find("_Luc") != std::string::npos || value.find("_LUC") != std::string::npos;
    }
    EXPECT_GT(hyphenated, 0);
  }
}

TEST_F(PersonGensTest, EmailWithoutNameColumnsUsesItsOwnFreshSources) {
  // The parts of a full name are never taken as sources.
  auto& full = AddGen<TCPFirstLastName>(model, "Full", ctFirstLastName);
  auto& mail = AddGen<TCPEmail>(model, "Mail", ctemail);
  model.PrepareAll();
  const std::regex shape("([A-Za-z_]+)\\.([A-Z][a-z]+)@.*");
  Values lastNames;
  size_t longest = 0;
  int otherFirst = 0;
  for (int i = 0; i < 500; ++i) {
    NextRecord();
    std::smatch m;
    const std::string address(mail.LastValue());
    ASSERT_TRUE(std::regex_match(address, m, shape)) << address;
    Values safeNames;
    for (const std::string& name : NamesOfTitle())
      safeNames.insert(Safe(name));
    ASSERT_TRUE(safeNames.count(m[1])) << mail.LastValue();
    const std::string lastName = m[2];
    ASSERT_GE(lastName.size(), 6u);
    ASSERT_LE(lastName.size(), 17u);
    longest = std::max(longest, lastName.size());
    lastNames.insert(lastName);
    otherFirst += m[1] != Safe(full.FirstName().LastValue());
  }
  EXPECT_GT(longest, 13u);            // beyond what a default last name can reach
  EXPECT_GT(lastNames.size(), 400u);  // a new name every record
  EXPECT_GT(otherFirst, 100);
}

TEST_F(PersonGensTest, AnEmptyNameListStopsTheDrawNamingItsFile) {
  struct Case {
    TWordList list;
    float misterPercent;
    std::string file;
  };
  const Case cases[] = {
      {TWordList::BoyNames, 100, "BoynamesUSA.txt"},
      {TWordList::GirlNames, 0, "GirlnamesUSA.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    LoadWordLists(kSmallDict);
    SetWordList(c.list, {});
    model.Cols().Clear();
    PersonOf(model).SetMisterPercent(c.misterPercent);
    PersonOf(model).SetMissisPercent(0);
    AddGen<TCPFirstName>(model, "First", ctFirstName);
    try {
      NextRecord();
      ADD_FAILURE() << "no error";
    } catch (const EGenerationError& e) {
      EXPECT_NE(std::string(e.what()).find(c.file), std::string::npos) << e.what();
    }
  }
}

TEST_F(PersonGensTest, FirstNameWithoutATitleIsARandomText) {
  struct Case {
    std::string name;
    bool withModel;  // a model whose title has not been drawn yet
  };
  const Case cases[] = {{"no current model", false}, {"no title drawn", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGenModel fresh;
    TCPFirstName first;
    size_t shortest = SIZE_MAX, longest = 0;
    for (int i = 0; i < 300; ++i) {
      const std::string value = Draw(first);
      ASSERT_LE(value.size(), 12u);
      ASSERT_FALSE(kBoys.count(value) || kGirls.count(value));
      if (!value.empty()) {
        ASSERT_TRUE(value.front() != ' ' && value.back() != ' ') << value;
      }
      for (const char ch : value)
        ASSERT_TRUE(FallbackCharSet().Contains(static_cast<unsigned char>(ch)));
      shortest = std::min(shortest, value.size());
      longest = std::max(longest, value.size());
    }
    EXPECT_LE(shortest, 3u);
    EXPECT_EQ(longest, 12u);
  }
}

TEST_F(PersonGensTest, LastNameIsBuiltFromWholePhonemes) {
  struct Case {
    std::string name;
    std::vector<std::string> phonemes;
    int32_t minSize, dataLength;
    Values exact;  // the only values, when not empty
    size_t minLen, maxLen;
  };
  const auto& defaults = TCPLastName::DefaultPhonemes();
  const Case cases[] = {
      {"defaults: 5 to 13 characters", defaults, 5, 10, {}, 5, 13},
      {"stops at the first phoneme boundary at or past 5", {"abc"}, 5, 5, {"Abcabc"}, 0, 0},
      {"one phoneme past the target", {"abc"}, 2, 3, {"Abc"}, 0, 0},
      {"minimum above the length: the minimum is the target", {"ab"}, 5, 3, {"Ababab"}, 0, 0},
      {"capitalised before the trim", {" ab"}, 2, 2, {"ab"}, 0, 0},
      {"only empty phonemes end empty", {"", ""}, 5, 10, {""}, 0, 0},
      {"single letters: MinSize to DataLength - 1", {"x"}, 3, 8, {}, 3, 7},
      {"no phonemes: up to DataLength fallback characters", {}, 5, 10, {}, 0, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TCPLastName last;
    last.SetPhonemeList(c.phonemes);
    last.SetMinSize(c.minSize);
    last.SetDataLength(c.dataLength);
    Values seen;
    for (int i = 0; i < 300; ++i) {
      const std::string value = Draw(last);
      seen.insert(value);
      if (!c.exact.empty()) continue;
      ASSERT_GE(value.size(), c.minLen) << value;
      ASSERT_LE(value.size(), c.maxLen) << value;
      if (!value.empty()) {
        ASSERT_FALSE(value[0] >= 'a' && value[0] <= 'z') << value;
      }
    }
    if (!c.exact.empty())
      EXPECT_EQ(seen, c.exact);
    else
      EXPECT_GE(seen.size(), 5u);  // every length of the "x" case, many names otherwise
  }
}

TEST_F(PersonGensTest, FullNameJoinsItsPartsWithTheSeparator) {
  struct Case {
    bool firstLast;
    std::string separator;
    std::string readBack;  // Separator after a draw
    std::string pattern;   // F stands for the first name
  };
  const Case cases[] = {
      {false, "", " ", "F Abcabc"},
      {true, ", ", ", ", "Abcabc, F"},
      {false, " & ", " & ", "F & Abcabc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    model.Cols().Clear();
    auto& full = AddGen<TCPFirstLastName>(model, "Full", ctFirstLastName);
    full.SetFirstLast(c.firstLast);
    full.SetSeparator(c.separator);
    full.LastName().SetPhonemeList({"abc"});
    full.LastName().SetDataLength(5);
    for (int i = 0; i < 50; ++i) {
      NextRecord();
      std::string expected = c.pattern;
      expected.replace(expected.find('F'), 1, full.FirstName().LastValue());
      ASSERT_EQ(full.LastValue(), expected);
      ASSERT_TRUE(NamesOfTitle().count(std::string(full.FirstName().LastValue())));
    }
    EXPECT_EQ(full.Separator(), c.readBack);
  }

  // Editing a part marks the full name, and through it the model, modified.
  model.SetModified(false);
  dynamic_cast<TCPFirstLastName&>(model.Cols()[0].Param()).LastName().SetMinSize(3);
  EXPECT_TRUE(model.Modified());
}

TEST_F(PersonGensTest, WebSiteShapeAndPathShares) {
  struct Case {
    int32_t dataLength;
    std::string words;
  };
  const Case cases[] = {{3, "(apple|Kiwi|banana_split)"}, {5, "(apple|Kiwi)"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dataLength);
    TCPWebSite site;
    site.SetDataLength(c.dataLength);
    const std::regex shape("www\\." + c.words + "\\." + kEndings +
                           "(/index\\.html|/home\\.aspx|/index\\.php)?");
    std::map<std::string, int> paths, endings;
    const int draws = 10000;
    for (int i = 0; i < draws; ++i) {
      const std::string value = Draw(site);
      std::smatch m;
      ASSERT_TRUE(std::regex_match(value, m, shape)) << value;
      ++endings[m[2]];
      ++paths[m[3]];
    }
    EXPECT_NEAR(paths[""] / double(draws), 0.70, 0.02);
    for (const char* path : {"/index.html", "/home.aspx", "/index.php"})
      EXPECT_NEAR(paths[path] / double(draws), 0.10, 0.015) << path;
    EXPECT_EQ(endings.size(), 15u);
    for (const auto& [ending, count] : endings)
      EXPECT_NEAR(count / double(draws), 1 / 15.0, 0.015) << ending;
  }
}

TEST_F(PersonGensTest, EmptyEnglishWordsGiveTheMarkerAsDomainWord) {
  SetWordList(TWordList::EnglishWords, {});
  model.PrepareAll();
  struct Case {
    std::string name;
    int32_t dataLength;  // web site only; the e-mail's word is limited to 10
    bool email;
    std::string pattern;
  };
  const Case cases[] = {
      {"web site, no limit", 3, false, "www\\._nodata_\\.[a-z]+(/.*)?"},
      {"web site, limit 5: the marker cut", 5, false, "www\\._noda\\.[a-z]+(/.*)?"},
      {"e-mail", 0, true, "[A-Za-z_]+\\.[A-Z][a-z]+@_nodata_\\.[a-z]+"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TCPWebSite site;
    TCPEmail mail;
    site.SetDataLength(c.dataLength);
    TColParams& gen = c.email ? static_cast<TColParams&>(mail) : site;
    for (int i = 0; i < 20; ++i) {
      model.NewRecord();
      const std::string value = Draw(gen);
      ASSERT_TRUE(std::regex_match(value, std::regex(c.pattern))) << value;
    }
  }
}

}  // namespace
}  // namespace kelvast
