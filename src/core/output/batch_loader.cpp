// SPDX-License-Identifier: MIT
#include "core/output/batch_loader.h"

#include <algorithm>

namespace kelvast {

namespace {

const std::string kErrorRule(56, '-');

// A failure that ends the insert rather than one row: the link or the database itself.
bool EndsTheInsert(const EDatabaseError& e) { return !e.RowFailure(); }

}  // namespace

void TBatchLoader::Load(const TValueBatch& batch) {
  if (FStopped || batch.Empty()) return;
  FBatchStart = FRows;
  if (FSavepoints) {
    try {
      FSession.Control({{TControl::Savepoint, 0}, {TControl::Release, 0}});
    } catch (const EDatabaseError& e) {
      // An engine without savepoints (or a connection outside a transaction, which PostgreSQL
      // answers with an "invalid transaction state") runs each row's statement bare: what fails
      // is simply not there.
      if (e.ConnectionLost()) throw;
      FSavepoints = false;
    }
  }
  if (FSavepoints) {
    LoadGuarded(batch, 0, batch.Rows());
    Flush();
  } else {
    for (size_t row = 0; row < batch.Rows() && !FStopped; ++row)
      TryStatement(batch, row);
  }
  if (!FStopped) FRows = FBatchStart + static_cast<int64_t>(batch.Rows());
}

void TBatchLoader::LoadGuarded(const TValueBatch& batch, size_t first, size_t count) {
  // Rows go in chunks, the whole range first. After a failure the next chunk is twice as long as
  // the stretch that went in before it, and doubles after every success: rows that fail now and
  // then are not each paid for with the rest of the batch sent again.
  size_t chunk = count;
  while (count > 0 && !FStopped) {
    const size_t n = std::min(chunk, count);
    const TSuspects suspects = TryLoad(batch, first, n);
    const long failed = suspects.To == suspects.From + 1 ? suspects.From : -1;
    const bool narrowed = suspects.From >= static_cast<long>(first) &&
                          suspects.From < suspects.To &&
                          suspects.To <= static_cast<long>(first + n) &&
                          suspects.To - suspects.From < static_cast<long>(n);
    if (suspects.From == kLoaded) {
      first += n;
      count -= n;
      chunk = std::max(chunk, n) * 2;
      continue;
    }
    if (failed >= static_cast<long>(first) && failed < static_cast<long>(first + n)) {
      // The rows before the named one went in before it failed: they go in again together.
      const auto row = static_cast<size_t>(failed);
      LoadGuarded(batch, first, row - first);
      TryStatement(batch, row);
      const size_t done = row + 1 - first;
      first += done;
      count -= done;
      chunk = std::max<size_t>(kSmallestChunk, 2 * done);
    } else if (narrowed) {
      // The rows before the suspects went in before the failure: they go in again together, and
      // the suspects are narrowed down on their own.
      const auto from = static_cast<size_t>(suspects.From);
      const auto to = static_cast<size_t>(suspects.To);
      LoadGuarded(batch, first, from - first);
      LoadGuarded(batch, from, to - from);
      const size_t done = to - first;
      first += done;
      count -= done;
      chunk = std::max<size_t>(kSmallestChunk, 2 * done);
    } else if (n == 1) {
      TryStatement(batch, first);
      first += 1;
      count -= 1;
    } else {
      // The engine did not say which row: halves, down to single rows.
      LoadGuarded(batch, first, n / 2);
      LoadGuarded(batch, first + n / 2, n - n / 2);
      first += n;
      count -= n;
    }
  }
}

TControlStatements TBatchLoader::OpenSavepoint() {
  TControlStatements before = FPending;
  FPending.Clear();
  FSlot ^= 1;
  before.Add(TControl::Savepoint, FSlot);
  return before;
}

void TBatchLoader::Flush() {
  if (FPending.Empty()) return;
  const TControlStatements pending = FPending;
  FPending.Clear();
  FSession.Control(pending);
}

TBatchLoader::TSuspects TBatchLoader::TryLoad(const TValueBatch& batch, size_t first,
                                               size_t count) {
  try {
    FSession.LoadAfter(OpenSavepoint(), batch, first, count);
  } catch (const EDatabaseError& e) {
    // A failure that names no row (a load refused as a whole) is narrowed down all the same:
    // the rows' statements then report it row by row, as they would on their own.
    if (EndsTheInsert(e)) throw;
    const auto* load = dynamic_cast<const EBulkLoadError*>(&e);
    FSession.Control({{TControl::RollbackTo, FSlot}, {TControl::Release, FSlot}});
    if (!load) return {-1, -1};
    return {load->SuspectsFrom(), load->SuspectsTo()};
  }
  FPending = {{TControl::Release, FSlot}};
  return {kLoaded, kLoaded};
}

void TBatchLoader::TryStatement(const TValueBatch& batch, size_t row) {
  if (FStopped) return;
  const std::string statement = FTarget.Statement(batch, row);
  // The statement runs on its own, never in one text with another. `statement` is what the memo
  // shows: the row as the SQL script writes it; the session runs it with its texts bound.
  if (FSavepoints) FSession.Control(OpenSavepoint());
  try {
    FSession.InsertRow(batch, row);
  } catch (const EDatabaseError& e) {
    if (EndsTheInsert(e)) throw;
    if (FSavepoints)
      FSession.Control({{TControl::RollbackTo, FSlot}, {TControl::Release, FSlot}});
    RecordFailure(e, statement);
    if (FStopped) FRows = FBatchStart + static_cast<int64_t>(row) + 1;
    return;
  }
  // When the bulk path refused what the statement takes (a number that the column type's text
  // input reads otherwise), the row stays, as its statement put it.
  if (FSavepoints) FPending = {{TControl::Release, FSlot}};
}

void TBatchLoader::RecordFailure(const EDatabaseError& e, const std::string& statement) {
  ++FFailed;
  std::string entry = e.what();
  entry += "\r\n";
  entry += statement;
  entry += "\r\n";
  entry += kErrorRule;
  entry += "\r\n";
  if (FOnEntry) FOnEntry(entry);
  if (FFailed <= kKeptFailures) FErrors += entry;
  if (FMaxFailures > 0 && FFailed >= FMaxFailures) FStopped = true;
}

void TBatchLoader::AddError(const std::string& line) {
  const std::string entry = line + "\r\n";
  if (FOnEntry) FOnEntry(entry);
  FNotes += entry;
}

std::string TBatchLoader::Errors() const {
  std::string memo = FErrors;
  if (FFailed > kKeptFailures)
    memo += "... and " + std::to_string(FFailed - kKeptFailures) + " more failed statements\r\n";
  return memo + FNotes;
}

}  // namespace kelvast
