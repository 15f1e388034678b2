// SPDX-License-Identifier: MIT
// The SQLite bulk path on real files, read back through the ODBC connection: values stored as
// their INSERT statements store them, the failing row of a load and the steps that narrow it
// down, the file checks of the connection, its foreign-key setting, and a database that another
// connection holds.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "core/database/bulk_session.h"
#include "core/database/database_fixture.h"
#include "core/database/value_rows.h"

namespace kelvast::test {
namespace {

using Row = TValueRow;

constexpr int kSqliteConstraint = 19;  // SQLITE_CONSTRAINT, the primary code of every constraint

class SqliteBulkSessionTest : public DatabaseTest<SqliteDatabase> {
 protected:
  std::unique_ptr<TBulkSession> Open(TOdbcConnection& db, const TBulkTarget& target) {
    std::unique_ptr<TBulkSession> session = db.OpenBulkSession(target);
    if (!session) throw std::runtime_error("no bulk session on an SQLite file");
    EXPECT_EQ(session->PathName(), "prepared statement");
    return session;
  }
  void Load(const TBulkTarget& target, const TValueBatch& batch) {
    auto session = Open(Db(), target);
    session->Begin();
    session->Load(batch, 0, batch.Rows());
    session->Commit();
  }
  // The same rows through their INSERT statements on the connection.
  void Splice(const TBulkTarget& target, const TValueBatch& batch) {
    for (size_t row = 0; row < batch.Rows(); ++row)
      Db().Execute(target.Statement(batch, row));
  }
  // Each row's values as "type value", which tells an integer from a real from a text.
  std::vector<std::string> Typed(const std::string& table, const std::vector<std::string>& columns) {
    std::string select;
    for (const std::string& c : columns)
      select += (select.empty() ? "" : " || ' | ' || ") + ("typeof(" + c + ") || ' ' || quote(" +
                                                            c + ")");
    return Db().Query("SELECT " + select + " FROM " + table + " ORDER BY rowid");
  }
};

TEST_F(SqliteBulkSessionTest, TextsReadBackAsWritten) {
  // Names that need their delimiters, one of them outside ASCII.
  Run({"CREATE TABLE \"bulk rows\" (\"caf\xE9\" text, b text)",
       "CREATE TABLE spliced (\"caf\xE9\" text, b text)"});
  const std::vector<TBulkColumn> columns = {{"\"caf\xE9\"", false}, {"b", false}};
  const std::string longAccents(600, '\xE9');  // grows the conversion buffer within one row
  const std::vector<Row> rows = {
      {"line one\r\nline two", "it's \"quoted\"; -- not a comment"},
      {"caf\xE9 \x80 5", longAccents + "\x80"},
      {"", std::nullopt},
      {std::nullopt, ""},
      {"\t\xFF\xA0", "plain"},
  };
  const TValueBatch batch = MakeBatch(2, rows);
  Load(SplicingTarget("\"bulk rows\"", columns), batch);
  Splice(SplicingTarget("spliced", columns), batch);

  const std::vector<std::string> names = {"\"caf\xE9\"", "b"};
  EXPECT_EQ(Typed("\"bulk rows\"", names), Typed("spliced", names));
  for (size_t c = 0; c < 2; ++c) {
    const std::vector<std::string> back = Db().Query(
        "SELECT coalesce(" + names[c] + ", '<null>') FROM \"bulk rows\" ORDER BY rowid");
    ASSERT_EQ(back.size(), rows.size());
    for (size_t r = 0; r < rows.size(); ++r)
      EXPECT_EQ(back[r], rows[r][c].value_or("<null>")) << "row " << r << " column " << c;
  }
}

TEST_F(SqliteBulkSessionTest, NumbersTakeTheTypesOfTheirLiterals) {
  const std::string columnsSql = "(i integer, r real, n numeric, u, t text)";
  Run({"CREATE TABLE bulk " + columnsSql, "CREATE TABLE spliced " + columnsSql});
  const std::vector<std::string> names = {"i", "r", "n", "u", "t"};
  std::vector<TBulkColumn> columns;
  for (const std::string& name : names)
    columns.push_back({name, true});
  const char* literals[] = {"42",      "-3",       "+7",      "0",           "12.50",
                            "1.5E+10", "-2.5e-3",  ".5",      "12.",         "1.0",
                            "1e999",   "-1e-999",  "0042",    "9223372036854775807",
                            "-9223372036854775808", "9223372036854775808"};
  std::vector<Row> rows;
  for (const char* literal : literals)
    rows.push_back(Row(names.size(), std::string(literal)));
  rows.push_back(Row(names.size(), std::nullopt));
  const TValueBatch batch = MakeBatch(names.size(), rows);
  Load(SplicingTarget("bulk", columns), batch);
  Splice(SplicingTarget("spliced", columns), batch);

  const std::vector<std::string> bulk = Typed("bulk", names);
  const std::vector<std::string> spliced = Typed("spliced", names);
  ASSERT_EQ(bulk.size(), rows.size());
  for (size_t r = 0; r < bulk.size(); ++r)
    EXPECT_EQ(bulk[r], spliced[r]) << (r < std::size(literals) ? literals[r] : "NULL");
}

TEST_F(SqliteBulkSessionTest, FailingRowIsNamedAndTheRowsBeforeItLoadAgain) {
  Run({"CREATE TABLE t (id integer, v integer CHECK (v > 0), u text UNIQUE, n text NOT NULL)"});
  const TBulkTarget target =
      SplicingTarget("t", {{"id", true}, {"v", true}, {"u", false}, {"n", false}});
  struct Case {
    const char* what;
    size_t row;                                  // the failing row
    size_t column;                               // and the value that makes it fail
    std::optional<std::string> value;
    size_t first, count;                         // the rows loaded
  };
  const Case cases[] = {
      {"CHECK, first row", 0, 1, "-1", 0, 5},
      {"UNIQUE, middle row", 2, 2, "u1", 0, 5},
      {"NOT NULL, last row", 4, 3, std::nullopt, 0, 5},
      {"UNIQUE, a load from the second row", 3, 2, "u1", 1, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Run({"DELETE FROM t"});
    std::vector<Row> rows;
    for (int i = 0; i < 5; ++i)
      rows.push_back({std::to_string(i), std::to_string(i + 1), "u" + std::to_string(i), "n"});
    rows[c.row][c.column] = c.value;
    const TValueBatch batch = MakeBatch(4, rows);
    auto session = Open(Db(), target);
    session->Begin();
    session->Execute("SAVEPOINT b");
    try {
      session->Load(batch, c.first, c.count);
      ADD_FAILURE() << "the load did not fail";
    } catch (const EBulkLoadError& e) {
      EXPECT_EQ(e.Row(), static_cast<long>(c.row));
      EXPECT_EQ(e.NativeError() & 0xFF, kSqliteConstraint) << e.NativeError();
      EXPECT_NE(std::string(e.what()).find("constraint failed"), std::string::npos) << e.what();
      // The row's own statement, with the rows before it still there, fails the same way.
      try {
        session->InsertRow(batch, c.row);
        ADD_FAILURE() << "the statement did not fail";
      } catch (const EDatabaseError& statementError) {
        EXPECT_STREQ(statementError.what(), e.what());
      }
    }
    session->Execute("ROLLBACK TO SAVEPOINT b");
    session->Load(batch, c.first, c.row - c.first);
    session->Execute("RELEASE SAVEPOINT b");
    session->Commit();
    EXPECT_FALSE(session->InTransaction());
    EXPECT_EQ(Count("t"), static_cast<int64_t>(c.row - c.first));
  }
}

TEST_F(SqliteBulkSessionTest, RollbackKeepsNothing) {
  Run({"CREATE TABLE t (a integer)"});
  auto session = Open(Db(), SplicingTarget("t", {{"a", true}}));
  session->Begin();
  EXPECT_TRUE(session->InTransaction());
  session->Load(MakeBatch(1, {{"1"}, {"2"}}), 0, 2);
  session->Rollback();
  EXPECT_FALSE(session->InTransaction());
  EXPECT_EQ(Count("t"), 0);
}

TEST_F(SqliteBulkSessionTest, ForeignKeysAreCheckedWhenTheConnectionChecksThem) {
  for (const bool enforced : {false, true}) {
    SCOPED_TRACE(enforced ? "enforced" : "not enforced");
    Run({"DROP TABLE IF EXISTS child", "DROP TABLE IF EXISTS parent",
         "CREATE TABLE parent (id integer PRIMARY KEY)", "INSERT INTO parent VALUES (1)",
         "CREATE TABLE child (pid integer REFERENCES parent (id))",
         std::string("PRAGMA foreign_keys = ") + (enforced ? "ON" : "OFF")});
    auto session = Open(Db(), SplicingTarget("child", {{"pid", true}}));
    session->Begin();
    const TValueBatch batch = MakeBatch(1, {{"1"}, {"99"}, {"1"}});
    if (enforced) {
      try {
        session->Load(batch, 0, batch.Rows());
        ADD_FAILURE() << "a row without its parent was loaded";
      } catch (const EBulkLoadError& e) {
        EXPECT_EQ(e.Row(), 1);
      }
      session->Rollback();
    } else {
      session->Load(batch, 0, batch.Rows());
      session->Commit();
      EXPECT_EQ(Count("child"), 3);
    }
  }
}

TEST_F(SqliteBulkSessionTest, MissingFileIsRefusedAsTheConnectionRefusesIt) {
  Run({"CREATE TABLE t (a integer)"});
  const std::string file = ConnectionString().substr(ConnectionString().find("Database=") + 9);
  std::filesystem::remove(file);
  std::string connectionMessage;
  try {
    TOdbcConnection(ConnectionString()).Open();
  } catch (const EDatabaseError& e) {
    connectionMessage = e.what();
  }
  ASSERT_NE(connectionMessage, "");
  try {
    Db().OpenBulkSession(SplicingTarget("t", {{"a", true}}));
    ADD_FAILURE() << "a session opened on a missing file";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.what(), connectionMessage);
  }
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(SqliteBulkSessionTest, InMemoryDatabaseKeepsToItsOwnConnection) {
  // A handle of its own would open another, empty database: the rows go through the driver.
  TOdbcConnection memory(":memory:");
  memory.Open();
  memory.Execute("CREATE TABLE t (a integer)");
  auto session = memory.OpenBulkSession(SplicingTarget("t", {{"a", true}}));
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(session->PathName(), "parameter arrays");
  session->Load(MakeBatch(1, {{"1"}, {"2"}}), 0, 2);
  EXPECT_EQ(memory.Query("SELECT COUNT(*) FROM t"), std::vector<std::string>{"2"});
}

TEST_F(SqliteBulkSessionTest, DatabaseHeldByAnotherConnectionIsNoRowFailure) {
  Run({"CREATE TABLE t (a integer)"});
  TOdbcConnection holder(ConnectionString());
  holder.Open();
  holder.BeginTrans();
  holder.Execute("INSERT INTO t VALUES (1)");
  TOdbcConnection db(ConnectionString() + ";Timeout=100");
  db.Open();
  auto session = Open(db, SplicingTarget("t", {{"a", true}}));
  session->Begin();
  try {
    session->Load(MakeBatch(1, {{"2"}}), 0, 1);
    ADD_FAILURE() << "the load went through a held database";
  } catch (const EBulkLoadError& e) {
    ADD_FAILURE() << "taken for a row failure: " << e.what();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Kind(), fkDatabase) << e.what();
  }
  if (session->InTransaction()) session->Rollback();
  holder.RollbackTrans();
}

}  // namespace
}  // namespace kelvast::test
