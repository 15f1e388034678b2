// SPDX-License-Identifier: MIT
// What a connection string may do: SQLite paths that would open another file than meant,
// strings read from files that would load code, and a database another program holds.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>

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
      {"DRIVER={SQLite3};Database=" + db + ";loadext=/tmp/evil.so", "\"loadext\""},
      {"DRIVER=" + library + ";Database=" + db, "not an installed ODBC driver"},
      {"FILEDSN=" + (dir / "ext.dsn").string(), "\"LoadExt\""},
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

TEST_F(ConnectionChecks, StringsFromFilesSetOnlyWhatAConnectionNeeds) {
  const std::string sqlite = "DRIVER=SQLite3;Database=" + db + ";";
  // Nothing listens on port 1: a string that passes the checks fails to connect instead.
  const std::string postgres =
      "DRIVER={PostgreSQL Unicode};Server=127.0.0.1;Port=1;Database=x;UID=u;";
  const std::string trace = (dir / "trace.log").string();
  const std::string saved = (dir / "saved").string();
  const std::string library = KELVAST_MARKER_LIBRARY;
  const auto dsn = [&](const char* name, const std::string& lines) {
    WriteFileBytes(dir / name, "[ODBC]\nDRIVER=SQLite3\n" + lines);
    return "FILEDSN=" + (dir / name).string();
  };
  const struct {
    std::string connection;
    const char* fromFile;  // what the refusal names; empty: allowed
  } cases[] = {
      // The SQLite driver cuts the string at every ";", braces or not.
      {sqlite + "Description={x;LoadExt=" + library + ";}", "\"LoadExt\""},
      {sqlite + "Description= {x;TraceFile=" + trace + "}", "\"TraceFile\""},
      {sqlite + "Tracefile=" + trace, "\"Tracefile\""},
      {"Database=" + db + ";tracefile=" + trace, "\"tracefile\""},  // the default driver's
      {sqlite + "SyncPragma=OFF;x=1", "\"SyncPragma\""},
      {sqlite + "JournalMode=WAL", "\"JournalMode\""},
      {sqlite + "NoTXN=1", "\"NoTXN\""},
      {sqlite + "SAVEFILE=" + saved, "\"SAVEFILE\""},
      // unixODBC hands a file data source's lines to the driver as one string, braces taken off.
      {dsn("a.dsn", "Database=" + db + "\nDescription=x;LoadExt=" + library + "\n"), "\"LoadExt\""},
      {dsn("b.dsn", "Database=" + db + ";Tracefile=" + trace + "\n"), "\"Tracefile\""},
      {dsn("c.dsn", "Database=" + db + "\nDescription={x;LoadExt=" + library + "}\n"),
       "\"LoadExt\""},
      {dsn("d.dsn", "Database=" + (dir / "new.db").string() + "\n"), "does not exist"},
      {dsn("e.dsn", "Database=" + db + "\nFILEDSN=" + (dir / "a.dsn").string() + "\n"),
       "another file data source"},
      {"DRIVER=SQLite3;Database={" + db + "}", "does not exist"},  // the driver keeps the braces
      // psqlODBC: logs, statements and libpq options at connect time, abbreviated or not; a
      // brace after a blank does not hide a key from it.
      {postgres + "ConnSettings=SET search_path TO s", "\"ConnSettings\""},
      {postgres + "A6=SET search_path TO s", "\"A6\""},
      {postgres + "Description= {x;ConnSettings=DROP TABLE t}", "\"ConnSettings\""},
      {postgres + "pqopt={sslcert=/tmp/c}", "\"pqopt\""},
      {postgres + "D5={sslcert=/tmp/c}", "\"D5\""},
      {postgres + "CommLog=1", "\"CommLog\""},
      {postgres + "B3=1", "\"B3\""},
      {postgres + "Debug=1", "\"Debug\""},
      {postgres + "B2=1", "\"B2\""},
      {postgres + "CX=1c305008b", "\"CX\""},
      {postgres + "AB=ff", "\"AB\""},
      // A driver of no known family gets the keys every connection needs and no more.
      {"DSN=no_such_source;UID=u;Option=3", "\"Option\""},
      // What a connection needs.
      {sqlite + "Timeout=100;FKSupport=1;NoWCHAR=1;BigInt=1", ""},
      {dsn("ok.dsn", "Database=" + db + "\nTimeout=100\n"), ""},
      // psqlODBC takes a value braced right after "=" whole.
      {postgres + "PWD={se;cret};SSLmode=disable;BoolsAsChar=0;B9=0;Description={x;CX=1}", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.connection);
    TOdbcConnection connection(c.connection);
    connection.SetFromFile(true);
    try {
      connection.Open();
      EXPECT_EQ(*c.fromFile, '\0') << "opened";
    } catch (const EDatabaseError& e) {
      const std::string message = e.what();
      if (*c.fromFile != '\0')
        EXPECT_NE(message.find(c.fromFile), std::string::npos) << message;
      else
        EXPECT_EQ(message.find("from a file"), std::string::npos) << message;
    }
  }
  EXPECT_FALSE(fs::exists(trace));
  EXPECT_FALSE(fs::exists(saved + ".dsn"));
  EXPECT_FALSE(fs::exists(dir / "new.db"));
  // The user's own strings are not held to the file rules (the driver may still refuse some).
  // psqlODBC's logging keys are left out: they would write logs into the shared /tmp.
  for (const auto& c : cases) {
    if (c.connection.rfind(postgres, 0) == 0) continue;
    SCOPED_TRACE(c.connection);
    TOdbcConnection connection(c.connection);
    try {
      connection.Open();
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(std::string(e.what()).find("from a file"), std::string::npos) << e.what();
    }
  }
}

TEST_F(ConnectionChecks, AFileStringLoadsNoLibraryAndWritesNoTrace) {
  const std::string marker = (dir / "loaded").string();
  const std::string trace = (dir / "trace.log").string();
  ASSERT_EQ(setenv("KELVAST_MARKER_FILE", marker.c_str(), 1), 0);
  WriteFileBytes(dir / "ext.dsn", "[ODBC]\nDRIVER=SQLite3\nDatabase=" + db +
                                      "\nDescription=x;LoadExt=" KELVAST_MARKER_LIBRARY "\n");
  const struct {
    std::string connection;
    std::string evidence;  // the file the string's own use leaves
  } cases[] = {
      {"DRIVER=SQLite3;Database=" + db + ";Description={x;LoadExt=" KELVAST_MARKER_LIBRARY ";}",
       marker},
      {"FILEDSN=" + (dir / "ext.dsn").string(), marker},
      {"DRIVER=SQLite3;Database=" + db + ";Tracefile=" + trace, trace},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.connection);
    TOdbcConnection fromFile(c.connection);
    fromFile.SetFromFile(true);
    EXPECT_THROW(fromFile.Open(), EDatabaseError);
    EXPECT_FALSE(fs::exists(c.evidence));
  }
  // The same strings as the user's own do load and write: the checks above stood in the way.
  for (const auto& c : cases) {
    SCOPED_TRACE(c.connection);
    TOdbcConnection own(c.connection);
    own.Open();
    own.Execute("CREATE TABLE IF NOT EXISTS t (a integer)");
    EXPECT_TRUE(fs::exists(c.evidence));
    fs::remove(c.evidence);
  }
  unsetenv("KELVAST_MARKER_FILE");
}

TEST_F(ConnectionChecks, ALockedDatabaseIsWaitedForAsLongAsTimeoutSays) {
  constexpr int kTimeout = 1500;
  TOdbcConnection holder(db);
  holder.Open();
  holder.Execute("CREATE TABLE t (id integer)");
  holder.BeginTrans();
  holder.Execute("INSERT INTO t VALUES (0)");  // holds the write lock until the end

  TOdbcConnection insert("DRIVER=SQLite3;Timeout=" + std::to_string(kTimeout) + ";Database=" + db);
  insert.Open();
  TGenModel model;
  model.SetTableName("t");
  model.SetDelimiter("\"\"");
  model.SetRecNumber(5);
  AddCounter(model, "id");
  TRunOptions options;
  options.Mode = omDatabase;
  options.DictFolder = KELVAST_DICT_DIR;
  options.Connection = &insert;
  const struct {
    const char* path;
    std::function<void()> write;
  } paths[] = {
      {"a statement through the driver", [&] { insert.Execute("INSERT INTO t VALUES (1)"); }},
      {"a direct insert", [&] {
         TRunObserver observer;
         RunGeneration(model, options, observer);
       }},
  };
  for (const auto& p : paths) {
    SCOPED_TRACE(p.path);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(p.write(), EDatabaseError);
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
    // A loose bound: the wait is the one Timeout asks for, not twice it.
    EXPECT_GE(waited, kTimeout * 95 / 100);
    EXPECT_LT(waited, kTimeout * 18 / 10);
  }
  holder.RollbackTrans();
}

TEST_F(ConnectionChecks, ALockedDatabaseStopsTheInsertOnceAfterTheBusyWait) {
  // The driver waits its Timeout twice (see WithSqliteBusyWait): it is given half.
  EXPECT_EQ(WithSqliteBusyWait("DRIVER=SQLite3;Database=" + db),
            "DRIVER=SQLite3;Database=" + db +
                ";Timeout=" + std::to_string(kSqliteBusyMilliseconds / 2));
  EXPECT_EQ(WithSqliteBusyWait("DRIVER=SQLite3;Timeout=9;Database=x"),
            "DRIVER=SQLite3;Database=x;Timeout=5");
  EXPECT_EQ(WithSqliteBusyWait("DRIVER={PostgreSQL Unicode};Server=h"),
            "DRIVER={PostgreSQL Unicode};Server=h");

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
