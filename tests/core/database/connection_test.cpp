// SPDX-License-Identifier: MIT
// The ODBC connection on both databases: opening and its errors, the table and column lists with
// their type names, queries, statement errors with the driver's diagnostics, transactions, and
// Windows-1252 text crossing the boundary.

#include <gtest/gtest.h>

#include <algorithm>

#include "core/database/database_fixture.h"
#include "core/database/schema.h"

namespace kelvast::test {
namespace {

template <class B>
class ConnectionTest : public DatabaseTest<B> {};
TYPED_TEST_SUITE(ConnectionTest, Backends, BackendNames);

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

TYPED_TEST(ConnectionTest, TableListHoldsTablesOnly) {
  this->Run({"CREATE TABLE people (id integer)", "CREATE TABLE order_lines (id integer)",
             "CREATE VIEW people_view AS SELECT id FROM people",
             "CREATE INDEX people_id ON people (id)"});
  EXPECT_EQ(Sorted(this->Db().TableNames()), (std::vector<std::string>{"order_lines", "people"}));
}

TYPED_TEST(ConnectionTest, ColumnsCarryMappedTypeNames) {
  this->Run(
      {"CREATE TABLE item_list (id integer, name varchar(255) NOT NULL, code char(30), "
       "price numeric(10,2), qty smallint, big bigint, made timestamp, sold date, "
       "stock integer DEFAULT 7)",
       // A table whose name the first one's matches as a search pattern ("_" is a wildcard).
       "CREATE TABLE itemXlist (other integer)"});
  struct Case {
    const char* name;
    const char* type;
    const char* nullable;
    const char* byDefault;
  };
  const Case cases[] = {
      {"id", "Integer (Int32)", "YES", "<no>"},   {"name", "VarChar(255)", "NO", "<no>"},
      {"code", "Char(30)", "YES", "<no>"},        {"price", "Numeric(10.2)", "YES", "<no>"},
      {"qty", "SmallInt (Int16)", "YES", "<no>"}, {"big", "BigInt (Int64)", "YES", "<no>"},
      {"made", "Time Stamp", "YES", "<no>"},      {"sold", "Date", "YES", "<no>"},
      {"stock", "Integer (Int32)", "YES", "7"},
  };
  const std::vector<TColumnInfo> columns = this->Db().Columns("item_list");
  const auto grid = FieldsGrid(columns);
  ASSERT_EQ(columns.size(), std::size(cases));
  for (size_t i = 0; i < columns.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(grid[i + 1][0], cases[i].name);
    EXPECT_EQ(grid[i + 1][1], cases[i].type);
    EXPECT_EQ(grid[i + 1][3], cases[i].byDefault);
    EXPECT_EQ(grid[i + 1][4], cases[i].nullable);
  }
  EXPECT_EQ(TargetFields(columns)[1], (TTargetField{"name", 255}));
  EXPECT_EQ(TargetFields(columns)[0], (TTargetField{"id", 0}));
  EXPECT_TRUE(this->Db().Columns("no_such_table").empty());
}

TYPED_TEST(ConnectionTest, ListTableFieldsNeedsAnOpenConnection) {
  this->Run({"CREATE TABLE pair (a integer, b varchar(5))"});
  std::vector<std::string> list{"stale"};
  ListTableFields(&this->Db(), "pair", list);
  EXPECT_EQ(list, (std::vector<std::string>{"a", "b"}));
  this->Db().Close();
  ListTableFields(&this->Db(), "pair", list);
  EXPECT_TRUE(list.empty());
  ListTableFields(nullptr, "pair", list);
  EXPECT_TRUE(list.empty());
}

TYPED_TEST(ConnectionTest, QueryReturnsFirstColumnWithNullsEmpty) {
  this->Run({"CREATE TABLE words (n integer, w varchar(50))",
             "INSERT INTO words VALUES (1, 'one'), (2, NULL), (3, 'three')"});
  EXPECT_EQ(this->Db().Query("SELECT w, n FROM words ORDER BY n"),
            (std::vector<std::string>{"one", "", "three"}));
  EXPECT_TRUE(this->Db().Query("SELECT w FROM words WHERE n > 10").empty());
  // A value longer than one read of the driver comes back whole.
  const std::string longText(10000, 'x');
  this->Run({"CREATE TABLE big (t text)", "INSERT INTO big VALUES ('" + longText + "')"});
  EXPECT_EQ(this->Db().Query("SELECT t FROM big"), (std::vector<std::string>{longText}));
}

TYPED_TEST(ConnectionTest, TextCrossesAsWindows1252) {
  // e acute, euro sign, a-ring and a line break inside the value.
  const std::string text = "caf\xE9 \x80 5 \xE5\r\nline two";
  this->Run({"CREATE TABLE notes (t varchar(100))", "INSERT INTO notes VALUES ('" + text + "')"});
  EXPECT_EQ(this->Db().Query("SELECT t FROM notes"), (std::vector<std::string>{text}));
  // Stored as Unicode: the database counts characters, not bytes.
  EXPECT_EQ(this->Db().Query("SELECT length(t) FROM notes"),
            (std::vector<std::string>{std::to_string(text.size())}));
}

TYPED_TEST(ConnectionTest, StatementErrorsCarryTheDriversDiagnostics) {
  struct Case {
    const char* sql;
    const char* inMessage;
  };
  const Case cases[] = {
      {"INSERT INTO no_such_table VALUES (1)", "no_such_table"},
      {"SELEKT 1", "SELEKT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    try {
      this->Db().Execute(c.sql);
      ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& e) {
      EXPECT_NE(std::string(e.what()).find(c.inMessage), std::string::npos) << e.what();
      EXPECT_EQ(e.SqlState().size(), 5u) << e.what();
      EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos);
    }
  }
  // The connection stays usable after an error.
  EXPECT_EQ(this->Db().Query("SELECT 1"), (std::vector<std::string>{"1"}));
}

TYPED_TEST(ConnectionTest, TransactionsCommitAndRollBack) {
  this->Run({"CREATE TABLE t (a integer)"});
  TOdbcConnection& db = this->Db();
  EXPECT_FALSE(db.InTransaction());
  db.BeginTrans();
  EXPECT_TRUE(db.InTransaction());
  EXPECT_THROW(db.BeginTrans(), EDatabaseError);
  db.Execute("INSERT INTO t VALUES (1)");
  db.RollbackTrans();
  EXPECT_FALSE(db.InTransaction());
  EXPECT_EQ(this->Count("t"), 0);

  db.BeginTrans();
  db.Execute("INSERT INTO t VALUES (2)");
  db.CommitTrans();
  EXPECT_THROW(db.CommitTrans(), EDatabaseError);
  // Outside a transaction every statement stands on its own.
  db.Execute("INSERT INTO t VALUES (3)");
  db.Close();
  db.Open();
  EXPECT_EQ(Sorted(db.Query("SELECT a FROM t")), (std::vector<std::string>{"2", "3"}));

  // Closing with a transaction open gives its work up.
  db.BeginTrans();
  db.Execute("INSERT INTO t VALUES (4)");
  db.Close();
  db.Open();
  EXPECT_EQ(this->Count("t"), 2);
}

TYPED_TEST(ConnectionTest, ClosedConnectionRefusesWork) {
  TOdbcConnection& db = this->Db();
  db.Close();
  db.Close();  // closing a closed connection does nothing
  EXPECT_FALSE(db.Connected());
  EXPECT_THROW(db.Query("SELECT 1"), EDatabaseError);
  EXPECT_THROW(db.Execute("SELECT 1"), EDatabaseError);
  EXPECT_THROW(db.BeginTrans(), EDatabaseError);
  EXPECT_THROW(db.TableNames(), EDatabaseError);
  db.Open();
  EXPECT_TRUE(db.Connected());
}

TEST(OdbcConnection, OpenFailuresCarryTheDriverManagersMessage) {
  struct Case {
    std::string connection;
    const char* inMessage;
  };
  TempDir dir;
  const Case cases[] = {
      {"", "No connection string"},
      {"DRIVER={No Such Driver};Database=x", "No Such Driver"},
      {"DSN=no_such_source", "Data source name not found"},
      {"DRIVER={PostgreSQL Unicode};Server=127.0.0.1;Port=1;Database=x;Uid=postgres",
       "Connection refused"},
      {(dir / "missing" / "x.db").string(), "does not exist"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.connection);
    TOdbcConnection db(c.connection);
    try {
      db.Open();
      ADD_FAILURE() << "opened";
    } catch (const EDatabaseError& e) {
      EXPECT_NE(std::string(e.what()).find(c.inMessage), std::string::npos) << e.what();
    }
    EXPECT_FALSE(db.Connected());
  }
}

TEST(OdbcConnection, FileDataSourceAndBarePathReachTheSameDatabase) {
  TempDir dir;
  const std::string file = (dir / "sales.db").string();
  WriteFileBytes(dir / "sales.dsn", "[ODBC]\nDRIVER=SQLite3\nDatabase=" + file + "\n");
  TOdbcConnection viaDsn(" FILEDSN=" + (dir / "sales.dsn").string() + " ");
  viaDsn.Open();
  viaDsn.Execute("CREATE TABLE orders (id integer)");
  viaDsn.Close();
  TOdbcConnection viaPath(file);
  viaPath.Open();
  EXPECT_EQ(viaPath.TableNames(), (std::vector<std::string>{"orders"}));
  EXPECT_EQ(viaPath.DbmsName(), "SQLite");
}

}  // namespace
}  // namespace kelvast::test
