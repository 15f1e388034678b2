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

// A database failure, carrying the driver's diagnostic message, its SQLSTATE (five characters,
// empty when the failure did not come from a driver) and the driver's native error code.
class EDatabaseError : public EKelvastError {
 public:
  using EKelvastError::EKelvastError;
  EDatabaseError(const std::string& message, std::string sqlState, int nativeError)
      : EKelvastError(message), FSqlState(std::move(sqlState)), FNativeError(nativeError) {}

  const std::string& SqlState() const { return FSqlState; }
  int NativeError() const { return FNativeError; }
  // A connection failure (SQLSTATE class 08): the link to the server is gone or never came up.
  bool ConnectionLost() const { return FSqlState.rfind("08", 0) == 0; }
  // Another connection holds the database (SQLite's "database is locked", after the busy wait).
  bool DatabaseLocked() const {
    const std::string_view text = what();
    return text.find("database is locked") != std::string_view::npos ||
           text.find("database table is locked") != std::string_view::npos;
  }

 private:
  std::string FSqlState;
  int FNativeError = 0;
};

class TDataAccess {
 public:
  virtual ~TDataAccess() = default;

  virtual bool Connected() const = 0;
  // The first column of every result row, as text in the code page, in the order returned; NULL
  // gives the empty text. Raises EDatabaseError.
  virtual std::vector<std::string> Query(const std::string& sql) = 0;
  // Runs one statement that returns no rows. Raises EDatabaseError.
  virtual void Execute(const std::string& sql) = 0;

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
