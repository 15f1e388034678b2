#include "core/output/batch_loader.h"

namespace kelvast {

namespace {

const std::string kErrorRule(56, '-');
const std::string kSavepoint = "SAVEPOINT kelvast_batch";
const std::string kRelease = "RELEASE SAVEPOINT kelvast_batch";
const std::string kRollbackTo = "ROLLBACK TO SAVEPOINT kelvast_batch";

// A failure that ends the insert rather than one row: the link or the database itself.
bool EndsTheInsert(const EDatabaseError& e) { return e.ConnectionLost() || e.DatabaseLocked(); }

}  // namespace

void TBatchLoader::Load(const TValueBatch& batch) {
  if (FStopped || batch.Empty()) return;
  FBatchStart = FRows;
  if (FSavepoints) {
    try {
      FSession.Execute(kSavepoint);
      FSession.Execute(kRelease);
    } catch (const EDatabaseError& e) {
      // An engine without savepoints (or a connection outside a transaction) runs each row's
      // statement bare: what fails is simply not there.
      if (EndsTheInsert(e)) throw;
      FSavepoints = false;
    }
  }
  if (FSavepoints) {
    LoadGuarded(batch, 0, batch.Rows());
  } else {
    for (size_t row = 0; row < batch.Rows() && !FStopped; ++row)
      TryStatement(batch, row);
  }
  if (!FStopped) FRows = FBatchStart + static_cast<int64_t>(batch.Rows());
}

void TBatchLoader::LoadGuarded(const TValueBatch& batch, size_t first, size_t count) {
  if (count == 0 || FStopped) return;
  FSession.Execute(kSavepoint);
  try {
    FSession.Load(batch, first, count);
  } catch (const EDatabaseError& e) {
    // A failure that names no row (a load refused as a whole) is narrowed down all the same:
    // the rows' statements then report it row by row, as they would on their own.
    if (EndsTheInsert(e)) throw;
    const auto* load = dynamic_cast<const EBulkLoadError*>(&e);
    FSession.Execute(kRollbackTo);
    FSession.Execute(kRelease);
    Narrow(batch, first, count, load ? load->Row() : -1);
    return;
  }
  FSession.Execute(kRelease);
}

void TBatchLoader::Narrow(const TValueBatch& batch, size_t first, size_t count, long failedRow) {
  const size_t end = first + count;
  if (failedRow >= static_cast<long>(first) && failedRow < static_cast<long>(end)) {
    // The rows before the named one went in before it failed: they go in again together.
    const auto row = static_cast<size_t>(failedRow);
    LoadGuarded(batch, first, row - first);
    TryStatement(batch, row);
    LoadGuarded(batch, row + 1, end - row - 1);
  } else if (count == 1) {
    TryStatement(batch, first);
  } else {
    const size_t half = count / 2;
    LoadGuarded(batch, first, half);
    LoadGuarded(batch, first + half, count - half);
  }
}

void TBatchLoader::TryStatement(const TValueBatch& batch, size_t row) {
  if (FStopped) return;
  const std::string statement = FTarget.Statement(batch, row);
  if (FSavepoints) FSession.Execute(kSavepoint);
  try {
    FSession.InsertStatement(statement);
  } catch (const EDatabaseError& e) {
    if (EndsTheInsert(e)) throw;
    if (FSavepoints) {
      FSession.Execute(kRollbackTo);
      FSession.Execute(kRelease);
    }
    RecordFailure(e, statement);
    if (FStopped) FRows = FBatchStart + static_cast<int64_t>(row) + 1;
    return;
  }
  // When the bulk path refused what the statement takes (a number that the column type's text
  // input reads otherwise), the row stays, as its statement put it.
  if (FSavepoints) FSession.Execute(kRelease);
}

void TBatchLoader::RecordFailure(const EDatabaseError& e, const std::string& statement) {
  ++FFailed;
  FErrors += e.what();
  FErrors += "\r\n";
  FErrors += statement;
  FErrors += "\r\n";
  FErrors += kErrorRule;
  FErrors += "\r\n";
  if (FMaxFailures > 0 && FFailed >= FMaxFailures) FStopped = true;
}

}  // namespace kelvast
