// SPDX-License-Identifier: MIT
#pragma once
// The bulk path of a PostgreSQL server: rows sent by COPY ... FROM STDIN in text format over a
// libpq session of its own, opened from the parameters of the ODBC connection string.
//
//   if (auto session = OpenPgBulkSession(connectionString, target)) {
//     session->Begin();
//     session->Load(batch, 0, batch.Rows());
//     session->Commit();
//   }

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/database/bulk_session.h"
#include "core/database/pg_connection_params.h"
#include "core/platform/text_buffer.h"

struct pg_conn;
struct pg_result;

namespace kelvast {

class TPgBulkSession final : public TBulkSession {
 public:
  // Connects with the libpq parameters and runs the connect-time statements the ODBC driver
  // would run (see PgConnectSettings); raises EDatabaseError (SQLSTATE 08001) when it cannot
  // connect, and the server's error when a statement fails.
  TPgBulkSession(const std::vector<TPgParam>& params, const TBulkTarget& target,
                 const std::vector<std::string>& connectSettings = {});
  ~TPgBulkSession() override;  // closing the session rolls back an open transaction
  TPgBulkSession(const TPgBulkSession&) = delete;
  TPgBulkSession& operator=(const TPgBulkSession&) = delete;

  std::string PathName() const override { return "COPY"; }
  void Execute(const std::string& sql) override;
  void Begin() override;
  void Commit() override;
  void Rollback() override;
  bool InTransaction() const override { return FInTransaction; }
  void Load(const TValueBatch& batch, size_t first, size_t count) override {
    LoadAfter({}, batch, first, count);
  }
  void Control(const TControlStatements& statements) override {
    if (!statements.Empty()) Run(statements.Text());
  }
  // The control statements and the COPY go to the server in one text.
  void LoadAfter(const TControlStatements& before, const TValueBatch& batch, size_t first,
                 size_t count) override;
  // The row's INSERT statement with its texts sent as parameters of unknown type, which the
  // server reads as it reads string literals but never as SQL (whatever
  // standard_conforming_strings says); number columns' values stay written as they are.
  void InsertRow(const TValueBatch& batch, size_t row) override;

 private:
  // Runs a statement given in UTF-8 that returns no rows.
  void Run(const std::string& utf8);
  void EncodeValue(std::string_view value);
  // Sends the encoded rows to the server; false when the COPY is over (the server refused it or
  // the connection broke), which the results then tell.
  bool Send();
  void FinishCopy(bool sent, size_t first, size_t count);

  pg_conn* FConn = nullptr;
  std::string FCopy;  // the COPY statement, in UTF-8
  TBulkTarget FTarget;
  bool FInTransaction = false;
  TTextBuffer FBuffer;  // rows encoded for COPY, sent in chunks
};

// A bulk session for target when the connection string opens a PostgreSQL server directly and
// the target has columns; null otherwise. Raises EDatabaseError when the server refuses it.
std::unique_ptr<TBulkSession> OpenPgBulkSession(const std::string& connectionString,
                                                const TBulkTarget& target);

}  // namespace kelvast
