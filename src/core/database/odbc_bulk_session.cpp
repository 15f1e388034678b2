// SPDX-License-Identifier: MIT
#include "core/database/odbc_bulk_session.h"

#include <algorithm>
#include <cstring>

#include "core/database/number_literal.h"
#include "core/database/sqlite_bulk_session.h"
#include "core/platform/code_page.h"

namespace kelvast {

using odbc::Check;

namespace {

// Digits after the decimal point of a numeric literal, up to its exponent.
size_t FractionDigits(std::string_view literal) {
  const size_t point = literal.find('.');
  if (point == std::string_view::npos) return 0;
  const size_t exponent = literal.find_first_of("eE", point);
  return (exponent == std::string_view::npos ? literal.size() : exponent) - point - 1;
}

bool SetAttribute(SQLHSTMT statement, SQLINTEGER attribute, SQLPOINTER value) {
  return SQL_SUCCEEDED(SQLSetStmtAttr(statement, attribute, value, 0));
}

}  // namespace

TOdbcBulkSession::TOdbcBulkSession(TDataAccess& connection, SQLHDBC dbc, TBulkTarget target,
                                   TParameterRows rows, const TNumberParameters& numbers,
                                   bool sqliteCodes)
    : FDb(connection),
      FStmt(SQL_HANDLE_STMT, dbc),
      FTarget(std::move(target)),
      FRows(rows),
      FRealsAsDoubles(numbers.RealsAsDoubles),
      FSqliteCodes(sqliteCodes),
      FColumns(FTarget.Columns.size()) {
  std::string sql = AnsiToUtf8(InsertWithParameters(FTarget));
  if (numbers.Marker != "?") {
    // The markers of number columns take the engine's own form, in column order.
    const size_t values = sql.rfind(" VALUES (");
    std::string marked = sql.substr(0, values);
    size_t column = 0;
    for (size_t i = values; i < sql.size(); ++i) {
      if (sql[i] == '?' && FTarget.Columns[column++].Number)
        marked += numbers.Marker;
      else
        marked += sql[i];
    }
    sql = std::move(marked);
  }
  Check(SQLPrepare(FStmt.Get(), odbc::Chars(sql), static_cast<SQLINTEGER>(sql.size())), FStmt,
        "Preparing the insert");
  if (FRows == TParameterRows::Single || FColumns.empty()) {
    FRows = TParameterRows::Single;
    return;
  }
  // A driver that does not take arrays refuses the attributes or sets a size of its own.
  FStatus.resize(kArrayRows);
  SQLULEN size = 0;
  const bool arrays =
      SetAttribute(FStmt.Get(), SQL_ATTR_PARAM_BIND_TYPE,
                   reinterpret_cast<SQLPOINTER>(SQL_PARAM_BIND_BY_COLUMN)) &&
      SetAttribute(FStmt.Get(), SQL_ATTR_PARAM_STATUS_PTR, FStatus.data()) &&
      SetAttribute(FStmt.Get(), SQL_ATTR_PARAMS_PROCESSED_PTR, &FProcessed) &&
      SetAttribute(FStmt.Get(), SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(kArrayRows)) &&
      SQL_SUCCEEDED(SQLGetStmtAttr(FStmt.Get(), SQL_ATTR_PARAMSET_SIZE, &size, 0, nullptr)) &&
      size == kArrayRows;
  FArraySize = size;
  if (arrays) return;
  FRows = TParameterRows::Single;
  SetAttribute(FStmt.Get(), SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN{1}));
  SetAttribute(FStmt.Get(), SQL_ATTR_PARAM_STATUS_PTR, nullptr);
  SetAttribute(FStmt.Get(), SQL_ATTR_PARAMS_PROCESSED_PTR, nullptr);
  FArraySize = 1;
}

std::string TOdbcBulkSession::PathName() const {
  return FRows == TParameterRows::Arrays ? "parameter arrays" : "bound parameters";
}

TOdbcBulkSession::TKind TOdbcBulkSession::NumberKind(std::string_view value) const {
  switch (ParseNumberLiteral(value).Kind) {
    case TNumberLiteral::Integer:
      return TKind::Integer;
    case TNumberLiteral::Real:
      return FRealsAsDoubles ? TKind::Double : TKind::Real;
    case TNumberLiteral::Other:
      break;
  }
  return TKind::Unset;
}

bool TOdbcBulkSession::Bindable(const TValueBatch& batch, size_t row) const {
  for (size_t c = 0; c < FColumns.size(); ++c)
    if (FTarget.Columns[c].Number && !batch.IsNull(row, c) &&
        NumberKind(batch.Value(row, c)) == TKind::Unset)
      return false;
  return true;
}

size_t TOdbcBulkSession::Group(const TValueBatch& batch, size_t first, size_t limit) {
  for (size_t c = 0; c < FColumns.size(); ++c) {
    FColumns[c].Kind = FTarget.Columns[c].Number ? TKind::Unset : TKind::Text;
    FColumns[c].Width = 0;
    FColumns[c].Digits = 0;
  }
  size_t n = 0;
  size_t rowBytes = 0;  // one row's slots at the group's widths
  for (; n < limit; ++n) {
    const size_t row = first + n;
    if (n > 0 && !Bindable(batch, row)) break;
    // The row joins when no number column changes its kind and the group stays within bytes.
    size_t grown = 0;
    bool fits = true;
    for (size_t c = 0; c < FColumns.size() && fits; ++c) {
      if (batch.IsNull(row, c)) continue;
      const TColumn& column = FColumns[c];
      const std::string_view value = batch.Value(row, c);
      if (column.Kind == TKind::Text) {
        grown += std::max(column.Width, Utf8Length(value)) - column.Width;
        continue;
      }
      const TKind kind = NumberKind(value);
      if (column.Kind != TKind::Unset && kind != column.Kind) fits = false;
      if (kind == TKind::Real) grown += std::max(column.Width, value.size()) - column.Width;
    }
    if (!fits || (n > 0 && (n + 1) * (rowBytes + grown + FColumns.size()) > kArrayBytes)) break;
    rowBytes = 0;
    for (size_t c = 0; c < FColumns.size(); ++c) {
      TColumn& column = FColumns[c];
      if (!batch.IsNull(row, c)) {
        const std::string_view value = batch.Value(row, c);
        if (column.Kind == TKind::Text) {
          column.Width = std::max(column.Width, Utf8Length(value));
        } else {
          column.Kind = NumberKind(value);
          if (column.Kind == TKind::Real) {
            column.Width = std::max(column.Width, value.size());
            column.Digits = std::max(column.Digits, FractionDigits(value));
          }
        }
      }
      rowBytes += column.Width;
    }
  }
  return n;
}

void TOdbcBulkSession::Fill(const TValueBatch& batch, size_t first, size_t count) {
  for (size_t c = 0; c < FColumns.size(); ++c) {
    TColumn& column = FColumns[c];
    if (column.Kind == TKind::Unset) column.Kind = TKind::Text;  // NULL in every row
    const bool fixed = column.Kind == TKind::Integer || column.Kind == TKind::Double;
    const size_t slot = fixed ? 8 : column.Width + 1;
    column.Values.resize(count * slot);
    column.Lengths.resize(count);
    for (size_t i = 0; i < count; ++i) {
      const size_t row = first + i;
      char* at = column.Values.data() + i * slot;
      if (batch.IsNull(row, c)) {
        column.Lengths[i] = SQL_NULL_DATA;
        continue;
      }
      const std::string_view value = batch.Value(row, c);
      switch (column.Kind) {
        case TKind::Text:
          column.Lengths[i] = WriteAsUtf8(at, value) - at;
          break;
        case TKind::Real:
          std::memcpy(at, value.data(), value.size());
          column.Lengths[i] = static_cast<SQLLEN>(value.size());
          break;
        case TKind::Integer: {
          const int64_t number = ParseNumberLiteral(value).IntegerValue;
          std::memcpy(at, &number, sizeof number);
          column.Lengths[i] = sizeof number;
          break;
        }
        case TKind::Double: {
          const double number = ParseNumberLiteral(value).RealValue;
          std::memcpy(at, &number, sizeof number);
          column.Lengths[i] = sizeof number;
          break;
        }
        case TKind::Unset:
          break;
      }
    }
    SQLSMALLINT cType = SQL_C_CHAR, sqlType = SQL_VARCHAR;
    SQLULEN size = std::max<size_t>(column.Width, 1);
    SQLSMALLINT digits = 0;
    if (column.Kind == TKind::Integer) {
      cType = SQL_C_SBIGINT;
      sqlType = SQL_BIGINT;
      size = 19;
    } else if (column.Kind == TKind::Double) {
      cType = SQL_C_DOUBLE;
      sqlType = SQL_DOUBLE;
      size = 15;
    } else if (column.Kind == TKind::Real) {
      // An exact numeric, as the literal is on engines that read decimals exactly.
      sqlType = SQL_NUMERIC;
      digits = static_cast<SQLSMALLINT>(column.Digits);
    }
    Check(SQLBindParameter(FStmt.Get(), static_cast<SQLUSMALLINT>(c + 1), SQL_PARAM_INPUT, cType,
                           sqlType, size, digits, column.Values.data(),
                           static_cast<SQLLEN>(slot), column.Lengths.data()),
          FStmt, "Binding the values");
  }
}

EDatabaseError TOdbcBulkSession::Error(const char* action, SQLRETURN rc) const {
  const EDatabaseError e = odbc::DiagnosticError(SQL_HANDLE_STMT, FStmt.Get(), action, rc);
  return FSqliteCodes ? SqliteDriverError(e) : e;
}

void TOdbcBulkSession::Fail(const EDatabaseError& e, long row) {
  if (!e.RowFailure()) throw e;
  throw EBulkLoadError(e.what(), e.SqlState(), e.NativeError(), row);
}

void TOdbcBulkSession::Run(size_t first, size_t count) {
  if (FRows == TParameterRows::Arrays && count != FArraySize) {
    Check(SQLSetStmtAttr(FStmt.Get(), SQL_ATTR_PARAMSET_SIZE,
                         reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(count)), 0),
          FStmt, "Setting the rows of a call");
    FArraySize = count;
  }
  FProcessed = 0;
  const SQLRETURN rc = SQLExecute(FStmt.Get());
  // The rows among which the failing one lies: those whose status says so (a driver that sends
  // an array in parts marks every row of the part that failed), else the row the driver stopped
  // at, whether it counts the failing row as processed or not.
  long from = -1, to = -1;
  bool errorStatus = false;
  if (count == 1) {
    from = static_cast<long>(first);
    to = from + 1;
  } else if (FRows == TParameterRows::Arrays) {
    const size_t processed = std::min<size_t>(FProcessed, count);
    for (size_t i = 0; i < processed; ++i) {
      if (FStatus[i] != SQL_PARAM_ERROR) continue;
      errorStatus = true;
      if (from < 0) from = static_cast<long>(first + i);
      to = static_cast<long>(first + i + 1);
    }
    if (from < 0 && processed < count) {
      from = static_cast<long>(first + (processed > 0 ? processed - 1 : 0));
      to = static_cast<long>(first + processed + 1);
    }
  }
  // A driver that goes on after a failing row of an array says so with SQL_SUCCESS_WITH_INFO
  // and the row's status.
  const bool ok = rc == SQL_SUCCESS || rc == SQL_NO_DATA ||
                  (rc == SQL_SUCCESS_WITH_INFO && (count == 1 || !errorStatus));
  if (ok) {
    SQLFreeStmt(FStmt.Get(), SQL_CLOSE);
    return;
  }
  const EDatabaseError e = Error("Inserting rows", rc);
  SQLFreeStmt(FStmt.Get(), SQL_CLOSE);
  if (!e.RowFailure()) throw e;
  throw EBulkLoadError(e.what(), e.SqlState(), e.NativeError(), from, to);
}

void TOdbcBulkSession::RunStatement(const TValueBatch& batch, size_t row) {
  try {
    FDb.ExecuteRow(RowStatement(FTarget, batch, row, TMarkers::Question));
  } catch (const EDatabaseError& e) {
    Fail(e, static_cast<long>(row));
  }
}

void TOdbcBulkSession::Load(const TValueBatch& batch, size_t first, size_t count) {
  const size_t limit = FRows == TParameterRows::Arrays ? kArrayRows : 1;
  const size_t end = first + count;
  for (size_t row = first; row < end;) {
    if (!Bindable(batch, row)) {
      RunStatement(batch, row);
      ++row;
      continue;
    }
    const size_t n = Group(batch, row, std::min(limit, end - row));
    Fill(batch, row, n);
    Run(row, n);
    row += n;
  }
}

void TOdbcBulkSession::InsertRow(const TValueBatch& batch, size_t row) {
  if (!Bindable(batch, row)) {
    RunStatement(batch, row);
    return;
  }
  Group(batch, row, 1);
  Fill(batch, row, 1);
  Run(row, 1);
}

}  // namespace kelvast
