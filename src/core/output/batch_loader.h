// SPDX-License-Identifier: MIT
#pragma once
// Loads batches of rows through a bulk session so that the transaction ends up holding exactly
// the rows whose own INSERT statements would succeed, as if each row had had a savepoint of its
// own. A batch is loaded whole under one savepoint; when it fails, it is rolled back and
// narrowed down: the engine's word on which row failed splits it there, otherwise it is halved,
// down to single rows. A single failing row is tried once more as its INSERT statement, whose
// verdict and message are the ones reported.
//
// Every failure goes to the error memo in row order: the message, CR LF, the statement, CR LF,
// 56 hyphens, CR LF.

#include <cstdint>
#include <string>

#include "core/database/bulk_session.h"

namespace kelvast {

class TBatchLoader {
 public:
  // maxFailures: after this many failed rows (0: no limit) nothing more is loaded.
  TBatchLoader(TBulkSession& session, TBulkTarget target, int maxFailures)
      : FSession(session), FTarget(std::move(target)), FMaxFailures(maxFailures) {}

  // Loads every row of batch, in order. Raises EDatabaseError for anything but a row's own
  // failure: a lost connection, a locked database, a savepoint refused.
  void Load(const TValueBatch& batch);

  // Rows run so far, loaded or failed; when the limit stopped the insert, up to the row that
  // reached it.
  int64_t Rows() const { return FRows; }
  int Failed() const { return FFailed; }
  // The limit of failures was reached: the rows after it were left out.
  bool Stopped() const { return FStopped; }
  const std::string& Errors() const { return FErrors; }
  // Adds a line to the memo (the limit's notice, a failed commit).
  void AddError(const std::string& line) { FErrors += line + "\r\n"; }

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
  std::string FErrors;
};

}  // namespace kelvast
