// SPDX-License-Identifier: MIT
#pragma once
// The data access over unixODBC: one connection, described by an ODBC connection string.
//
//   TOdbcConnection db("/tmp/people.db");            // a bare path: an SQLite 3 file
//   db.Open();                                       // raises EDatabaseError with the driver's
//   text db.Execute("CREATE TABLE t (a integer)"); std::vector<std::string> names =
//   db.TableNames();
//
// Text is Windows-1252 on this side and UTF-8 on the driver's. Transactions use the driver's
// manual-commit mode; outside one every statement commits on its own.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/database/data_access.h"
#include "core/database/odbc_sources.h"
#include "core/database/schema.h"

namespace kelvast {

class TOdbcConnection : public TDataAccess {
 public:
  TOdbcConnection();
  // Sets the connection string; does not open.
  explicit TOdbcConnection(const std::string& connectionString);
  ~TOdbcConnection() override;  // closes, rolling back an open transaction
  TOdbcConnection(const TOdbcConnection&) = delete;
  TOdbcConnection& operator=(const TOdbcConnection&) = delete;

  // The string is stored trimmed; it takes effect at the next Open.
  void SetConnectionString(const std::string& text);
  const std::string& ConnectionString() const { return FConnectionString; }
  // A string read from a model, plan or connection file is held to stricter rules at Open and
  // when a bulk session connects: it may set only what a connection needs (connection_checks.h).
  void SetFromFile(bool fromFile) { FFromFile = fromFile; }
  bool FromFile() const { return FFromFile; }

  // Opens the connection without prompting; does nothing when it is open. Raises EDatabaseError.
  void Open();
  // Closes the connection (an open transaction is rolled back); closing a closed one does nothing.
  void Close() noexcept;
  bool Connected() const override;

  // The names of the tables of type TABLE, in the driver's order: no views, no system tables.
  std::vector<std::string> TableNames();
  // The columns of the named table in the driver's order (case and blanks count).
  std::vector<TColumnInfo> Columns(const std::string& table) override;
  // The same, one column at a time, so a caller keeps what was read before a failure.
  void ForEachColumn(const std::string& table, const std::function<void(const TColumnInfo&)>& each);

  std::vector<std::string> FieldNames(const std::string& table) override;
  char IdentifierQuote() override;

  std::vector<std::string> Query(const std::string& sql) override;
  void Execute(const std::string& sql) override;
  // Prepares the statement and runs it with its texts bound. The SQLite driver's prepare takes
  // one statement only; for every driver, a number column's value holding a ';' is refused.
  void ExecuteRow(const TRowStatement& statement) override;

  void BeginTrans() override;
  void CommitTrans() override;
  void RollbackTrans() override;
  bool InTransaction() const override { return FInTransaction; }

  // The fastest path the string's engine offers: a PostgreSQL server's COPY over a session of its
  // own when the string opens one directly, an SQLite file's rows through the SQLite library.
  // Any other driver's rows go as parameter arrays, or row by row with bound values when the
  // driver takes no arrays.
  std::unique_ptr<TBulkSession> OpenBulkSession(const TBulkTarget& target) override;
  // The session of any driver, whatever the engine: one prepared INSERT with bound values, sent
  // as parameter arrays when `arrays` says so and the driver takes them. Raises EDatabaseError.
  std::unique_ptr<TBulkSession> OpenParameterSession(const TBulkTarget& target,
                                                     bool arrays = true);

  // The database product as the driver names it ("SQLite", "PostgreSQL", ...).
  std::string DbmsName() override;

  // The catalogue calls behind the schema reader (schema_catalog.h).
  enum TCatalogCall { ccTables, ccColumns, ccPrimaryKeys, ccForeignKeys, ccUniqueIndexes };
  // The rows of one catalogue call, every cell as the driver's UTF-8 text (NULL: empty), names
  // not converted so that a caller can tell a name the code page cannot hold. ccTables lists
  // every table of type TABLE (table ignored); the others describe the named table: its columns,
  // its primary key, the foreign keys it holds, its unique indexes. Raises EDatabaseError.
  std::vector<std::vector<std::string>> CatalogRows(TCatalogCall call, const std::string& table);

 private:
  struct THandles;
  static std::unique_ptr<THandles> Connect(const std::string& target);
  void RequireOpen() const;
  // The driver is SQLite's, whose native error codes are SQLite's result codes.
  bool SqliteDriver() const;
  void EndTransaction(bool commit);

  std::string FConnectionString;
  bool FFromFile = false;
  std::unique_ptr<THandles> FHandles;
  bool FInTransaction = false;
};

}  // namespace kelvast
