// SPDX-License-Identifier: MIT
// What a connection string may do: SQLite paths that would open another file than meant,
// strings read from files that would load code, and a database another program holds.

#include <gtest/gtest.h>

#include "core/database/connection_checks.h"
#include "core/database/odbc_connection.h"
#include "core/database/odbc_sources.h"
#include "core/output/generation_run.h"
#include "core/output/output_fixture.h"
#include "support/test_support.h"

namespace kelvast::test {
namespace {

namespace fs = std::filesystem;

struct SqliteFiles : ::testing::Test {
  TempDir dir;
  std::string db = (dir / "shop.db").string();
  void SetUp() override { WriteFileBytes(dir / "shop.db", ""); }
};

using ConnectionChecks = SqliteFiles;

// Opens the string, from a file or typed by the user: it opens when `message` is empty, and
// otherwise fails with an error holding `message`.
void ExpectOpen(const std::string& text, bool fromFile, const char* message) {
  SCOPED_TRACE(text);
  TOdbcConnection connection(text);
  connection.SetFromFile(fromFile);
  if (*message == '\0') {
    EXPECT_NO_THROW(connection.Open());
    return;
  }
  try {
    connection.Open();
    ADD_FAILURE() << "opened";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
  }
}

TEST_F(ConnectionChecks, SqlitePathsTheDriverWouldMisreadAreRefused) {
  const struct {
    std::string connection;
    const char* message;  // empty: opens
  } cases[] = {
      {db, ""},
      {"DRIVER=SQLite3;Database=" + db, ""},
      {(dir / "missing.db").string(), "does not exist"},
      {"Database=" + (dir / "missing.db").string(), "does not exist"},
      // The driver stops at the ";" and would open (and create) ".../shop.db" itself.
      {db + ";x.db", "\";\""},
      {"DRIVER=SQLite3;Database={" + db + ";x.db}", "\";\""},
  };
  for (const auto& c : cases) ExpectOpen(c.connection, false, c.message);
  EXPECT_FALSE(fs::exists(dir / "missing.db"));
  EXPECT_FALSE(fs::exists(dir / "x.db"));
}

TEST_F(ConnectionChecks, StringsFromFilesMayNotLoadLibraries) {
  // A file data source that asks for an extension, in a folder of its own.
  WriteFileBytes(dir / "ext.dsn", "[ODBC]\nDRIVER=SQLite3\nDatabase=" + db + "\nLoadExt=/tmp/evil.so\n");
  WriteFileBytes(dir / "plain.dsn", "[ODBC]\nDRIVER=SQLite3\nDatabase=" + db + "\n");
  const std::string library = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";
  const struct {
    std::string connection;
    const char* fromFile;  // the error when read from a file; empty: opens
  } cases[] = {
      {"DRIVER=SQLite3;Database=" + db, ""},
      {"DRIVER={SQLite3};Database=" + db + ";loadext=/tmp/evil.so", "load libraries"},
      {"DRIVER=" + library + ";Database=" + db, "not an installed ODBC driver"},
      {"FILEDSN=" + (dir / "ext.dsn").string(), "load libraries"},
      {"FILEDSN=" + (dir / "plain.dsn").string(), ""},
      {db, ""},
  };
  for (const auto& c : cases) {
    ExpectOpen(c.connection, true, c.fromFile);
    // The same string typed by the user is the user's own business: the file checks do not
    // stand in the way (the driver may still refuse, as it does for a library that is missing).
    EXPECT_NO_THROW(CheckSqliteTarget(c.connection));
  }
}

TEST_F(ConnectionChecks, ALockedDatabaseStopsTheInsertOnceAfterTheBusyWait) {
  EXPECT_EQ(WithSqliteBusyWait("DRIVER=SQLite3;Database=" + db),
            "DRIVER=SQLite3;Database=" + db + ";Timeout=" + std::to_string(kSqliteBusyMilliseconds));
  EXPECT_EQ(WithSqliteBusyWait("DRIVER=SQLite3;Timeout=9;Database=x"), "DRIVER=SQLite3;Timeout=9;Database=x");
  EXPECT_EQ(WithSqliteBusyWait("DRIVER={PostgreSQL Unicode};Server=h"), "DRIVER={PostgreSQL Unicode};Server=h");

  TOdbcConnection holder(db);
  holder.Open();
  holder.Execute("CREATE TABLE t (id integer)");
  holder.BeginTrans();
  holder.Execute("INSERT INTO t VALUES (0)");  // holds the write lock until the end

  TOdbcConnection insert("DRIVER=SQLite3;Timeout=300;Database=" + db);
  insert.Open();
  TGenModel model;
  model.SetTableName("t");
  model.SetDelimiter("\"\"");
  model.SetRecNumber(50);
  AddCounter(model, "id");
  TRunOptions options;
  options.Mode = omDatabase;
  options.DictFolder = KELVAST_DICT_DIR;
  options.Connection = &insert;
  struct Observer : TRunObserver {
    std::string memo;
    void DatabaseErrors(const std::string& m) override { memo = m; }
  } observer;
  try {
    RunGeneration(model, options, observer);
    ADD_FAILURE() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("locked"), std::string::npos) << e.what();
  }
  EXPECT_EQ(observer.memo, "");  // reported once, as the run's error, not per statement
  holder.RollbackTrans();
  EXPECT_EQ(holder.Query("SELECT COUNT(*) FROM t"), std::vector<std::string>{"0"});
}

}  // namespace
}  // namespace kelvast::test
