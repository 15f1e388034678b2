// SPDX-License-Identifier: MIT
#include "core/output/database_writer.h"

#include "core/database/statement_session.h"
#include "core/platform/errors.h"

namespace kelvast {

std::string RollbackQuestion(int errors) {
  return std::to_string(errors) +
         " errors has been detected. Cancel data insert (rollback transaction) ?";
}

TDatabaseWriter::TDatabaseWriter(TGenModel& model, TDataAccess* connection, TRunObserver& observer)
    : FSql(model, /*comments=*/false), FConnection(connection), FObserver(observer) {}

TDatabaseWriter::~TDatabaseWriter() {
  if (FStream) FStream->Stop();  // no load may run while the transaction ends
  if (!FSession || !FTransaction || !FSession->InTransaction()) return;
  try {
    FSession->Rollback();
  } catch (const EKelvastError&) {
    // The run already ends with an error; the session's end rolls back what is left.
  }
}

bool TDatabaseWriter::Begin(int64_t records) {
  if (!FConnection || !FConnection->Connected()) {
    FObserver.ShowMessage(std::string(kNoConnectionMessage));
    return false;
  }
  FTotal = records;
  TBulkTarget target = FSql.Target();
  try {
    FSession = FConnection->OpenBulkSession(target);
  } catch (const EDatabaseError& e) {
    // A bulk path refused at the start (a table or column that does not exist) leaves the rows
    // to their statements, which report each failure as its own.
    if (!e.RowFailure()) throw;
  }
  if (!FSession) FSession = std::make_unique<TStatementSession>(*FConnection, target);
  const size_t columns = target.Columns.size();
  FLoader = std::make_unique<TBatchLoader>(
      *FSession, std::move(target), FObserver.MaxFailures(),
      [this](const std::string& entry) { FObserver.DatabaseFailure(entry); });
  // Called on the run's thread while the loader is idle, so its state can be read here.
  FStream = std::make_unique<TInsertStream>(*FLoader, columns, [this](int64_t rows) {
    FLimitReached = FLoader->Stopped();
    FObserver.InsertProgress(rows, FTotal);
  });
  // A connection that cannot start a transaction gets its rows committed one by one.
  FTransaction = true;
  try {
    FSession->Begin();
  } catch (const EDatabaseError& e) {
    if (e.ConnectionLost()) throw;
    FTransaction = false;
  }
  FErrors.clear();
  FObserver.InsertProgress(0, FTotal);
  return true;
}

std::string TDatabaseWriter::PathName() const { return FSession ? FSession->PathName() : ""; }

void TDatabaseWriter::Abandon() {
  if (FStream) FStream->Stop();
  if (FSession && FTransaction && FSession->InTransaction()) FSession->Rollback();
  FRolledBack = true;
}

void TDatabaseWriter::Row(TRowSink& file) {
  FSql.AppendValueRecord(file.RowBuffer());
  file.EndLine();
  FDataSize = FSql.DataSize();
}

[[noreturn]] void TDatabaseWriter::RaiseEnding(const EDatabaseError& e) {
  const std::string at = std::to_string(FLoader->Rows() + 1) + " of " + std::to_string(FTotal);
  if (e.ConnectionLost())
    throw EDatabaseError("The connection to the database was lost at statement " + at + ": " +
                             e.what(),
                         e.SqlState(), e.NativeError(), e.Kind());
  // One message for the whole insert: no row is tried after a failure that no row caused.
  throw EDatabaseError("The insert stopped at statement " + at +
                           (FTransaction ? " and was rolled back: " : ": ") + e.what(),
                       e.SqlState(), e.NativeError(), e.Kind());
}

void TDatabaseWriter::Footer(TRowStream&, const TRunEnd&) {
  try {
    FStream->Close();
  } catch (const EDatabaseError& e) {
    LoadFailed(e);
  }
  try {
    Finish();
  } catch (...) {
    GiveUp();
    throw;
  }
  FObserver.DatabaseErrors(FErrors);
}

void TDatabaseWriter::LoadFailed(const EDatabaseError& e) {
  if (FStream) FStream->Stop();
  FErrors = FLoader->Errors();
  try {
    RaiseEnding(e);
  } catch (...) {
    GiveUp();
    throw;
  }
}

void TDatabaseWriter::GiveUp() noexcept {
  if (FTransaction && FSession->InTransaction()) {
    try {
      FSession->Rollback();
    } catch (const EKelvastError&) {
      // The error that brought us here is the one to report.
    }
  }
  FObserver.DatabaseErrors(FErrors);
}

void TDatabaseWriter::Finish() {
  if (FLoader->Stopped())
    FLoader->AddError("The insert stopped after " + std::to_string(FLoader->Failed()) +
                      " failed statements (" + std::to_string(FLoader->Rows()) + " of " +
                      std::to_string(FTotal) + " run).");
  FErrors = FLoader->Errors();
  const int failed = FLoader->Failed();
  if (failed > 0) {
    const bool rollback = FObserver.ConfirmRollback(RollbackQuestion(failed), failed);
    if (FTransaction) EndTransaction(!rollback);
  } else if (FTransaction) {
    EndTransaction(true);
  }
}

void TDatabaseWriter::EndTransaction(bool commit) {
  try {
    if (commit)
      FSession->Commit();
    else
      FSession->Rollback();
    FRolledBack = !commit;
  } catch (const EKelvastError& e) {
    FLoader->AddError(e.what());
    FErrors = FLoader->Errors();
    throw;  // the handler attempts the rollback
  }
}

}  // namespace kelvast
