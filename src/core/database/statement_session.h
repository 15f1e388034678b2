// SPDX-License-Identifier: MIT
#pragma once
// The path of a connection that offers no session of its own (an ODBC connection always offers
// one, with bound parameters; this path is left for a driver that cannot prepare the INSERT):
// every row's INSERT statement run on the connection, one after another, inside the connection's
// transaction, each through a call that takes exactly one statement, with its texts bound.

#include "core/database/bulk_session.h"

namespace kelvast {

class TStatementSession final : public TBulkSession {
 public:
  TStatementSession(TDataAccess& connection, TBulkTarget target)
      : FDb(connection), FTarget(std::move(target)) {}

  std::string PathName() const override { return "statements"; }
  void Execute(const std::string& sql) override { FDb.Execute(sql); }
  void Begin() override { FDb.BeginTrans(); }
  void Commit() override { FDb.CommitTrans(); }
  void Rollback() override { FDb.RollbackTrans(); }
  bool InTransaction() const override { return FDb.InTransaction(); }
  void Load(const TValueBatch& batch, size_t first, size_t count) override;
  void InsertRow(const TValueBatch& batch, size_t row) override;

 private:
  TDataAccess& FDb;
  TBulkTarget FTarget;
};

}  // namespace kelvast
