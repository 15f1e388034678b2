// SPDX-License-Identifier: MIT
// The check of a model against its live table before a direct insert, on both databases: what
// each engine refuses is found before the first row, all problems together, and a model that
// fits is let through, also into fields whose driver reports limits the table does not have.

#include <gtest/gtest.h>

#include <functional>

#include "core/database/database_fixture.h"
#include "core/generators/dictionary_gens.h"
#include "core/generators/temporal_gens.h"
#include "core/output/generation_run.h"
#include "core/output/output_fixture.h"
#include "core/output/table_check.h"

namespace kelvast::test {
namespace {

template <class P>
P& Add(TGenModel& model, const std::string& field, TColType type) {
  TColToGenItem& item = model.Cols().Add();
  item.SetColName(field);
  item.SetDBColName(field);
  item.SetColType(type);
  return static_cast<P&>(item.Param());
}

TCPString& AddText(TGenModel& model, const std::string& field, int length) {
  auto& p = Add<TCPString>(model, field, ctstring);
  p.SetCharsetText("abc");
  p.SetMinSize(length);
  p.SetDataLength(length);
  return p;
}

TCPInteger& AddInteger(TGenModel& model, const std::string& field, int low, int high) {
  auto& p = Add<TCPInteger>(model, field, ctInteger);
  p.SetMinValue(low);
  p.SetMaxValue(high);
  return p;
}

// A model that fills every field of the table within its limits.
void FittingModel(TGenModel& model) {
  AddCounter(model, "id");
  AddText(model, "code", 5);
  auto& amount = Add<TCPFloat>(model, "amount", ctFloat);
  amount.SetMinValue(0);
  amount.SetMaxValue(999.99);
  amount.SetPrecision(2);
  Add<TCPBit>(model, "active", ctBit);
  Add<TCPDate>(model, "born", ctDate).SetFormat("yyyy-mm-dd");
  AddText(model, "note", 3000);
  AddConst(model, "label", "abc");
  AddText(model, "unbounded", 500);  // VARCHAR without a length
  AddInteger(model, "plain", 1, 2000000000);  // NUMERIC without a precision
}

template <class B>
class TableCheckTest : public DatabaseTest<B> {
 protected:
  void SetUp() override {
    DatabaseTest<B>::SetUp();
    this->Run({"CREATE TABLE checked (id INTEGER NOT NULL, code VARCHAR(5), "
               "amount NUMERIC(5,2), active BOOLEAN, born DATE, note TEXT, "
               "label VARCHAR(10) NOT NULL, unbounded VARCHAR, plain NUMERIC)"});
  }

  // The problems the check finds for the model built by `build` from FittingModel.
  std::vector<std::string> Problems(const std::function<void(TGenModel&)>& build) {
    TGenModel model;
    model.SetTableName("checked");
    model.SetRecNumber(100);
    FittingModel(model);
    build(model);
    try {
      RequireTableFits(model, this->Db(), model.RecNumber());
    } catch (const ETableMismatch& e) {
      return e.Problems();
    }
    return {};
  }

  static bool IsPostgres() { return std::string(B::kName) == "PostgreSQL"; }
};
TYPED_TEST_SUITE(TableCheckTest, Backends, BackendNames);

TYPED_TEST(TableCheckTest, FindsWhatTheEngineRefuses) {
  struct Case {
    const char* what;
    std::function<void(TGenModel&)> build;
    // The problem found on every engine, or only where types and lengths hold (PostgreSQL).
    std::vector<std::string> everywhere;
    std::vector<std::string> strict;
  };
  const auto replace = [](const char* field, auto add) {
    return [field, add](TGenModel& m) {
      m.Cols().Delete(m.Cols().IndexOfName(field));
      add(m);
    };
  };
  const Case cases[] = {
      {"a fitting model", [](TGenModel&) {}, {}, {}},
      {"a field the table lacks", [](TGenModel& m) { AddConst(m, "nothere", "x"); },
       {"Field \"nothere\" does not exist."}, {}},
      {"a NOT NULL field left out", replace("label", [](TGenModel&) {}),
       {"Field \"label\" is NOT NULL, and no generator fills it."}, {}},
      {"NULLs into a NOT NULL field", [](TGenModel& m) {
         auto& label = m.Cols()[m.Cols().IndexOfName("label")].Param();
         label.SetAllowNull(true);
         label.SetNullPercent(10);
       },
       {"\"label\" writes NULL in 10 % of records; field \"label\" is NOT NULL."}, {}},
      {"text longer than its field", replace("code", [](TGenModel& m) { AddText(m, "code", 8); }),
       {}, {"\"code\" writes values of up to 8 characters; field \"code\" is varchar(5)."}},
      {"a town list longer than its field",
       replace("code", [](TGenModel& m) { Add<TCPTown>(m, "code", ctTown); }), {},
       {"\"code\" writes values of up to"}},
      {"an integer past the precision",
       replace("amount", [](TGenModel& m) { AddInteger(m, "amount", 1, 100000); }), {},
       {"\"amount\" writes numbers of up to 6 digits before the decimal point; field \"amount\" "
        "is numeric(5,2)."}},
      // 900 + 100 = 1000 at the run's last record: four digits where numeric(5,2) holds three.
      {"a counter that passes the precision during the run",
       replace("amount",
               [](TGenModel& m) {
                 auto& item = AddCounter(m, "amount");
                 static_cast<TCPIncremental&>(item.Param()).SetStartValue(900);
               }),
       {}, {"\"amount\" writes numbers of up to 4 digits before the decimal point"}},
      {"a counter that would wrap around within the run",
       [](TGenModel& m) {
         static_cast<TCPIncremental&>(m.Cols()[0].Param()).SetStartValue(INT32_MAX - 50);
       },
       {"\"id\" counts past the 32-bit range within the run's 100 records"}, {}},
      {"text into an integer", replace("id", [](TGenModel& m) { AddText(m, "id", 3); }), {},
       {"\"id\" writes values that are not numbers; field \"id\" is int4."}},
      {"an integer into a date",
       replace("born", [](TGenModel& m) { AddInteger(m, "born", 1, 9); }), {},
       {"\"born\" writes values that are not dates; field \"born\" is date."}},
      {"a town into a boolean",
       replace("active", [](TGenModel& m) { Add<TCPTown>(m, "active", ctTown); }), {},
       {"\"active\" writes values that are not booleans; field \"active\" is bool."}},
  };
  TWordListsLoaded lists(KELVAST_DICT_DIR);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<std::string> found = this->Problems(c.build);
    std::vector<std::string> expected = c.everywhere;
    if (this->IsPostgres()) expected.insert(expected.end(), c.strict.begin(), c.strict.end());
    ASSERT_EQ(found.size(), expected.size()) << ::testing::PrintToString(found);
    for (size_t i = 0; i < found.size(); ++i)
      EXPECT_EQ(found[i].substr(0, expected[i].size()), expected[i]);
  }
}

TYPED_TEST(TableCheckTest, TheRunListsEveryProblemAndInsertsNothing) {
  TGenModel model;
  model.SetTableName("checked");
  model.SetRecNumber(50);
  AddCounter(model, "id");
  AddConst(model, "nothere", "x");
  AddConst(model, "missing", "y");
  TRunOptions options;
  options.Mode = omDatabase;
  options.DictFolder = KELVAST_DICT_DIR;
  options.Connection = &this->Db();
  TRunObserver observer;
  try {
    RunGeneration(model, options, observer);
    FAIL() << "the run was not refused";
  } catch (const ETableMismatch& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("The model does not fit the table \"checked\":"), std::string::npos);
    for (const char* line : {"Field \"nothere\" does not exist.", "Field \"missing\" does not exist.",
                             "Field \"label\" is NOT NULL, and no generator fills it."})
      EXPECT_NE(text.find(line), std::string::npos) << text;
  }
  EXPECT_EQ(this->Count("checked"), 0);
  EXPECT_FALSE(this->Db().InTransaction());
}

}  // namespace
}  // namespace kelvast::test
