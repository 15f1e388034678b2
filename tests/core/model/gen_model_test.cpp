// SPDX-License-Identifier: MIT
// The model, its generator collection and items: modified flags on four levels, delimiters,
// name look-ups, type changes, and the run hooks PrepareAll and NewRecord.

#include "core/model/gen_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/generators/composite_gens.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/person_gens.h"
#include "core/generators/string_gens.h"
#include "core/platform/random.h"

namespace kelvast {
namespace {

// Every flag of the model, item by item, so one assertion shows which level is wrong.
struct Flags {
  bool model, cols;
  std::vector<bool> items, params;
  bool operator==(const Flags&) const = default;
};

Flags FlagsOf(const TGenModel& m) {
  Flags f{m.Modified(), m.Cols().Modified(), {}, {}};
  for (const auto& item : m.Cols()) {
    f.items.push_back(item->Modified());
    f.params.push_back(item->Param().Modified());
  }
  return f;
}

void PrintTo(const Flags& f, std::ostream* os) {
  *os << "model " << f.model << " cols " << f.cols << " items";
  for (bool b : f.items) *os << ' ' << b;
  *os << " params";
  for (bool b : f.params) *os << ' ' << b;
}

// A model of three generators with every flag cleared.
class ModelTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a", "b", "c"}) model_.Cols().Add().SetColName(name);
    model_.Cols()[1].SetColType(ctInteger);
    model_.SetModified(false);
  }
  TColToGenItem& Item(int i) { return model_.Cols()[i]; }
  Flags Clean() const { return {false, false, {false, false, false}, {false, false, false}}; }

  TGenModel model_;
};

TEST(GenModelTest, NewModelAndNewItem) {
  TGenModel model;
  EXPECT_EQ(model.Cols().Count(), 0);
  EXPECT_EQ(model.StoredDelimiter(), "''");
  EXPECT_EQ(model.StoredStringDelimiter(), "''");
  EXPECT_EQ(model.Delimiter(), "''");
  EXPECT_FALSE(model.Modified());
  EXPECT_EQ(model.RecNumber(), 0);
  EXPECT_EQ(model.Cols().Owner(), &model);

  TColToGenItem& item = model.Cols().Add();
  // The model owns its generators: they reach it, and through it their siblings and the person.
  EXPECT_EQ(item.Param().Owner(), &model);
  EXPECT_EQ(item.ColName(), "");
  EXPECT_EQ(item.DBColName(), "");
  EXPECT_EQ(item.ColType(), ctstring);
  EXPECT_NE(dynamic_cast<TCPString*>(&item.Param()), nullptr);
  EXPECT_TRUE(item.Modified());
  EXPECT_TRUE(model.Cols().Modified());
  EXPECT_TRUE(model.Modified());
}

// ---- Modified flags ----

TEST_F(ModelTest, ParameterChangeRaisesItemCollectionAndModel) {
  ASSERT_EQ(FlagsOf(model_), Clean());
  static_cast<TCPInteger&>(Item(1).Param()).SetMaxValue(10);
  EXPECT_EQ(FlagsOf(model_), (Flags{true, true, {false, true, false}, {false, true, false}}));
}

TEST_F(ModelTest, WritingTheCurrentValueMarksNothing) {
  struct Case {
    const char* name;
    std::function<void(TGenModel&)> write;
  };
  const Case cases[] = {
      {"param setting", [](TGenModel& m) { static_cast<TCPInteger&>(m.Cols()[1].Param()).SetMinValue(INT32_MIN); }},
      {"ColName", [](TGenModel& m) { m.Cols()[0].SetColName("a"); }},
      {"DBColName", [](TGenModel& m) { m.Cols()[0].SetDBColName(""); }},
      {"ColType", [](TGenModel& m) { m.Cols()[1].SetColType(ctInteger); }},
      {"Description", [](TGenModel& m) { m.SetDescription(""); }},
      {"Delimiter", [](TGenModel& m) { m.SetDelimiter("''"); }},
      {"StringDelimiter", [](TGenModel& m) { m.SetStringDelimiter("''"); }},
      {"RecNumber", [](TGenModel& m) { m.SetRecNumber(1000); }},  // never marks
      {"LastValue", [](TGenModel& m) { m.Cols()[2].Param().SetLastValue("run state"); }},
      {"Modified(false)", [](TGenModel& m) { m.SetModified(false); }},
      {"empty batch", [](TGenModel& m) { TBatchUpdate batch(m.Cols()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.write(model_);
    EXPECT_EQ(FlagsOf(model_), Clean());
  }
}

TEST_F(ModelTest, ModelTextSettersMarkOnlyTheModel) {
  struct Case {
    const char* name;
    std::function<void(TGenModel&, const std::string&)> set;
    std::function<std::string(const TGenModel&)> get;
  };
  const Case cases[] = {
      {"Description", &TGenModel::SetDescription, &TGenModel::Description},
      {"Database", &TGenModel::SetDatabase, &TGenModel::Database},
      {"ConnectionString", &TGenModel::SetConnectionString, &TGenModel::ConnectionString},
      {"TableName", &TGenModel::SetTableName, &TGenModel::TableName},
      {"SQLFile", &TGenModel::SetSQLFile, &TGenModel::SQLFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.set(model_, "Text");
    EXPECT_EQ(c.get(model_), "Text");
    EXPECT_EQ(FlagsOf(model_), (Flags{true, false, {false, false, false}, {false, false, false}}));
    model_.SetModified(false);
    c.set(model_, "Text");
    EXPECT_FALSE(model_.Modified());
    c.set(model_, "TEXT");  // texts compare case-sensitively
    EXPECT_TRUE(model_.Modified());
    model_.SetModified(false);
  }
}

TEST_F(ModelTest, WritingModifiedSetsEveryLevelWithoutEvents) {
  int events = 0;
  for (const auto& item : model_.Cols()) {
    auto forward = item->Param().OnChange;
    item->Param().OnChange = [&events, forward](TColParams& p) {
      ++events;
      forward(p);
    };
  }
  model_.SetModified(true);
  EXPECT_EQ(FlagsOf(model_), (Flags{true, true, {true, true, true}, {true, true, true}}));
  model_.SetModified(false);
  EXPECT_EQ(FlagsOf(model_), Clean());
  EXPECT_EQ(events, 0);

  // Modified is read from the model's own flag and the collection's only.
  Item(0).SetModified(true);
  EXPECT_FALSE(model_.Modified());
  EXPECT_TRUE(Item(0).Param().Modified());
  model_.Cols().SetModified(true);
  EXPECT_TRUE(model_.Modified());
}

TEST(GenModelTest, ItemChangesAndCollectionEditsMarkTheCollection) {
  struct Case {
    const char* name;
    std::function<void(TGenModel&)> edit;
  };
  const Case cases[] = {
      {"ColName", [](TGenModel& m) { m.Cols()[0].SetColName("renamed"); }},
      {"DBColName", [](TGenModel& m) { m.Cols()[0].SetDBColName("FIELD"); }},
      {"ColType", [](TGenModel& m) { m.Cols()[0].SetColType(ctDate); }},
      {"Add", [](TGenModel& m) { m.Cols().Add(); }},
      {"Delete", [](TGenModel& m) { m.Cols().Delete(1); }},
      {"Clear", [](TGenModel& m) { m.Cols().Clear(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGenModel model;
    model.Cols().Add();
    model.Cols().Add();
    model.SetModified(false);
    c.edit(model);
    EXPECT_TRUE(model.Cols().Modified());
    EXPECT_TRUE(model.Modified());
  }
}

TEST_F(ModelTest, DeleteRemovesTheItemAndKeepsTheOrder) {
  model_.Cols().Delete(0);
  ASSERT_EQ(model_.Cols().Count(), 2);
  EXPECT_EQ(Item(0).ColName(), "b");
  EXPECT_EQ(Item(1).ColName(), "c");
  model_.SetModified(false);
  model_.Cols().Clear();
  EXPECT_EQ(model_.Cols().Count(), 0);
  model_.SetModified(false);
  model_.Cols().Clear();  // nothing to clear, nothing changed
  EXPECT_FALSE(model_.Modified());
}

TEST_F(ModelTest, BatchUpdateReportsOnceAtTheEnd) {
  {
    TBatchUpdate outer(model_.Cols());
    Item(0).SetColName("x");
    model_.Cols().Add();
    {
      TBatchUpdate inner(model_.Cols());
      Item(1).SetColType(ctFloat);
    }
    EXPECT_FALSE(model_.Cols().Modified()) << "an inner batch end must not report";
    EXPECT_TRUE(Item(0).Modified());  // items mark themselves at once
  }
  EXPECT_TRUE(model_.Cols().Modified());
  EXPECT_TRUE(model_.Modified());

  // A later change outside any batch still reports at once.
  model_.SetModified(false);
  { TBatchUpdate batch(model_.Cols()); }
  EXPECT_FALSE(model_.Modified());
  Item(2).SetColName("y");
  EXPECT_TRUE(model_.Modified());
}

// ---- Changing the type ----

TEST_F(ModelTest, SameTypeKeepsTheParameterObjectAndItsSettings) {
  auto& before = static_cast<TCPInteger&>(Item(1).Param());
  before.SetMinValue(5);
  model_.SetModified(false);
  Item(1).SetColType(ctInteger);
  EXPECT_EQ(&Item(1).Param(), &before);
  EXPECT_EQ(before.MinValue(), 5);
  EXPECT_FALSE(model_.Modified());
}

TEST_F(ModelTest, OtherTypeInstallsFreshDefaultsListenedToByTheItem) {
  Item(0).Param().SetAllowNull(true);
  Item(0).SetColType(ctIncremental);
  EXPECT_EQ(Item(0).ColType(), ctIncremental);
  auto* inc = dynamic_cast<TCPIncremental*>(&Item(0).Param());
  ASSERT_NE(inc, nullptr);
  EXPECT_FALSE(inc->AllowNull());
  EXPECT_EQ(inc->Step(), 1);
  EXPECT_TRUE(Item(0).Modified());
  EXPECT_TRUE(model_.Modified());

  model_.SetModified(false);
  inc->SetStep(3);
  EXPECT_EQ(FlagsOf(model_), (Flags{true, true, {true, false, false}, {true, false, false}}));

  // Back to a string: a new TCPString with its defaults, not the old one.
  Item(0).SetColType(ctstring);
  auto* str = dynamic_cast<TCPString*>(&Item(0).Param());
  ASSERT_NE(str, nullptr);
  EXPECT_EQ(str->DataLength(), 1);
  EXPECT_EQ(str->MinSize(), 1);
}

// ---- Delimiters ----

TEST(GenModelDelimiterTest, ReadBackAsTwoCharactersOrTwoBlanks) {
  struct Case {
    std::string stored, read;
  };
  const Case cases[] = {
      {"", "  "},       {"'", "  "},     {"abc", "  "}, {"[]", "[]"},   {"\"\"", "\"\""},
      {" [] ", " [] "},  // trimmed it is two characters: returned as stored
      {"\t\t", "  "},   {" a ", "  "},   {"``", "``"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.stored));
    TGenModel model;
    model.SetDelimiter(c.stored);
    model.SetStringDelimiter(c.stored);
    EXPECT_EQ(model.StoredDelimiter(), c.stored);  // stored without a length check
    EXPECT_EQ(model.Delimiter(), c.read);
    EXPECT_EQ(model.StringDelimiter(), c.read);
  }
}

TEST_F(ModelTest, ChangedDelimitersArePushedToColumnReferences) {
  Item(0).SetColType(ctColRef);
  Item(2).SetColType(ctColRef);
  auto& ref0 = static_cast<TCPColRef&>(Item(0).Param());
  auto& ref2 = static_cast<TCPColRef&>(Item(2).Param());
  ref0.SetDelimiter("[]");
  ref0.SetStrDelimiter("##");
  model_.SetModified(false);

  // The value the model already holds: nothing happens, the references keep theirs.
  model_.SetDelimiter("''");
  model_.SetStringDelimiter("''");
  EXPECT_EQ(FlagsOf(model_), Clean());
  EXPECT_EQ(ref0.StoredDelimiter(), "[]");
  EXPECT_EQ(ref0.StrDelimiter(), "##");

  model_.SetDelimiter("\"\"");
  EXPECT_EQ(ref0.StoredDelimiter(), "\"\"");
  EXPECT_EQ(ref2.StoredDelimiter(), "\"\"");
  EXPECT_EQ(ref0.StrDelimiter(), "##");
  model_.SetStringDelimiter("``");
  EXPECT_EQ(ref0.StrDelimiter(), "``");
  EXPECT_EQ(ref2.StrDelimiter(), "``");
  EXPECT_EQ(ref0.StoredDelimiter(), "\"\"");
  EXPECT_TRUE(model_.Modified());
  EXPECT_TRUE(Item(0).Modified());  // the reference's change reached its item
  EXPECT_FALSE(Item(1).Modified());
}

// ---- Name look-ups ----

TEST(GenModelLookupTest, FindByNameComparesAsciiLettersWithoutCase) {
  TGenModel model;
  for (const char* name : {"abc", "\xE9t\xE9", "ABC", " pad", "x-1"}) model.Cols().Add().SetColName(name);
  struct Case {
    std::string name;
    int index;
  };
  const Case cases[] = {
      {"abc", 0},  {"ABC", 0},        {"aBc", 0},  // duplicates: the first match
      {"\xE9t\xE9", 1}, {"\xC9T\xC9", -1},  // accented capital and small letter differ
      {"\xE9T\xE9", 1},  // the ASCII letter in the middle still folds
      {"pad", -1}, {" PAD", 3},  // nothing trimmed
      {"X-1", 4}, {"", -1},       {"abcd", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.name));
    EXPECT_EQ(model.Cols().IndexOfName(c.name), c.index);
    TColToGenItem* found = model.Cols().FindByName(c.name);
    EXPECT_EQ(found, c.index < 0 ? nullptr : &model.Cols()[c.index]);
  }
}

TEST(GenModelLookupTest, FindByFieldNameComparesUnderTheLocale) {
  TGenModel model;
  for (const char* field : {"", "  ", "\xC9T\xC9", "Name", "name"}) model.Cols().Add().SetDBColName(field);
  struct Case {
    std::string name;
    int index;
  };
  const Case cases[] = {
      {"\xE9t\xE9", 2}, {"\xC9T\xC9", 2}, {"NAME", 3}, {"name", 3},
      {" name", -1},  // the name itself is not trimmed
      {"", -1},       {"  ", -1}, {"\t", -1},  // blank names find nothing, even blank fields
      {"nam", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.name));
    TColToGenItem* found = model.Cols().FindByFieldName(c.name);
    EXPECT_EQ(found, c.index < 0 ? nullptr : &model.Cols()[c.index]);
  }
}

// ---- Run hooks ----

TEST_F(ModelTest, PrepareAllAndNewRecordDriveACounter) {
  Item(1).SetColType(ctIncremental);
  auto& inc = static_cast<TCPIncremental&>(Item(1).Param());
  inc.SetStartValue(100);
  inc.SetStep(10);
  Item(2).SetColType(ctConst);
  auto& title = static_cast<TCPConst&>(Item(2).Param());
  title.SetConstValue("k");

  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    model_.PrepareAll();
    std::vector<std::string> values;
    for (int record = 0; record < 10; ++record) {
      model_.NewRecord();
      EXPECT_EQ(inc.LastValue(), "");
      EXPECT_EQ(title.LastValue(), "");
      values.emplace_back(inc.GetValue());
      EXPECT_EQ(inc.GetValue(), values.back());  // one draw per record
      EXPECT_EQ(title.GetValue(), "k");
    }
    EXPECT_EQ(values, (std::vector<std::string>{"110", "120", "130", "140", "150", "160", "170",
                                                "180", "190", "200"}));
  }
}

TEST(GenModelTest, NewRecordDrawsTheRecordsTitle) {
  RandSeed(5);
  TGenModel model;
  const std::set<std::string> titles{"Mr.", "Mrs.", "Miss"};
  const std::set<std::string> codes{"0", "1", "2"};
  std::set<std::string> seen;
  for (int record = 0; record < 200; ++record) {
    model.NewRecord();
    const std::string value(PersonOf(model).LastValue());
    EXPECT_TRUE(titles.count(value)) << value;
    EXPECT_TRUE(codes.count(std::string(PersonOf(model).LastInternalValue())));
    seen.insert(value);
  }
  EXPECT_EQ(seen, titles);
}

}  // namespace
}  // namespace kelvast
