// SPDX-License-Identifier: MIT
#pragma once
// Loads batches of rows through a bulk session so that the transaction ends up holding exactly
// the rows whose own INSERT statements would succeed, as if each row had had a savepoint of its
// own. A batch is loaded whole under one savepoint; when it fails, it is rolled back and
// narrowed down: the engine's word on which row failed splits it there, otherwise it is halved,
// down to single rows. A single failing row is tried once more as its INSERT statement, whose
// verdict and message are the ones reported.
//
// Every failure is an entry of the error memo, in row order: the message, CR LF, the statement,
// CR LF, 56 hyphens, CR LF. Each entry goes to the caller's callback as it is made; the memo
// itself keeps only the first kKeptFailures of them and a count, so that a million failing rows
// cost no more memory than ten.
//
// A failure that is not the row's (EDatabaseError::Kind: a read-only or full database, a lost
// connection) ends the load at once, raised to the caller.

#include <cstdint>
#include <functional>
#include <string>

#include "core/database/bulk_session.h"

namespace kelvast {

class TBatchLoader {
 public:
  // The memo's entries kept in memory; the callback sees them all.
  static constexpr int kKeptFailures = 10;
  // An entry of the memo, on the thread that loads, one at a time.
  using TEntryCallback = std::function<void(const std::string& entry)>;

  // maxFailures: after this many failed rows (0: no limit) nothing more is loaded.
  TBatchLoader(TBulkSession& session, TBulkTarget target, int maxFailures,
               TEntryCallback onEntry = {})
      : FSession(session),
        FTarget(std::move(target)),
        FMaxFailures(maxFailures),
        FOnEntry(std::move(onEntry)) {}

  // Loads every row of batch, in order. Raises EDatabaseError for anything but a row's own
  // failure: a lost connection, a locked, read-only or full database, a savepoint refused.
  void Load(const TValueBatch& batch);

  // Rows run so far, loaded or failed; when the limit stopped the insert, up to the row that
  // reached it.
  int64_t Rows() const { return FRows; }
  int Failed() const { return FFailed; }
  // The limit of failures was reached: the rows after it were left out.
  bool Stopped() const { return FStopped; }
  // The memo: the first kKeptFailures entries, a line counting the failures left out, then the
  // added lines.
  std::string Errors() const;
  // Adds a line to the memo (the limit's notice, a failed commit), also given to the callback.
  void AddError(const std::string& line);

 private:
  static constexpr long kLoaded = -2;
  static constexpr size_t kSmallestChunk = 64;

  // Loads rows [first, first + count) under savepoints, narrowing down the ones that fail.
  void LoadGuarded(const TValueBatch& batch, size_t first, size_t count);
  // The rows among which a load's failing row lies, as the engine narrowed them down; From -1
  // when it said nothing, kLoaded when the load went in.
  struct TSuspects {
    long From;
    long To;
  };
  // One load under a savepoint, rolled back to it when it fails.
  TSuspects TryLoad(const TValueBatch& batch, size_t first, size_t count);
  // A row the bulk path refused: its statement decides.
  void TryStatement(const TValueBatch& batch, size_t row);
  void RecordFailure(const EDatabaseError& e, const std::string& statement);

  // The control statements that open the next step's savepoint: the pending release of the last
  // one, then a savepoint of the other slot, so that a release that fails can never leave a
  // rollback to undo the step before.
  TControlStatements OpenSavepoint();
  // Sends the pending release.
  void Flush();

  TBulkSession& FSession;
  TBulkTarget FTarget;
  TControlStatements FPending;  // goes to the server with the next statement
  int FSlot = 0;                // the savepoint of the current step
  int FMaxFailures;
  bool FSavepoints = true;
  int64_t FRows = 0;
  int64_t FBatchStart = 0;
  int FFailed = 0;
  bool FStopped = false;
  TEntryCallback FOnEntry;
  std::string FErrors;  // the entries kept
  std::string FNotes;   // the added lines
};

}  // namespace kelvast
