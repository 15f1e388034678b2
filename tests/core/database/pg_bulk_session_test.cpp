// SPDX-License-Identifier: MIT
// Rows loaded into the test server by COPY over the session a PostgreSQL connection opens: values
// that need escaping come back as they went in, a failing row is named and leaves nothing behind
// its savepoint, transactions are seen from another connection, and a session that cannot
// connect or loses its connection says so.

#include "core/database/pg_bulk_session.h"

#include <optional>

#include "core/database/connection_string.h"
#include "core/database/database_fixture.h"
#include "core/database/value_rows.h"

namespace kelvast::test {
namespace {

using TRow = std::vector<std::optional<std::string>>;

TValueBatch Batch(const std::vector<TRow>& rows, size_t columns) {
  TTextBuffer records;
  for (const TRow& row : rows) {
    for (const std::optional<std::string>& value : row) {
      if (value)
        AppendRecordValue(records, *value);
      else
        AppendRecordNull(records);
    }
    records += "\r\n";
  }
  TValueBatch batch(columns);
  batch.AddRecords(records);
  return batch;
}

TBulkTarget Target(const std::string& table, const std::vector<std::string>& columns) {
  TBulkTarget target{table, {}, {}};
  for (const std::string& name : columns)
    target.Columns.push_back({name, false});
  return target;
}

class PgBulkSessionTest : public DatabaseTest<PostgresDatabase> {
 protected:
  std::unique_ptr<TBulkSession> Open(const TBulkTarget& target) {
    std::unique_ptr<TBulkSession> session = Db().OpenBulkSession(target);
    EXPECT_NE(session, nullptr);
    if (session) EXPECT_EQ(session->PathName(), "COPY");
    return session;
  }
};

TEST_F(PgBulkSessionTest, ValuesComeBackAsTheyWentIn) {
  Run({"CREATE TABLE \"Item list\" (id integer, amount numeric(12,2), label text)"});
  const std::string big(300 * 1024, '\t');  // a value larger than a chunk, every byte escaped
  std::vector<TRow> rows = {
      {"1", "12.50", "tab\there"},
      {"2", "-3", "back\\slash \\N \\. \\t"},
      {"3", "0.01", "line\r\nbreak\nand\rcr"},
      {"4", "1000000", "caf\xE9 \x80 \x81 \xFF"},
      {"5", std::nullopt, ""},
      {"6", "7", std::nullopt},
      {"7", "0", big},
  };
  // Enough rows to need several chunks.
  for (int i = 8; i < 3000; ++i)
    rows.push_back({std::to_string(i), std::to_string(i) + ".25",
                    std::string(i % 200, 'x') + "\t\xE9\\" + std::to_string(i)});
  const TValueBatch batch = Batch(rows, 3);
  std::unique_ptr<TBulkSession> session =
      Open(Target("\"Item list\"", {"id", "amount", "label"}));
  ASSERT_NE(session, nullptr);
  session->Begin();
  session->Load(batch, 0, 4);
  session->Load(batch, 4, batch.Rows() - 4);
  session->Execute("INSERT INTO \"Item list\" VALUES (3000, 1, 'na\xEFve \x80')");
  session->Commit();
  rows.push_back({"3000", "1", "na\xEFve \x80"});

  const std::vector<std::string> labels = Db().Query(
      "SELECT CASE WHEN label IS NULL THEN 'null' ELSE 'text:' || label END "
      "FROM \"Item list\" ORDER BY id");
  const std::vector<std::string> amounts = Db().Query(
      "SELECT COALESCE(amount::text, 'null') FROM \"Item list\" ORDER BY id");
  ASSERT_EQ(labels.size(), rows.size());
  ASSERT_EQ(amounts.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(labels[i], rows[i][2] ? "text:" + *rows[i][2] : "null");
    if (rows[i][1])
      EXPECT_DOUBLE_EQ(std::stod(amounts[i]), std::stod(*rows[i][1]));
    else
      EXPECT_EQ(amounts[i], "null");
  }
}

TEST_F(PgBulkSessionTest, AFailingRowIsNamedAndNothingStaysBehindItsSavepoint) {
  Run({"CREATE TABLE u (id integer PRIMARY KEY, v integer NOT NULL CHECK (v >= 0))",
       "INSERT INTO u VALUES (100, 1)"});
  struct Case {
    const char* name;
    size_t row;  // the row with the bad value
    TRow values;
    size_t first, count;
    const char* sqlState;
  };
  const Case cases[] = {
      {"CHECK on the first row", 0, {"1", "-1"}, 0, 5, "23514"},
      {"UNIQUE against a committed row, in the middle", 2, {"100", "1"}, 0, 5, "23505"},
      {"UNIQUE within the load, on the last row", 4, {"1", "1"}, 0, 5, "23505"},
      {"NOT NULL on the last row", 4, {"5", std::nullopt}, 0, 5, "23502"},
      {"a value the column cannot take", 2, {"3", "x"}, 0, 5, "22P02"},
      {"a load that begins inside the batch", 3, {"4", "-7"}, 2, 2, "23514"},
  };
  const TBulkTarget target = Target("u", {"id", "v"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<TRow> rows;
    for (int i = 1; i <= 5; ++i)
      rows.push_back({std::to_string(i), "1"});
    rows[c.row] = c.values;
    const TValueBatch batch = Batch(rows, 2);
    std::unique_ptr<TBulkSession> session = Open(target);
    ASSERT_NE(session, nullptr);
    session->Begin();
    session->Execute("SAVEPOINT b");
    try {
      session->Load(batch, c.first, c.count);
      ADD_FAILURE() << "the load succeeded";
    } catch (const EBulkLoadError& e) {
      EXPECT_EQ(e.Row(), static_cast<long>(c.row));
      EXPECT_EQ(e.SqlState(), c.sqlState);
      EXPECT_FALSE(std::string(e.what()).empty());
    }
    session->Execute("ROLLBACK TO SAVEPOINT b");
    session->Load(Batch({{"50", "2"}}, 2), 0, 1);
    session->Commit();
    EXPECT_EQ(Db().Query("SELECT id FROM u ORDER BY id"),
              (std::vector<std::string>{"50", "100"}));
    Db().Execute("DELETE FROM u WHERE id = 50");
  }
}

TEST_F(PgBulkSessionTest, ARowTriedOnItsOwnKeepsItsBackslashesWhereLiteralsReadThem) {
  // Where string literals read backslash escapes, a spliced text ending in a backslash would end
  // its literal early; the row's texts go as parameters, its numbers as the statement writes them.
  Run({"CREATE TABLE victim (v integer)", "CREATE TABLE t (id integer, s text, n numeric)"});
  const TBulkTarget target = SplicingTarget("t", {{"id", true}, {"s", false}, {"n", true}});
  const std::vector<TValueRow> rows = {
      {"1", "\\", "12.50"},
      {"2", "a\\'b \\\\ caf\xE9", "-1e3"},
      {"3", "\\'); DROP TABLE victim; --", std::nullopt},
      {"4", std::nullopt, "1 + 1"},  // no number literal: the statement itself runs
  };
  const TValueBatch batch = MakeBatch(3, rows);
  std::unique_ptr<TBulkSession> session = Open(target);
  ASSERT_NE(session, nullptr);
  session->Execute("SET standard_conforming_strings = off");
  for (size_t row = 0; row < rows.size(); ++row)
    session->InsertRow(batch, row);
  EXPECT_EQ(Db().Query("SELECT COALESCE(s, '<null>') || ' ' || COALESCE(n::text, '<null>') "
                       "FROM t ORDER BY id"),
            (std::vector<std::string>{"\\ 12.50", "a\\'b \\\\ caf\xE9 -1000",
                                      "\\'); DROP TABLE victim; -- <null>", "<null> 2"}));
  EXPECT_EQ(Count("victim"), 0);
}

TEST_F(PgBulkSessionTest, ControlStatementsGoWithTheCopyAndStopItWhenTheyFail) {
  Run({"CREATE TABLE c (id integer CHECK (id > 0))"});
  const TBulkTarget target = Target("c", {"id"});
  std::unique_ptr<TBulkSession> session = Open(target);
  ASSERT_NE(session, nullptr);
  session->Begin();
  session->LoadAfter({{TControl::Savepoint, 0}}, Batch({{"1"}, {"2"}}, 1), 0, 2);
  // A release that goes with the next savepoint and load; the load fails and is rolled back to
  // the new savepoint, which keeps the rows of the first.
  try {
    session->LoadAfter({{TControl::Release, 0}, {TControl::Savepoint, 1}},
                       Batch({{"3"}, {"-4"}}, 1), 0, 2);
    ADD_FAILURE() << "the load succeeded";
  } catch (const EBulkLoadError& e) {
    EXPECT_EQ(e.Row(), 1);
  }
  session->Control({{TControl::RollbackTo, 1}, {TControl::Release, 1}});
  // A control statement that fails (no such savepoint) stops the load before any row: no row's
  // fault.
  session->Control({{TControl::Savepoint, 0}});
  try {
    session->LoadAfter({{TControl::Release, 1}}, Batch({{"5"}}, 1), 0, 1);
    ADD_FAILURE() << "the load went on after its failed release";
  } catch (const EBulkLoadError& e) {
    ADD_FAILURE() << "taken for a row's failure: " << e.what();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.SqlState(), "3B001") << e.what();
  }
  session->Control({{TControl::RollbackTo, 0}, {TControl::Release, 0}});
  session->Commit();
  EXPECT_EQ(Db().Query("SELECT id FROM c ORDER BY id"), (std::vector<std::string>{"1", "2"}));
}

TEST_F(PgBulkSessionTest, AnotherConnectionSeesTheRowsOnlyAfterCommit) {
  Run({"CREATE TABLE t (a text)"});
  const TValueBatch batch = Batch({{"x"}, {"y"}, {"z"}}, 1);
  for (const bool commit : {false, true}) {
    SCOPED_TRACE(commit ? "commit" : "rollback");
    std::unique_ptr<TBulkSession> session = Open(Target("t", {"a"}));
    ASSERT_NE(session, nullptr);
    session->Begin();
    EXPECT_TRUE(session->InTransaction());
    session->Load(batch, 0, 3);
    EXPECT_EQ(Count("t"), 0);
    commit ? session->Commit() : session->Rollback();
    EXPECT_FALSE(session->InTransaction());
    EXPECT_EQ(Count("t"), commit ? 3 : 0);
  }
}

TEST_F(PgBulkSessionTest, FailuresThatAreNoRowsFaultAreDatabaseErrors) {
  Run({"CREATE TABLE t (a text)"});
  const TValueBatch batch = Batch({{"x"}}, 1);
  struct Case {
    const char* name;
    const char* column;
    bool terminate;  // another connection ends the session's server process first
    bool lost;
  };
  const Case cases[] = {
      {"a column the table lacks", "missing", false, false},
      {"the server ends the session", "a", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TBulkSession> session = Open(Target("t", {c.column}));
    ASSERT_NE(session, nullptr);
    session->Begin();
    if (c.terminate)
      Db().Query("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                 "WHERE datname = current_database() AND pid <> pg_backend_pid()");
    try {
      session->Load(batch, 0, 1);
      ADD_FAILURE() << "the load succeeded";
    } catch (const EBulkLoadError& e) {
      ADD_FAILURE() << "a row was blamed: " << e.what();
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.ConnectionLost(), c.lost) << e.what() << " " << e.SqlState();
      if (c.lost) EXPECT_THROW(session->Execute("SAVEPOINT b"), EDatabaseError);
    }
  }
  EXPECT_EQ(Count("t"), 0);
}

TEST_F(PgBulkSessionTest, TheSessionConnectsWithTheStringsOwnSettings) {
  // The table exists only in a schema that the string's settings put on the search path.
  Run({"CREATE SCHEMA own_schema", "CREATE TABLE own_schema.only_here (a text)"});
  const char* settings[] = {
      ";ConnSettings=SET+search_path+TO+own_schema",
      ";pqopt={options='-c search_path=own_schema'}",
  };
  for (const char* setting : settings) {
    SCOPED_TRACE(setting);
    TOdbcConnection db(ConnectionString() + setting);
    db.Open();
    std::unique_ptr<TBulkSession> session = db.OpenBulkSession(Target("only_here", {"a"}));
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(session->PathName(), "COPY");
    session->Begin();
    session->Load(Batch({{"x"}, {"y"}}, 1), 0, 2);
    session->Commit();
  }
  EXPECT_EQ(Count("own_schema.only_here"), 4);

  // A statement that fails is the connection's error, named, not a silent default.
  TOdbcConnection failing(ConnectionString() +
                          ";ConnSettings=SET search_path TO own_schema%3bSELECT no_such_function()");
  try {
    failing.OpenBulkSession(Target("only_here", {"a"}));
    ADD_FAILURE() << "the session opened";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("no_such_function"), std::string::npos) << e.what();
  }
}

TEST_F(PgBulkSessionTest, ASessionThatCannotConnectSaysWhy) {
  const TConnectionParts good = ParseConnectionParts(ConnectionString());
  struct Case {
    const char* name;
    std::string TConnectionParts::*field;
    const char* value;
  };
  const Case cases[] = {
      {"a port nothing listens on", &TConnectionParts::Port, "1"},
      {"a user the server does not know", &TConnectionParts::User, "nobody_at_all"},
      {"a database that does not exist", &TConnectionParts::Database, "no_such_database"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TConnectionParts parts = good;
    parts.*c.field = c.value;
    parts.Password = "s3cret-pw";
    TOdbcConnection db(BuildConnectionString(parts));
    try {
      db.OpenBulkSession(Target("t", {"a"}));
      ADD_FAILURE() << "the session opened";
    } catch (const EDatabaseError& e) {
      const std::string message = e.what();
      EXPECT_EQ(e.SqlState(), "08001");
      EXPECT_TRUE(e.ConnectionLost());
      EXPECT_EQ(message.rfind("Cannot connect to the database: ", 0), 0u) << message;
      EXPECT_GT(message.size(), 40u) << message;
      EXPECT_EQ(message.find("s3cret-pw"), std::string::npos) << message;
    }
  }
}

}  // namespace
}  // namespace kelvast::test
