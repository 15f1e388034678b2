// SPDX-License-Identifier: MIT
#pragma once
// The bulk path of any ODBC driver: one prepared INSERT whose parameters are bound from the
// batch, column by column, and run for many rows in one call as parameter arrays
// (SQL_ATTR_PARAMSET_SIZE) where the driver takes them, else one row per call. Values never go
// into the statement's text, so no value can end a string literal early, whatever escapes the
// engine reads in literals; numbers are bound as the numbers their bare literals are.
//
//   TOdbcConnection db(connectionString);
//   db.Open();
//   auto session = db.OpenParameterSession(target);   // or db.OpenBulkSession(target)
//   session->Begin();
//   session->Load(batch, 0, batch.Rows());
//   session->Commit();
//
// The session works on the connection's own transaction; it holds one statement handle of its
// own on the connection, which must outlive it.

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/database/bulk_session.h"
#include "core/database/odbc_handle.h"

namespace kelvast {

// How the session sends rows to the driver.
enum class TParameterRows {
  Arrays,  // many rows per call, when the driver takes parameter arrays
  Single,  // one row per call
};

// How number columns' values reach the engine as the numbers their bare literals are.
struct TNumberParameters {
  // A literal with a decimal point or an exponent is a double on the engine (SQLite), not an
  // exact numeric.
  bool RealsAsDoubles = false;
  // The parameter marker of a number column: "?", or an expression around it that makes the
  // engine read the value as a number literal whatever type the column has.
  std::string Marker = "?";
};

class TOdbcBulkSession final : public TBulkSession {
 public:
  // The most rows one call sends, and the most bytes their bound values take.
  static constexpr size_t kArrayRows = 1024;
  static constexpr size_t kArrayBytes = 4 << 20;

  // Prepares the INSERT on dbc, the handle of `connection`. Raises EDatabaseError when the
  // driver cannot prepare it. sqliteCodes: the driver is SQLite's, whose native error codes are
  // SQLite's result codes.
  TOdbcBulkSession(TDataAccess& connection, SQLHDBC dbc, TBulkTarget target, TParameterRows rows,
                   const TNumberParameters& numbers, bool sqliteCodes = false);
  // The driver holds the addresses of the status array and the processed count.
  TOdbcBulkSession(const TOdbcBulkSession&) = delete;
  TOdbcBulkSession& operator=(const TOdbcBulkSession&) = delete;

  // "parameter arrays", or "bound parameters" when the driver takes one row per call.
  std::string PathName() const override;
  TParameterRows Rows() const { return FRows; }
  void Execute(const std::string& sql) override { FDb.Execute(sql); }
  void Begin() override { FDb.BeginTrans(); }
  void Commit() override { FDb.CommitTrans(); }
  void Rollback() override { FDb.RollbackTrans(); }
  bool InTransaction() const override { return FDb.InTransaction(); }
  void Load(const TValueBatch& batch, size_t first, size_t count) override;
  // The row alone, bound as Load binds it.
  void InsertRow(const TValueBatch& batch, size_t row) override;

 private:
  enum class TKind : uint8_t { Unset, Text, Integer, Real, Double };
  struct TColumn {
    TKind Kind = TKind::Unset;
    size_t Width = 0;          // bytes of the widest text of the group
    size_t Digits = 0;         // digits after the point of a Real, the most of the group
    std::vector<char> Values;  // the group's values, one slot of the column's width per row
    std::vector<SQLLEN> Lengths;
  };

  // The kind a number column's value binds as; Unset when only its statement can store it.
  TKind NumberKind(std::string_view value) const;
  // True when the row can be bound (no number column holds what is no number).
  bool Bindable(const TValueBatch& batch, size_t row) const;
  // The rows from `first` that bind together, at most `limit`: every number column keeps one
  // kind, within the bytes allowed. Sets the columns' kinds and widths.
  size_t Group(const TValueBatch& batch, size_t first, size_t limit);
  void Fill(const TValueBatch& batch, size_t first, size_t count);
  // Runs the group; raises EBulkLoadError naming the failing row or the rows it lies among.
  void Run(size_t first, size_t count);
  // The row's own statement (RowStatement) on the connection; raises EBulkLoadError naming the
  // row when the row fails.
  void RunStatement(const TValueBatch& batch, size_t row);
  // The statement handle's diagnostics as an error of the kind the driver's codes say.
  EDatabaseError Error(const char* action, SQLRETURN rc) const;
  [[noreturn]] static void Fail(const EDatabaseError& e, long row);

  TDataAccess& FDb;
  odbc::THandle FStmt;
  TBulkTarget FTarget;
  TParameterRows FRows;
  bool FRealsAsDoubles;
  bool FSqliteCodes;
  std::vector<TColumn> FColumns;
  std::vector<SQLUSMALLINT> FStatus;
  SQLULEN FProcessed = 0;
  SQLULEN FArraySize = 1;  // the array size set on the statement
};

}  // namespace kelvast
