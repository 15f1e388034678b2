// SPDX-License-Identifier: MIT
#include "core/database/statement_session.h"

namespace kelvast {

std::unique_ptr<TBulkSession> TDataAccess::OpenBulkSession(const TBulkTarget&) { return nullptr; }

void TStatementSession::InsertRow(const TValueBatch& batch, size_t row) {
  FDb.ExecuteRow(RowStatement(FTarget, batch, row, TMarkers::Question));
}

void TStatementSession::Load(const TValueBatch& batch, size_t first, size_t count) {
  for (size_t row = first; row < first + count; ++row) {
    try {
      InsertRow(batch, row);
    } catch (const EDatabaseError& e) {
      if (!e.RowFailure()) throw;
      throw EBulkLoadError(e.what(), e.SqlState(), e.NativeError(), static_cast<long>(row));
    }
  }
}

}  // namespace kelvast
