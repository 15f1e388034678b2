// SPDX-License-Identifier: MIT
// What Kelvast writes, loaded by the databases themselves: SQL scripts of a run under a German
// number locale, CSV files through PostgreSQL's COPY, and table and column names made to break
// out of their quotes, which must stay names.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "core/database/database_fixture.h"
#include "core/output/generation_run.h"
#include "core/output/output_fixture.h"
#include "core/platform/format_settings.h"
#include "core/platform/text_utils.h"

namespace kelvast::test {
namespace {

namespace fs = std::filesystem;

template <class B>
class LoadBackTest : public DatabaseTest<B> {
 protected:
  TRunResult Generate(TGenModel& model, TOutputMode mode, int records) {
    model.SetSQLFile((this->Temp / "out").string());
    model.SetRecNumber(records);
    TRunOptions options;
    options.Mode = mode;
    options.DictFolder = KELVAST_DICT_DIR;
    options.Connection = &this->Db();
    TRunObserver quiet;
    return RunGeneration(model, options, quiet);
  }
};
TYPED_TEST_SUITE(LoadBackTest, Backends, BackendNames);

TYPED_TEST(LoadBackTest, NamesThatTryToEndTheirQuotesStayNames) {
  this->Run({"CREATE TABLE victim (v integer)", "INSERT INTO victim VALUES (1)"});
  const char* const tables[] = {
      "t\" (v) VALUES ('a'); DROP TABLE victim; --",
      "t\" (v) VALUES (1); DROP TABLE victim; CREATE TABLE \"x",
  };
  for (const char* table : tables) {
    SCOPED_TRACE(table);
    TGenModel model;
    model.SetTableName(table);
    model.SetDelimiter("\"\"");
    AddConst(model, "v", "1", etNum);
    AddConst(model, "w\"); DROP TABLE victim; --", "2", etNum);
    const TRunResult result = this->Generate(model, omDatabase, 3);
    EXPECT_EQ(result.FailedStatements, 3);  // no such table, and nothing else ran
    EXPECT_EQ(this->Count("victim"), 1);
  }
}

TYPED_TEST(LoadBackTest, SqlOfAGermanLocaleRunLoads) {
  this->Run({"CREATE TABLE prices (price numeric(6,2), id integer)"});
  const TFormatSettings saved = FormatSettings();
  FormatSettings().DecimalSeparator = ',';
  TGenModel model;
  model.SetTableName("prices");
  model.SetDelimiter("\"\"");
  TColToGenItem& price = model.Cols().Add();
  price.SetDBColName("price");
  price.SetColType(ctFloat);
  static_cast<TCPFloat&>(price.Param()).SetMinValue(1);
  static_cast<TCPFloat&>(price.Param()).SetMaxValue(9.99);
  AddCounter(model, "id");
  this->Generate(model, omSqlScript, 200);
  this->Generate(model, omDatabase, 200);
  FormatSettings() = saved;
  for (const std::string& line : SplitLines(ReadFileBytes(this->Temp / "out.sql")))
    if (line.rfind("INSERT", 0) == 0) this->Db().Execute(line);
  EXPECT_EQ(this->Count("prices"), 400);
  EXPECT_EQ(this->Db().Query("SELECT COUNT(*) FROM prices WHERE price < 1 OR price > 9.99").at(0),
            "0");
  EXPECT_EQ(this->Db().Query("SELECT COUNT(*) FROM prices WHERE price <> FLOOR(price)").at(0) == "0",
            false);
}

TYPED_TEST(LoadBackTest, CsvLoadsThroughCopy) {
  if constexpr (!std::is_same_v<TypeParam, PostgresDatabase>) {
    GTEST_SKIP() << "COPY is PostgreSQL's";
  } else {
    this->Run({"CREATE TABLE notes (id integer, note text, amount text)"});
    TGenModel model;
    AddCounter(model, "id");
    AddConst(model, "note", "He said \"hi\", O'Brien\r\non two lines, caf\xE9");
    AddConst(model, "amount", "1,5", etNum);
    this->Generate(model, omCsv, 20);
    // The server reads the file itself, as its own user.
    ::chmod(this->Temp.Path().c_str(), 0755);
    this->Db().Execute("COPY notes FROM '" + (this->Temp / "out.csv").string() +
                       "' WITH (FORMAT csv, HEADER true, ENCODING 'WIN1252')");
    EXPECT_EQ(this->Count("notes"), 20);
    EXPECT_EQ(this->Db().Query("SELECT DISTINCT note FROM notes"),
              std::vector<std::string>{"He said \"hi\", O'Brien\r\non two lines, caf\xE9"});
    EXPECT_EQ(this->Db().Query("SELECT DISTINCT amount FROM notes"),
              std::vector<std::string>{"1,5"});
    EXPECT_EQ(this->Db().Query("SELECT MAX(id) FROM notes").at(0), "20");
  }
}

}  // namespace
}  // namespace kelvast::test
