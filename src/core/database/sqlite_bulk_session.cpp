// SPDX-License-Identifier: MIT
#include "core/database/sqlite_bulk_session.h"

#include <sqlite3.h>

#include <charconv>
#include <memory>
#include <optional>

#include "core/database/connection_checks.h"
#include "core/database/connection_string.h"
#include "core/database/number_literal.h"
#include "core/platform/code_page.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

std::string ToAnsi(const char* utf8) {
  std::string ansi;
  Utf8ToAnsi(utf8 ? utf8 : "", ansi);
  return ansi;
}

}  // namespace

// Failures that say nothing about the row being loaded: the database is held by another
// connection (after the busy wait), the disk or the file fails, the file is read-only, the
// session itself is broken. Every other failure (a constraint, a value a column cannot take, an
// error raised by a trigger or a function the table's definition calls, an expression of the
// row's own statement) belongs to the row.
TFailureKind SqliteFailureKind(int resultCode) {
  switch (resultCode & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_NOMEM:
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_INTERRUPT:
    case SQLITE_ABORT:
    case SQLITE_PERM:
    case SQLITE_PROTOCOL:
    case SQLITE_AUTH:
    case SQLITE_MISUSE:
      return fkDatabase;
    default:
      return fkRow;
  }
}

namespace {

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

struct TStatementCloser {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

}  // namespace

EDatabaseError SqliteDriverError(const EDatabaseError& e) {
  // The driver's own refusals (a second statement, a bad call) carry no result code.
  if ((e.SqlState() != "HY000" && e.SqlState() != "S1000") || e.NativeError() <= 0) return e;
  return EDatabaseError(e.what(), e.SqlState(), e.NativeError(),
                        SqliteFailureKind(e.NativeError()));
}

TSqliteBulkSession::TSqliteBulkSession(const std::string& database, int busyMilliseconds,
                                       bool foreignKeys, TBulkTarget target)
    : FTarget(std::move(target)) {
  // Read-write without SQLITE_OPEN_CREATE: a file that went missing is never made anew.
  const int rc = sqlite3_open_v2(database.c_str(), &FDb, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = ToAnsi(FDb ? sqlite3_errmsg(FDb) : sqlite3_errstr(rc));
    Close();
    throw EDatabaseError("Cannot connect to the database: " + message, "", rc);
  }
  try {
    sqlite3_extended_result_codes(FDb, 1);
    sqlite3_db_config(FDb, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_busy_timeout(FDb, busyMilliseconds);
    Execute(foreignKeys ? "PRAGMA foreign_keys = ON" : "PRAGMA foreign_keys = OFF");
    const std::string sql = AnsiToUtf8(InsertWithParameters(FTarget));
    if (sqlite3_prepare_v3(FDb, sql.c_str(), static_cast<int>(sql.size()),
                           SQLITE_PREPARE_PERSISTENT, &FInsert, nullptr) != SQLITE_OK)
      Fail(sqlite3_extended_errcode(FDb), -1);
  } catch (...) {
    Close();
    throw;
  }
  FBound.resize(FTarget.Columns.size());
}

TSqliteBulkSession::~TSqliteBulkSession() { Close(); }

void TSqliteBulkSession::Close() noexcept {
  if (FInsert) sqlite3_finalize(FInsert);
  FInsert = nullptr;
  if (!FDb) return;
  if (!sqlite3_get_autocommit(FDb)) sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close_v2(FDb);
  FDb = nullptr;
}

void TSqliteBulkSession::Fail(int rc, long row) const {
  const std::string message = ToAnsi(sqlite3_errmsg(FDb));
  const TFailureKind kind = SqliteFailureKind(rc);
  if (row >= 0 && kind == fkRow) throw EBulkLoadError(message, "", rc, row);
  throw EDatabaseError(message, "", rc, kind);
}

void TSqliteBulkSession::Execute(const std::string& sql) {
  const std::string utf8 = AnsiToUtf8(sql);
  if (sqlite3_exec(FDb, utf8.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
    Fail(sqlite3_extended_errcode(FDb), -1);
}

bool TSqliteBulkSession::InTransaction() const { return !sqlite3_get_autocommit(FDb); }

void TSqliteBulkSession::BindRow(const TValueBatch& batch, size_t row) {
  // Texts of the code page's upper half are converted into one buffer first and bound after,
  // since the buffer may move while it grows. Everything bound stays in place until the step:
  // the batch, and the buffer until the next row.
  FUtf8.clear();
  int rc = SQLITE_OK;
  for (size_t c = 0; c < FBound.size() && rc == SQLITE_OK; ++c) {
    const int index = static_cast<int>(c) + 1;
    FBound[c].Length = -1;
    if (batch.IsNull(row, c)) {
      rc = sqlite3_bind_null(FInsert, index);
      continue;
    }
    const std::string_view value = batch.Value(row, c);
    if (FTarget.Columns[c].Number) {
      const TNumberLiteral number = ParseNumberLiteral(value);
      if (number.Kind == TNumberLiteral::Integer) {
        rc = sqlite3_bind_int64(FInsert, index, number.IntegerValue);
        continue;
      }
      if (number.Kind == TNumberLiteral::Real) {
        rc = sqlite3_bind_double(FInsert, index, number.RealValue);
        continue;
      }
    }
    if (IsAscii(value)) {
      rc = sqlite3_bind_text(FInsert, index, value.data(), static_cast<int>(value.size()),
                             SQLITE_STATIC);
      continue;
    }
    const size_t offset = FUtf8.size();
    AppendAsUtf8(FUtf8, value);
    FBound[c] = {offset, static_cast<int>(FUtf8.size() - offset)};
  }
  for (size_t c = 0; c < FBound.size() && rc == SQLITE_OK; ++c) {
    if (FBound[c].Length < 0) continue;
    rc = sqlite3_bind_text(FInsert, static_cast<int>(c) + 1, FUtf8.data() + FBound[c].Offset,
                           FBound[c].Length, SQLITE_STATIC);
  }
  if (rc != SQLITE_OK) Fail(rc, -1);
}

bool TSqliteBulkSession::Bindable(const TValueBatch& batch, size_t row) const {
  for (size_t c = 0; c < FBound.size(); ++c)
    if (FTarget.Columns[c].Number && !batch.IsNull(row, c) &&
        ParseNumberLiteral(batch.Value(row, c)).Kind == TNumberLiteral::Other)
      return false;
  return true;
}

void TSqliteBulkSession::RunStatement(const TValueBatch& batch, size_t row) {
  const TRowStatement statement = RowStatement(FTarget, batch, row, TMarkers::Question);
  const std::string sql = AnsiToUtf8(statement.Sql);
  sqlite3_stmt* prepared = nullptr;
  const char* tail = nullptr;
  const int rc =
      sqlite3_prepare_v2(FDb, sql.c_str(), static_cast<int>(sql.size()), &prepared, &tail);
  const std::unique_ptr<sqlite3_stmt, TStatementCloser> owner(prepared);
  if (rc != SQLITE_OK) Fail(sqlite3_extended_errcode(FDb), static_cast<long>(row));
  // The text must be one statement: whatever follows it (a number column's value that ended it
  // early) would be the start of another, so nothing of it runs.
  const std::string_view rest(tail, sql.c_str() + sql.size() - tail);
  if (prepared == nullptr || !TrimView(rest).empty() ||
      sqlite3_bind_parameter_count(prepared) != static_cast<int>(statement.Texts.size()))
    throw EBulkLoadError(
        "The row's statement holds more than its INSERT: a number column's value ends the "
        "statement early, so the row was not run",
        "", SQLITE_ERROR, static_cast<long>(row));
  for (size_t i = 0; i < statement.Texts.size(); ++i) {
    const std::string utf8 = AnsiToUtf8(statement.Texts[i]);
    if (sqlite3_bind_text(prepared, static_cast<int>(i) + 1, utf8.data(),
                          static_cast<int>(utf8.size()), SQLITE_TRANSIENT) != SQLITE_OK)
      Fail(sqlite3_extended_errcode(FDb), -1);
  }
  if (sqlite3_step(prepared) != SQLITE_DONE)
    Fail(sqlite3_extended_errcode(FDb), static_cast<long>(row));
}

void TSqliteBulkSession::Load(const TValueBatch& batch, size_t first, size_t count) {
  for (size_t row = first; row < first + count; ++row) {
    // A number column's value that is no number literal is an expression only its statement
    // can store.
    if (!Bindable(batch, row)) {
      RunStatement(batch, row);
      continue;
    }
    BindRow(batch, row);
    const int rc = sqlite3_step(FInsert);
    if (rc != SQLITE_DONE) {
      sqlite3_reset(FInsert);
      sqlite3_clear_bindings(FInsert);
      Fail(rc, static_cast<long>(row));
    }
    sqlite3_reset(FInsert);
  }
  // The batch and the buffer may change before the next load binds again.
  sqlite3_clear_bindings(FInsert);
}

std::unique_ptr<TBulkSession> OpenSqliteBulkSession(const std::string& connectionString,
                                                    TDataAccess& connection,
                                                    const TBulkTarget& target) {
  const std::optional<std::string> database = SqliteDatabaseOf(connectionString);
  // A second handle on an in-memory database would open another, empty one.
  if (!database || *database == ":memory:") return nullptr;
  CheckSqliteTarget(connectionString);
  // A driver named after SQLite may be the SQLite 2 one, whose files this library cannot read.
  std::vector<std::string> version;
  try {
    version = connection.Query("SELECT sqlite_version()");
  } catch (const EDatabaseError&) {
    return nullptr;
  }
  if (version.empty() || version.front().rfind("3.", 0) != 0) return nullptr;
  const std::vector<std::string> foreignKeys = connection.Query("PRAGMA foreign_keys");
  return std::make_unique<TSqliteBulkSession>(
      AnsiToUtf8(*database), SqliteBusyMilliseconds(connectionString),
      !foreignKeys.empty() && foreignKeys.front() == "1", target);
}

}  // namespace kelvast
