// SPDX-License-Identifier: MIT
// Column references reading real tables on both databases: only the distinct values of the named
// column, names quoted with the model's delimiters, and the driver's error for a missing table.

#include <gtest/gtest.h>

#include <set>

#include "core/database/database_fixture.h"
#include "core/generators/composite_gens.h"
#include "core/model/gen_model.h"
#include "core/platform/errors.h"
#include "core/platform/random.h"

namespace kelvast::test {
namespace {

template <class B>
class ColumnRefTest : public DatabaseTest<B> {
 protected:

  // The values a column reference draws in `draws` records.
  std::set<std::string> Draw(const std::string& table, const std::string& field,
                             const std::string& delimiter, int draws = 300) {
    TGenModel model;
    TColToGenItem& item = model.Cols().Add();
    item.SetColName("ref");
    item.SetColType(ctColRef);
    auto& ref = static_cast<TCPColRef&>(item.Param());
    ref.SetTable(table);
    ref.SetField(field);
    ref.SetDelimiter(delimiter);
    RandSeed(7);
    model.PrepareAll(&this->Db());
    std::set<std::string> values;
    for (int i = 0; i < draws; ++i) {
      model.NewRecord();
      values.emplace(ref.GetValue());
    }
    return values;
  }
};
TYPED_TEST_SUITE(ColumnRefTest, Backends, BackendNames);

TYPED_TEST(ColumnRefTest, DrawsOnlyTheDistinctValuesOfItsColumn) {
  // Names with a blank and capitals need the delimiters on every engine.
  this->Run({"CREATE TABLE \"World Cities\" (\"Town Name\" varchar(40), country varchar(40))",
             "INSERT INTO \"World Cities\" VALUES ('Paris', 'FR'), ('Lyon', 'FR'), "
             "('Paris', 'FR'), ('Rome', 'IT'), ('Paris', 'FR'), (' Nice ', 'FR')"});
  EXPECT_EQ(this->Draw("World Cities", "Town Name", "\"\""),
            (std::set<std::string>{"Lyon", "Nice", "Paris", "Rome"}));
  EXPECT_EQ(this->Draw("World Cities", "country", "\""), (std::set<std::string>{"FR", "IT"}));
}

TYPED_TEST(ColumnRefTest, EmptyTableAndNullValues) {
  this->Run({"CREATE TABLE empty_one (v varchar(10))", "CREATE TABLE some_nulls (v varchar(10))",
             "INSERT INTO some_nulls VALUES (NULL), ('a')"});
  // An empty column has no value to draw: an error naming it, not a placeholder.
  try {
    this->Draw("empty_one", "v", "\"\"", 5);
    ADD_FAILURE() << "an empty column was accepted";
  } catch (const EGenerationError& e) {
    EXPECT_NE(std::string(e.what()).find("empty_one.v"), std::string::npos) << e.what();
  }
  // A NULL row is an empty entry; drawing it gives the empty value.
  EXPECT_EQ(this->Draw("some_nulls", "v", "\"\""), (std::set<std::string>{"", "a"}));
}

TYPED_TEST(ColumnRefTest, NamesComeFromTheCatalogueWhateverTheModelsDelimiter) {
  // With apostrophes for delimiters the names would be texts, and every value the field's name.
  this->Run({"CREATE TABLE towns (name varchar(20), \"we\"\"ird\" varchar(20))",
             "INSERT INTO towns VALUES ('Oslo', 'x'), ('Lima', 'y')"});
  EXPECT_EQ(this->Draw("towns", "name", "''"), (std::set<std::string>{"Lima", "Oslo"}));
  EXPECT_EQ(this->Draw("towns", "NAME", "[]"), (std::set<std::string>{"Lima", "Oslo"}));
  EXPECT_EQ(this->Draw("towns", "we\"ird", "''"), (std::set<std::string>{"x", "y"}));
}

TYPED_TEST(ColumnRefTest, MissingTableOrFieldIsAnErrorNamingIt) {
  this->Run({"CREATE TABLE towns (name varchar(20))"});
  const struct {
    const char* table;
    const char* field;
    const char* named;
  } cases[] = {{"nowhere", "name", "nowhere"}, {"towns", "nmae", "nmae"},
               {"towns\" x", "name", "towns\" x"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.table);
    try {
      this->Draw(c.table, c.field, "''", 1);
      ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& e) {
      EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace kelvast::test
