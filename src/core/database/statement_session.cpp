// SPDX-License-Identifier: MIT
#include "core/database/statement_session.h"

namespace kelvast {

std::unique_ptr<TBulkSession> TDataAccess::OpenBulkSession(const TBulkTarget&) { return nullptr; }

void TStatementSession::Load(const TValueBatch& batch, size_t first, size_t count) {
  for (size_t row = first; row < first + count; ++row) {
    FStatement = FTarget.Statement(batch, row);
    try {
      FDb.Execute(FStatement);
    } catch (const EDatabaseError& e) {
      if (e.ConnectionLost() || e.DatabaseLocked()) throw;
      throw EBulkLoadError(e.what(), e.SqlState(), e.NativeError(), static_cast<long>(row));
    }
  }
}

}  // namespace kelvast
