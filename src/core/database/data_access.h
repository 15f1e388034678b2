// SPDX-License-Identifier: MIT
#pragma once
// The data-access interface: what the core needs of a database connection. The program owns one
// connection; generators that read existing tables use the current one.

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/database/schema.h"
#include "core/platform/errors.h"

namespace kelvast {

class TBulkSession;
struct TBulkTarget;

// Whose failure a database error is, decided once where the driver's code is read (the
// SQLSTATE, or SQLite's result code), never from the message's text.
enum TFailureKind : unsigned char {
  // The row's own: a constraint, a value its column cannot take, an error in an expression the
  // row's statement holds. The other rows may still go in.
  fkRow,
  // The database's: it is read-only, full, locked, broken, or refuses this user the table. No
  // row can go in; the insert ends.
  fkDatabase,
  // The link to the server is gone (SQLSTATE class 08); the insert ends, and a commit under way
  // may or may not have happened.
  fkConnection,
};

// The kind of a failure that a SQLSTATE (an ODBC or a PostgreSQL one) names. Empty: fkDatabase.
TFailureKind FailureKindOfSqlState(std::string_view sqlState);

// A database failure, carrying the driver's diagnostic message, its SQLSTATE (five characters,
// empty when the failure did not come from a driver), the driver's native error code and whose
// failure it is. An error with a message only (the connection is not open, no transaction is
// active) is the database's.
class EDatabaseError : public EKelvastError {
 public:
  explicit EDatabaseError(const std::string& message)
      : EKelvastError(message), FKind(fkDatabase) {}
  // The kind follows from the SQLSTATE.
  EDatabaseError(const std::string& message, std::string sqlState, int nativeError)
      : EKelvastError(message),
        FSqlState(std::move(sqlState)),
        FNativeError(nativeError),
        FKind(FailureKindOfSqlState(FSqlState)) {}
  EDatabaseError(const std::string& message, std::string sqlState, int nativeError,
                 TFailureKind kind)
      : EKelvastError(message),
        FSqlState(std::move(sqlState)),
        FNativeError(nativeError),
        FKind(kind) {}

  const std::string& SqlState() const { return FSqlState; }
  int NativeError() const { return FNativeError; }
  TFailureKind Kind() const { return FKind; }
  // The failure is the row's own: the insert may go on with the next row.
  bool RowFailure() const { return FKind == fkRow; }
  // A connection failure: the link to the server is gone or never came up.
  bool ConnectionLost() const { return FKind == fkConnection; }

 private:
  std::string FSqlState;
  int FNativeError = 0;
  TFailureKind FKind;
};

struct TRowStatement;

class TDataAccess {
 public:
  virtual ~TDataAccess() = default;

  virtual bool Connected() const = 0;
  // The first column of every result row, as text in the code page, in the order returned; NULL
  // gives the empty text. Raises EDatabaseError.
  virtual std::vector<std::string> Query(const std::string& sql) = 0;
  // Runs one statement that returns no rows. Raises EDatabaseError.
  virtual void Execute(const std::string& sql) = 0;
  // Runs a row's INSERT statement (value_batch.h) with its texts bound to its "?" markers,
  // through a call that runs exactly one statement: a text that holds more than one is refused
  // as the row's failure, and none of it runs. Raises EDatabaseError.
  virtual void ExecuteRow(const TRowStatement& statement) = 0;

  // The names of the named table's columns in the catalogue (exact table name), in the
  // driver's order; empty when no such table exists. Raises EDatabaseError.
  virtual std::vector<std::string> FieldNames(const std::string& table) = 0;
  // The character the driver quotes names with ('"' for most engines); a blank when it has none.
  virtual char IdentifierQuote() = 0;
  // The named table's columns with their types, lengths and nullability, as the catalogue
  // reports them; empty when no such table exists or the connection has no catalogue.
  virtual std::vector<TColumnInfo> Columns(const std::string& table);
  // The name the database engine gives itself ("PostgreSQL", "SQLite"); empty when unknown.
  virtual std::string DbmsName();

  virtual void BeginTrans() = 0;
  virtual void CommitTrans() = 0;
  virtual void RollbackTrans() = 0;
  virtual bool InTransaction() const = 0;

  // A session that loads rows into target by the fastest path the connection offers, or null to
  // run every row's INSERT statement on this connection. Raises EDatabaseError when a bulk path
  // exists but cannot be opened.
  virtual std::unique_ptr<TBulkSession> OpenBulkSession(const TBulkTarget& target);
};


}  // namespace kelvast
