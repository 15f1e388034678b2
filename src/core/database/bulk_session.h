#pragma once
// A session that loads rows into one table by an engine's bulk path, inside the transaction the
// direct insert holds on it. The direct insert's writer drives it: it begins the transaction,
// sets savepoints around each batch through Execute, and narrows a failed batch down to its
// failing rows by loading parts of it again.
//
//   session->Begin();
//   session->Execute("SAVEPOINT b");
//   session->Load(batch, 0, batch.Rows());   // all rows or none; EBulkLoadError names the row
//   session->Execute("RELEASE SAVEPOINT b");
//   session->Commit();

#include <cstddef>
#include <memory>
#include <string>

#include "core/database/data_access.h"
#include "core/database/value_batch.h"

namespace kelvast {

// A load that failed on a row's values. Row is the failing row's index in the batch when the
// engine says which row it was, else -1. An engine that only narrows it down names the suspects
// instead: the failing row lies in [SuspectsFrom, SuspectsTo), and the rows of the load before
// SuspectsFrom went in; both are -1 when the engine says nothing. After the error the
// transaction must be rolled back to the savepoint set before the load; the rows of the load
// before the failing one are not kept.
class EBulkLoadError : public EDatabaseError {
 public:
  EBulkLoadError(const std::string& message, std::string sqlState, int nativeError, long row)
      : EBulkLoadError(message, std::move(sqlState), nativeError, row, row < 0 ? -1 : row + 1) {}
  EBulkLoadError(const std::string& message, std::string sqlState, int nativeError,
                 long suspectsFrom, long suspectsTo)
      : EDatabaseError(message, std::move(sqlState), nativeError),
        FFrom(suspectsFrom),
        FTo(suspectsTo) {}
  long Row() const { return FFrom >= 0 && FTo == FFrom + 1 ? FFrom : -1; }
  long SuspectsFrom() const { return FFrom; }
  long SuspectsTo() const { return FTo; }

 private:
  long FFrom;
  long FTo;
};

class TBulkSession {
 public:
  virtual ~TBulkSession() = default;

  // What the path is called in messages and benchmarks ("COPY", "prepared statement", ...).
  virtual std::string PathName() const = 0;

  // Runs one statement that returns no rows (SAVEPOINT, RELEASE SAVEPOINT, ROLLBACK TO
  // SAVEPOINT). Raises EDatabaseError.
  virtual void Execute(const std::string& sql) = 0;
  // Runs two such statements of our own (never one holding generated values), in one exchange
  // with the server where the engine takes several statements in one text: the second does not
  // run when the first fails.
  virtual void ExecuteTogether(const std::string& first, const std::string& second) {
    Execute(first);
    Execute(second);
  }
  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  virtual bool InTransaction() const = 0;

  // Loads rows [first, first + count) of batch into the target table. Raises EBulkLoadError when
  // a row's values fail (a constraint, a value the column's type cannot take), and
  // EDatabaseError for anything else (a lost connection: SQLSTATE class 08).
  virtual void Load(const TValueBatch& batch, size_t first, size_t count) = 0;

  // Runs one row's INSERT statement (target.Statement) as the statement path would, so that a
  // row the bulk path refused gets the verdict and the message of its own statement. Raises
  // EDatabaseError when it fails.
  virtual void InsertStatement(const std::string& statement) { Execute(statement); }
  // Gives row `row` of batch, which the bulk path refused, the verdict of the statement path:
  // its statement (InsertStatement) unless the session binds its values as that path would.
  virtual void InsertRow(const TValueBatch& batch, size_t row, const std::string& statement) {
    (void)batch;
    (void)row;
    InsertStatement(statement);
  }
};

}  // namespace kelvast
