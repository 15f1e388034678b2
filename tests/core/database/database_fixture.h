// SPDX-License-Identifier: MIT
#pragma once
// Every database test body runs on an SQLite file and on a PostgreSQL server, both through
// unixODBC. A backend object gives one test a fresh, empty database; the typed fixture opens it.
//
// The PostgreSQL server is the throwaway one that ctest's fixture starts (scripts/test-postgres);
// its connection string is read from the state folder the script writes, or from the environment
// variable KELVAST_PG_CONNECTION. Without either, the test fails and says so.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/database/odbc_connection.h"
#include "support/test_support.h"

namespace kelvast::test {

// A new SQLite database file in a temporary folder.
class SqliteDatabase {
 public:
  static constexpr const char* kName = "SQLite";
  SqliteDatabase();
  const std::string& ConnectionString() const { return FConnection; }
  // SQLite checks foreign keys only when a connection asks it to.
  static void EnforceForeignKeys(TOdbcConnection& db) { db.Execute("PRAGMA foreign_keys = ON"); }

 private:
  TempDir FDir;
  std::string FConnection;
};

// A new database on the test server, dropped at the end.
class PostgresDatabase {
 public:
  static constexpr const char* kName = "PostgreSQL";
  // `stateFolder`: where scripts/test-postgres wrote the server's connection string.
  explicit PostgresDatabase(const std::string& stateFolder = KELVAST_PG_STATE);
  ~PostgresDatabase();
  PostgresDatabase(const PostgresDatabase&) = delete;
  PostgresDatabase& operator=(const PostgresDatabase&) = delete;
  const std::string& ConnectionString() const { return FConnection; }
  static void EnforceForeignKeys(TOdbcConnection&) {}

 private:
  std::string FServer;  // the server's own test database, from which ours is created and dropped
  std::string FName;
  std::string FConnection;
};

template <class Backend>
class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FBackend = std::make_unique<Backend>();
    FDb.SetConnectionString(FBackend->ConnectionString());
    FDb.Open();
  }
  void TearDown() override { FDb.Close(); }

  TOdbcConnection& Db() { return FDb; }
  const std::string& ConnectionString() const { return FBackend->ConnectionString(); }
  void Run(const std::vector<std::string>& statements) {
    for (const std::string& s : statements)
      FDb.Execute(s);
  }
  void EnforceForeignKeys() { Backend::EnforceForeignKeys(FDb); }
  int64_t Count(const std::string& table) {
    return std::stoll(FDb.Query("SELECT COUNT(*) FROM " + table).at(0));
  }

  TempDir Temp;

 private:
  std::unique_ptr<Backend> FBackend;
  TOdbcConnection FDb;
};

using Backends = ::testing::Types<SqliteDatabase, PostgresDatabase>;

struct BackendNames {
  template <class T>
  static std::string GetName(int) {
    return T::kName;
  }
};

}  // namespace kelvast::test
