// SPDX-License-Identifier: MIT
#include "core/generators/composite_gens.h"

#include "core/generators/numeric_gens.h"
#include "core/generators/person_gens.h"
#include "core/generators/string_gens.h"
#include "core/generators/word_lists.h"
#include "core/model/gen_model.h"
#include "core/platform/errors.h"
#include "core/platform/random.h"
#include "support/memory_data_access.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kelvast {
namespace {

using Lines = std::vector<std::string>;
using Values = std::set<std::string>;

const std::filesystem::path kSmallDict = std::filesystem::path(KELVAST_TEST_DATA) / "dict-small";

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

class CompositeGensTest : public testing::Test {
 protected:
  void SetUp() override {
    LoadWordLists(kSmallDict);
    RandSeed(4242);
  }
  void TearDown() override { ClearWordLists(); }

  // One record as a run makes it: a new title, then every column in model order.
  void NextRecord() {
    model.NewRecord();
    for (const auto& item : model.Cols())
      item->Param().GetValue();
  }

  TGenModel model;
};

TEST_F(CompositeGensTest, CombinationJoinsTheNamedColumnsOfTheSameRecord) {
  // The combination comes first, so it is what draws the other columns; they must then show
  // the values it used.
  auto& combo = AddGen<TCPCombo>(model, "Combo", ctCombo);
  auto& first = AddGen<TCPFirstName>(model, "First", ctFirstName);
  AddGen<TCPConst>(model, "Space", ctConst).SetConstValue(" ");
  auto& last = AddGen<TCPLastName>(model, "Last", ctLastName);
  last.SetStealth(true);
  auto& counter = AddGen<TCPIncremental>(model, "Counter", ctIncremental);

  struct Case {
    std::string name;
    Lines colnames;
    std::function<std::string(const std::string& f, const std::string& l, const std::string& n)>
        expected;
  };
  const Case cases[] = {
      {"names in another letter case, a blank between",
       {"FIRST", "space", "lAST"},
       [](auto& f, auto& l, auto&) { return f + " " + l; }},
      {"no separator added", {"Last", "First"}, [](auto& f, auto& l, auto&) { return l + f; }},
      {"a missing name is skipped",
       {"First", "Nobody", "Last"},
       [](auto& f, auto& l, auto&) { return f + l; }},
      {"only the two ends are trimmed",
       {"Space", "First", "Space", "Space", "Last", "Space"},
       [](auto& f, auto& l, auto&) { return f + "  " + l; }},
      {"a counter read twice advances once",
       {"Counter", "Counter"},
       [](auto&, auto&, auto& n) { return n + n; }},
      {"an empty list gives the empty value", {}, [](auto&, auto&, auto&) { return ""; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    combo.SetColnames(c.colnames);
    model.PrepareAll();
    Values distinct;
    for (int record = 1; record <= 100; ++record) {
      NextRecord();
      ASSERT_EQ(counter.LastValue(), std::to_string(record));
      ASSERT_EQ(combo.LastValue(),
                c.expected(std::string(first.LastValue()), std::string(last.LastValue()),
                           std::string(counter.LastValue())));
      distinct.emplace(combo.LastValue());
    }
    if (!c.colnames.empty()) {
      EXPECT_GT(distinct.size(), 2u);
    }
  }
}

TEST_F(CompositeGensTest, CombinationCyclesGiveNothingForTheCyclicPart) {
  auto& self = AddGen<TCPCombo>(model, "Self", ctCombo);
  auto& outer = AddGen<TCPCombo>(model, "Outer", ctCombo);
  auto& inner = AddGen<TCPCombo>(model, "Inner", ctCombo);
  auto& first = AddGen<TCPFirstName>(model, "First", ctFirstName);
  auto& last = AddGen<TCPLastName>(model, "Last", ctLastName);
  self.SetColnames({"self", "First"});   // names itself
  outer.SetColnames({"Inner", "Last"});  // Outer -> Inner -> Outer
  inner.SetColnames({"Outer", "First"});
  for (int i = 0; i < 50; ++i) {
    NextRecord();
    ASSERT_EQ(self.LastValue(), first.LastValue());
    // Outer is read first: inside it, Inner gets "" for Outer and keeps that value.
    ASSERT_EQ(inner.LastValue(), first.LastValue());
    ASSERT_EQ(outer.LastValue(), std::string(first.LastValue()) + std::string(last.LastValue()));
  }
}

TEST_F(CompositeGensTest, CombinationWorksAgainAfterAPartFailed) {
  auto& combo = AddGen<TCPCombo>(model, "Combo", ctCombo);
  auto& first = AddGen<TCPFirstName>(model, "First", ctFirstName);
  combo.SetColnames({"First"});
  PersonOf(model).SetMisterPercent(0);
  PersonOf(model).SetMissisPercent(0);
  SetWordList(TWordList::GirlNames, {});
  EXPECT_THROW(NextRecord(), EGenerationError);

  LoadWordLists(kSmallDict);
  NextRecord();
  EXPECT_FALSE(first.LastValue().empty());
  EXPECT_EQ(combo.LastValue(), first.LastValue());
}

TEST_F(CompositeGensTest, ColumnReferenceQueryQuotesCatalogueNamesWithTheDriversQuote) {
  // The model's delimiter plays no part: names are quoted the driver's way, a quote inside them
  // doubled, and the field is spelt as the catalogue has it.
  test::TMemoryDataAccess db;
  db.SetColumn("People", "Name", {"a"});
  db.SetColumn("t\" x", "we\"ird", {"b"});
  struct Case {
    std::string name;
    char quote;
    std::string table, field;
    std::string query;
  };
  const Case cases[] = {
      {"double quotes", '"', "People", "Name", "SELECT DISTINCT \"Name\" FROM \"People\""},
      {"back quotes", '`', "People", "Name", "SELECT DISTINCT `Name` FROM `People`"},
      {"no quote", ' ', "People", "Name", "SELECT DISTINCT Name FROM People"},
      {"field in other case", '"', "People", "NAME", "SELECT DISTINCT \"Name\" FROM \"People\""},
      {"quotes in names", '"', "t\" x", "we\"ird",
       "SELECT DISTINCT \"we\"\"ird\" FROM \"t\"\" x\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    db.SetIdentifierQuote(c.quote);
    TCPColRef ref;
    ref.SetTable(c.table);
    ref.SetField(c.field);
    ref.SetDelimiter("[]");
    EXPECT_EQ(ref.QueryText(db), c.query);
  }
}

TEST_F(CompositeGensTest, ColumnReferenceDelimiterGetterAndModelDelimiter) {
  struct Case {
    std::optional<std::string> delimiter;  // none: the construction default
    std::string getter;
  };
  const Case cases[] = {{std::nullopt, "''"}, {"[]", "[]"}, {"\"", "  "}, {"", "  "}, {"[]x", "  "}};
  for (const Case& c : cases) {
    TCPColRef ref;
    if (c.delimiter) ref.SetDelimiter(*c.delimiter);
    EXPECT_EQ(ref.Delimiter(), c.getter);
  }

  // The model's delimiter reaches its column references.
  auto& ref = AddGen<TCPColRef>(model, "Ref", ctColRef);
  model.SetDelimiter("[]");
  EXPECT_EQ(ref.Delimiter(), "[]");
}

TEST_F(CompositeGensTest, ColumnReferenceDrawsOnlyTheValuesReadAtPrepare) {
  test::TMemoryDataAccess db;
  db.SetColumn("People", "City", {"Oslo", " Rome ", "Oslo", std::nullopt, "Lima"});
  db.SetColumn("People", "Country", {"NO", "IT"});
  db.SetColumn("Nobody", "City", {});
  TCPColRef ref;
  ref.SetTable("People");
  ref.SetField("City");
  ref.Prepare({.Connection = &db});
  EXPECT_EQ(db.Log(), Lines{"SELECT DISTINCT \"City\" FROM \"People\""});
  EXPECT_EQ(ref.Values(), (Lines{"Oslo", " Rome ", "", "Lima"}));
  Values seen;
  for (int i = 0; i < 200; ++i)
    seen.insert(Draw(ref));
  EXPECT_EQ(seen, (Values{"Oslo", "Rome", "", "Lima"}));  // trimmed; NULL gives the empty value

  // Every preparation reads the table again.
  ref.SetField("Country");
  ref.Prepare({.Connection = &db});
  seen.clear();
  for (int i = 0; i < 100; ++i)
    seen.insert(Draw(ref));
  EXPECT_EQ(seen, (Values{"NO", "IT"}));

  // An empty column has nothing to draw: an error, not a placeholder in the data.
  ref.SetTable("Nobody");
  ref.SetField("City");
  try {
    ref.Prepare({.Connection = &db});
    ADD_FAILURE() << "an empty column was accepted";
  } catch (const EGenerationError& e) {
    EXPECT_NE(std::string(e.what()).find("Nobody.City"), std::string::npos) << e.what();
  }
}

TEST_F(CompositeGensTest, ColumnReferenceErrorsLeaveThePrepare) {
  test::TMemoryDataAccess db;
  db.SetColumn("People", "City", {"Oslo"});
  struct Case {
    std::string name;
    bool current;
    bool connected;
    std::string table, field;
    std::string message;
  };
  const Case cases[] = {
      {"no current connection", false, true, "People", "City", "People.City"},
      {"a closed connection", true, false, "People", "City", "connection"},
      {"no such table", true, true, "Nowhere", "City", "table \"Nowhere\" does not exist"},
      {"no such column", true, true, "People", "Town", "has no field \"Town\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TCPColRef ref;
    ref.SetTable("People");
    ref.SetField("City");
    {
      db.SetConnected(true);
      ref.Prepare({.Connection = &db});
      ASSERT_EQ(Draw(ref), "Oslo");
    }
    db.SetConnected(c.connected);
    ref.SetTable(c.table);
    ref.SetField(c.field);
    try {
      ref.Prepare({.Connection = c.current ? &db : nullptr});
      ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
    // The values of the earlier preparation are gone.
    EXPECT_EQ(Draw(ref), "<empty data>");
  }
}

}  // namespace
}  // namespace kelvast
