// SPDX-License-Identifier: MIT
#pragma once
// The bulk path of an SQLite file: a handle of its own on the file the ODBC connection opened,
// and one prepared INSERT statement to whose parameters each row's values are bound. It skips
// the parsing of one statement per row that the statement path pays.
//
//   auto session = OpenSqliteBulkSession(db.ConnectionString(), db, target);  // null: no file
//   session->Begin();
//   session->Load(batch, 0, batch.Rows());
//   session->Commit();

#include <memory>
#include <string>
#include <vector>

#include "core/database/bulk_session.h"

struct sqlite3;
struct sqlite3_stmt;

namespace kelvast {

// Whose failure an SQLite result code (plain or extended) says it is.
TFailureKind SqliteFailureKind(int resultCode);
// An error of the SQLite ODBC driver, which reports a failure's SQLite result code as its
// native code under the general SQLSTATE HY000, with the kind that code says.
EDatabaseError SqliteDriverError(const EDatabaseError& e);

class TSqliteBulkSession final : public TBulkSession {
 public:
  // Opens the existing file `database` (a UTF-8 path) for reading and writing, waits up to
  // busyMilliseconds for a database another connection holds, and checks foreign keys when
  // foreignKeys says so. Raises EDatabaseError.
  TSqliteBulkSession(const std::string& database, int busyMilliseconds, bool foreignKeys,
                     TBulkTarget target);
  ~TSqliteBulkSession() override;  // rolls back an open transaction
  TSqliteBulkSession(const TSqliteBulkSession&) = delete;
  TSqliteBulkSession& operator=(const TSqliteBulkSession&) = delete;

  std::string PathName() const override { return "prepared statement"; }
  void Execute(const std::string& sql) override;
  void Control(const TControlStatements& statements) override {
    if (!statements.Empty()) Execute(statements.Text());
  }
  void Begin() override { Execute("BEGIN"); }
  void Commit() override { Execute("COMMIT"); }
  void Rollback() override { Execute("ROLLBACK"); }
  bool InTransaction() const override;
  void Load(const TValueBatch& batch, size_t first, size_t count) override;
  // The row alone: bound as Load binds it, or its statement when it holds an expression.
  void InsertRow(const TValueBatch& batch, size_t row) override { Load(batch, row, 1); }

 private:
  // A text of the row converted into FUtf8; Length -1 for every other value.
  struct TBound {
    size_t Offset;
    int Length;
  };
  void Close() noexcept;
  [[noreturn]] void Fail(int rc, long row) const;
  void BindRow(const TValueBatch& batch, size_t row);
  // True when the row binds (every number column holds a number literal or NULL).
  bool Bindable(const TValueBatch& batch, size_t row) const;
  // The row's own statement (RowStatement), refused unless it is exactly one statement.
  void RunStatement(const TValueBatch& batch, size_t row);

  sqlite3* FDb = nullptr;
  sqlite3_stmt* FInsert = nullptr;
  TBulkTarget FTarget;
  std::string FUtf8;            // the row's texts converted to UTF-8, reused from row to row
  std::vector<TBound> FBound;   // where each of the row's texts lies
};

// The SQLite session on the file that connectionString opens, or null when the string opens no
// SQLite 3 file through the SQLite driver or only an in-memory database. `connection` is the
// open connection on that string: the session checks foreign keys when it does. Raises
// EDatabaseError when the file cannot be opened, with the messages the connection gives.
std::unique_ptr<TBulkSession> OpenSqliteBulkSession(const std::string& connectionString,
                                                    TDataAccess& connection,
                                                    const TBulkTarget& target);

}  // namespace kelvast
