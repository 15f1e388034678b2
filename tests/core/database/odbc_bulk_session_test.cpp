// SPDX-License-Identifier: MIT
// The parameter session that any ODBC driver gets, on the SQLite driver and on psqlODBC, as
// arrays and row by row: numbers and texts stored exactly as their INSERT statements store them,
// texts that would end a string literal early where backslashes escape, and the failing row of
// an array named so that the rows before it load again.

#include <gtest/gtest.h>

#include <type_traits>

#include "core/database/bulk_session.h"
#include "core/database/database_fixture.h"
#include "core/database/odbc_bulk_session.h"
#include "core/database/value_rows.h"

namespace kelvast::test {
namespace {

template <class B>
class OdbcBulkSessionTest : public DatabaseTest<B> {
 protected:
  static constexpr bool kSqlite = std::is_same_v<B, SqliteDatabase>;

  std::unique_ptr<TBulkSession> Open(const TBulkTarget& target, bool arrays) {
    std::unique_ptr<TBulkSession> session = this->Db().OpenParameterSession(target, arrays);
    EXPECT_EQ(session->PathName(), arrays ? "parameter arrays" : "bound parameters");
    return session;
  }
  // The column's value as it is stored: SQLite's storage class and literal, PostgreSQL's text
  // form; "error" when the insert failed.
  std::string Stored(const std::string& table, const std::string& column) {
    const std::string value = kSqlite ? "typeof(" + column + ") || ' ' || quote(" + column + ")"
                                      : "COALESCE(" + column + "::text, '<null>')";
    const std::vector<std::string> rows = this->Db().Query("SELECT " + value + " FROM " + table);
    return rows.empty() ? "error" : rows.front();
  }
  // Every row's values as stored, in id order.
  std::vector<std::string> StoredRows(const std::string& table,
                                      const std::vector<std::string>& columns) {
    std::string select;
    for (const std::string& c : columns)
      select += (select.empty() ? "" : " || ' | ' || ") +
                (kSqlite ? "typeof(" + c + ") || ' ' || quote(" + c + ")"
                         : "COALESCE(" + c + "::text, '<null>')");
    return this->Db().Query("SELECT " + select + " FROM " + table + " ORDER BY id");
  }
};
TYPED_TEST_SUITE(OdbcBulkSessionTest, Backends, BackendNames);

TYPED_TEST(OdbcBulkSessionTest, NumbersStoreWhatTheirLiteralsStore) {
  const std::vector<std::string> types =
      TestFixture::kSqlite
          ? std::vector<std::string>{"integer", "real", "numeric", "", "text"}
          : std::vector<std::string>{"integer", "bigint", "numeric", "numeric(8,2)",
                                     "double precision", "real", "text"};
  const char* literals[] = {"42",      "-3",       "+7",      "0",           "12.50",
                            "1.5E+10", "-2.5e-3",  ".5",      "12.",         "1.0",
                            "1e999",   "-1e-999",  "0042",    "9223372036854775807",
                            "-9223372036854775808", "9223372036854775808",
                            "0.1234567890123456789", "1 + 1", "'5'"};
  for (const std::string& type : types) {
    this->Run({"DROP TABLE IF EXISTS v", "CREATE TABLE v (x " + type + ")"});
    const TBulkTarget target = SplicingTarget("v", {{"x", true}});
    for (const char* literal : literals) {
      SCOPED_TRACE(type + " " + literal);
      const TValueBatch batch = MakeBatch(1, {{literal}});
      this->Run({"DELETE FROM v"});
      try {
        this->Db().Execute(target.Statement(batch, 0));
      } catch (const EDatabaseError&) {
      }
      const std::string spliced = this->Stored("v", "x");
      for (const bool arrays : {true, false}) {
        this->Run({"DELETE FROM v"});
        try {
          this->Open(target, arrays)->Load(batch, 0, 1);
        } catch (const EBulkLoadError&) {
        }
        EXPECT_EQ(this->Stored("v", "x"), spliced) << (arrays ? "arrays" : "single rows");
      }
    }
  }
}

TYPED_TEST(OdbcBulkSessionTest, RowsOfMixedValuesStoreWhatTheirStatementsStore) {
  // Number columns that change kind from row to row, texts that need quoting and escaping, a
  // date written as text, NULLs and empty texts; more rows than one array holds.
  const std::string columns = TestFixture::kSqlite
                                  ? "(id integer, n numeric, u, t text, d date)"
                                  : "(id integer, n numeric, u text, t varchar(700), d date)";
  const std::vector<TBulkColumn> target = {
      {"id", true}, {"n", true}, {"u", true}, {"t", false}, {"d", false}};
  const std::vector<std::string> names = {"id", "n", "u", "t", "d"};
  const char* numbers[] = {"7", "2.50", "-1e3", "12", "0.001", "99999999999999999999"};
  const char* texts[] = {"it's \"quoted\"; -- no comment", "back\\slash \\' \\\\", "",
                         "line\r\nbreak\ttab", "caf\xE9 \x80 \xFF", "\\", "x"};
  std::vector<TValueRow> rows;
  const size_t count = TOdbcBulkSession::kArrayRows * 2 + 37;
  for (size_t i = 0; i < count; ++i) {
    TValueRow row = {std::to_string(i + 1), numbers[i % std::size(numbers)],
                     numbers[(i / 3) % std::size(numbers)], texts[i % std::size(texts)],
                     "2024-02-" + std::to_string(10 + i % 19)};
    if (i % 11 == 4) row[1] = std::nullopt;
    if (i % 13 == 6) row[3] = std::nullopt;
    if (i == 500) row[3] = std::string(600, '\xE9');
    rows.push_back(row);
  }
  const TValueBatch batch = MakeBatch(names.size(), rows);
  this->Run({"CREATE TABLE spliced " + columns});
  const TBulkTarget spliced = SplicingTarget("spliced", target);
  this->Db().BeginTrans();
  for (size_t row = 0; row < batch.Rows(); ++row)
    this->Db().Execute(spliced.Statement(batch, row));
  this->Db().CommitTrans();
  const std::vector<std::string> expected = this->StoredRows("spliced", names);
  ASSERT_EQ(expected.size(), count);
  for (const bool arrays : {true, false}) {
    SCOPED_TRACE(arrays ? "arrays" : "single rows");
    this->Run({"DROP TABLE IF EXISTS bound", "CREATE TABLE bound " + columns});
    auto session = this->Open(SplicingTarget("bound", target), arrays);
    session->Begin();
    session->Load(batch, 0, 3);
    session->Load(batch, 3, batch.Rows() - 3);
    session->Commit();
    const std::vector<std::string> stored = this->StoredRows("bound", names);
    ASSERT_EQ(stored.size(), count);
    for (size_t i = 0; i < count; ++i)
      EXPECT_EQ(stored[i], expected[i]) << "row " << i;
  }
}

TYPED_TEST(OdbcBulkSessionTest, TextsThatEndALiteralUnderBackslashEscapesStayTexts) {
  // Where a backslash escapes the next character in string literals, a spliced value ending in a
  // backslash ends its literal early; a bound value is never read as a literal.
  if (!TestFixture::kSqlite) this->Run({"SET standard_conforming_strings = off"});
  this->Run({"CREATE TABLE victim (v integer)", "CREATE TABLE t (id integer, s text)"});
  const std::vector<std::string> values = {
      "\\", "a\\'b", "\\'); DROP TABLE victim; --", "it''s \\\\ \"q\"", "\\N \\t \\x41"};
  for (const bool arrays : {true, false}) {
    SCOPED_TRACE(arrays ? "arrays" : "single rows");
    this->Run({"DELETE FROM t"});
    std::vector<TValueRow> rows;
    for (size_t i = 0; i < values.size(); ++i)
      rows.push_back({std::to_string(i), values[i]});
    const TValueBatch batch = MakeBatch(2, rows);
    auto session = this->Open(SplicingTarget("t", {{"id", true}, {"s", false}}), arrays);
    session->Load(batch, 0, batch.Rows());
    session->InsertRow(batch, 2);
    std::vector<std::string> expected = values;
    expected.insert(expected.begin() + 3, values[2]);
    EXPECT_EQ(this->Db().Query("SELECT s FROM t ORDER BY id"), expected);
  }
  EXPECT_EQ(this->Count("victim"), 0);
}

TYPED_TEST(OdbcBulkSessionTest, FailingRowOfAnArrayIsNamedAndTheRowsBeforeItLoadAgain) {
  this->Run({"CREATE TABLE t (id integer CHECK (id <> 0), u text UNIQUE)"});
  const TBulkTarget target = SplicingTarget("t", {{"id", true}, {"u", false}});
  const size_t rows = TOdbcBulkSession::kArrayRows + 200;
  struct Case {
    const char* what;
    size_t row;     // the failing row
    bool check;     // CHECK, else UNIQUE against the first row
    size_t first;   // the first row loaded
  };
  const Case cases[] = {
      {"CHECK, first row", 0, true, 0},
      {"UNIQUE, within the first array", 700, false, 0},
      {"CHECK, in the second array", TOdbcBulkSession::kArrayRows + 50, true, 0},
      {"UNIQUE, last row of a load from the middle", rows - 1, false, 100},
  };
  for (const bool arrays : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (arrays ? ", arrays" : ", single rows"));
      this->Run({"DELETE FROM t"});
      std::vector<TValueRow> values;
      for (size_t i = 0; i < rows; ++i)
        values.push_back({std::to_string(i + 1), "u" + std::to_string(i)});
      if (c.check)
        values[c.row][0] = "0";
      else
        values[c.row][1] = values[c.first][1];
      const TValueBatch batch = MakeBatch(2, values);
      auto session = this->Open(target, arrays);
      session->Begin();
      session->Execute("SAVEPOINT b");
      try {
        session->Load(batch, c.first, rows - c.first);
        ADD_FAILURE() << "the load did not fail";
      } catch (const EBulkLoadError& e) {
        // Row by row the row is named; an array may only narrow it down to a part of the load.
        if (!arrays) EXPECT_EQ(e.Row(), static_cast<long>(c.row));
        EXPECT_LE(e.SuspectsFrom(), static_cast<long>(c.row));
        EXPECT_GT(e.SuspectsTo(), static_cast<long>(c.row));
        EXPECT_GE(e.SuspectsFrom(), static_cast<long>(c.first));
        EXPECT_LT(e.SuspectsTo() - e.SuspectsFrom(), static_cast<long>(rows - c.first));
      }
      session->Execute("ROLLBACK TO SAVEPOINT b");
      session->Load(batch, c.first, c.row - c.first);
      session->Execute("SAVEPOINT r");
      try {
        session->InsertRow(batch, c.row);
        ADD_FAILURE() << "the row alone did not fail";
      } catch (const EDatabaseError&) {
        session->Execute("ROLLBACK TO SAVEPOINT r");
      }
      session->Execute("RELEASE SAVEPOINT b");
      session->Commit();
      EXPECT_EQ(this->Count("t"), static_cast<int64_t>(c.row - c.first));
    }
  }
}

}  // namespace
}  // namespace kelvast::test
