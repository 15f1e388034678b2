// SPDX-License-Identifier: MIT
#pragma once
// The direct insert: the run's rows stream into the table by the fastest path the connection
// offers (a PostgreSQL server's COPY, an SQLite file's prepared statement, any other ODBC
// driver's prepared INSERT with bound parameter arrays or rows, or each row's INSERT statement
// on a connection that offers none of these), inside one transaction, batch by batch under savepoints, so that a failed row
// leaves the others in place on every database. The caller then decides whether a transaction
// with failures is committed or rolled back.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/database/bulk_session.h"
#include "core/database/data_access.h"
#include "core/output/batch_loader.h"
#include "core/output/insert_stream.h"
#include "core/output/generation_run.h"
#include "core/output/record_writer.h"
#include "core/output/sql_writer.h"

namespace kelvast {

inline constexpr std::string_view kNoConnectionMessage = "There's no active connection...";
// What the progress label reads while the statements run.
inline constexpr std::string_view kWritingToTableMessage = "Writing to table...";

// "%d errors has been detected. Cancel data insert (rollback transaction) ?" with the count.
std::string RollbackQuestion(int errors);

// The writer of the direct insert. Begin checks the connection, opens the engine's bulk path and
// begins a transaction; the run then streams its rows into Stream(), which loads them batch by
// batch; Footer loads the last rows and commits, or asks the observer when rows failed.
class TDatabaseWriter : public TRecordWriter {
 public:
  // `connection` may be null or closed: Begin then shows kNoConnectionMessage and stops.
  TDatabaseWriter(TGenModel& model, TDataAccess* connection, TRunObserver& observer);
  // Rolls back a transaction that a run left open (an error, an interruption).
  ~TDatabaseWriter() override;

  // Prepares the insert of `records` rows; false (after the message) when there is no open
  // connection. Raises EDatabaseError when the bulk path cannot be opened.
  bool Begin(int64_t records);
  // Where the run writes its rows, after Begin.
  TRowStream& Stream() { return *FStream; }
  // Gives up the rows loaded so far: the transaction is rolled back.
  void Abandon();

  void Header(TRowStream&, TDateTime) override {}
  // The record's value record.
  void Row(TRowSink& file) override;
  // Loads the last rows, then commits, or asks the observer when rows failed. Raises the error
  // of a commit or rollback that fails, of a lost connection, or of anything else outside a
  // row's own failure (after a rollback).
  void Footer(TRowStream& file, const TRunEnd& end) override;
  // Rows only: the value records of another copy of the model.
  std::unique_ptr<TRecordWriter> RowWriter(TGenModel& copy) const override {
    return std::make_unique<TDatabaseWriter>(copy, nullptr, FObserver);
  }

  // A load failed while the rows were streaming (raised by the run's Stream()), by a failure
  // that is not a row's: the transaction is rolled back, the memo shown, and one error raised
  // that says at which row the insert stopped.
  [[noreturn]] void LoadFailed(const EDatabaseError& e);

  // The path the rows take ("COPY", "prepared statement", "parameter arrays", "bound
  // parameters", "statements").
  std::string PathName() const;
  int FailedStatements() const { return FLoader ? FLoader->Failed() : 0; }
  bool RolledBack() const { return FRolledBack; }
  // The failure limit ended the insert; known to the run's thread from the last hand-over of
  // rows on, so that the run can stop making records nobody loads.
  bool LimitReached() const { return FLimitReached; }
  // After Footer: the rows run (loaded or failed), and those the table keeps.
  int64_t RowsRun() const { return FLoader ? FLoader->Rows() : 0; }
  int64_t RowsKept() const { return FRolledBack ? 0 : RowsRun() - FailedStatements(); }
  // The error memo: per failed row the message, CR LF, its statement, CR LF, 56 hyphens, CR LF,
  // for the first ten failed rows (TBatchLoader::Errors), then a line counting the others; a
  // failed commit or rollback adds its message and CR LF. The observer's DatabaseFailure sees
  // every entry.
  const std::string& Errors() const { return FErrors; }

 private:
  // Loads what remains and ends the transaction as answered.
  void Finish();
  void EndTransaction(bool commit);
  // Rolls back after an error and shows the memo.
  void GiveUp() noexcept;
  // The failure's message with the row it came at, for an error that ends the insert.
  [[noreturn]] void RaiseEnding(const EDatabaseError& e);

  TSqlWriter FSql;
  TDataAccess* FConnection;
  TRunObserver& FObserver;
  std::unique_ptr<TBulkSession> FSession;
  std::unique_ptr<TBatchLoader> FLoader;
  std::unique_ptr<TInsertStream> FStream;
  int64_t FTotal = 0;
  bool FTransaction = false;
  bool FRolledBack = false;
  bool FLimitReached = false;
  std::string FErrors;
};

}  // namespace kelvast
