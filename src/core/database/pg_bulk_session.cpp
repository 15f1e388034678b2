// SPDX-License-Identifier: MIT
#include "core/database/pg_bulk_session.h"

#include <libpq-fe.h>

#include <array>
#include <charconv>
#include <cstring>

#include "core/platform/code_page.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

// Rows go to the server in chunks of about this size.
constexpr size_t kChunkBytes = 256 * 1024;

// The UTF-8 form of every byte of the code page, looked up while encoding rows so that no value
// needs a conversion of its own.
struct TUtf8Char {
  char Bytes[3];
  unsigned char Length;
};
const std::array<TUtf8Char, 256>& Utf8Chars() {
  static const std::array<TUtf8Char, 256> table = [] {
    std::array<TUtf8Char, 256> t{};
    for (int b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      const std::string utf8 = AnsiToUtf8(std::string_view(&c, 1));
      t[b].Length = static_cast<unsigned char>(utf8.size());
      std::memcpy(t[b].Bytes, utf8.data(), utf8.size());
    }
    return t;
  }();
  return table;
}

std::string ToAnsi(std::string_view utf8) {
  std::string ansi;
  Utf8ToAnsi(utf8, ansi);
  return ansi;
}

// The row of a batch that a COPY's error context names: its last line that begins with "COPY "
// reads "COPY people, line 57, column id: ..." (lines above it come from functions the row set
// off), and line N of a load that began at row first is row first + N - 1. -1 when no line of
// the load is named.
long CopyErrorRow(const char* context, size_t first, size_t count) {
  if (context == nullptr) return -1;
  std::string_view text = context;
  std::string_view copyLine;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    if (line.starts_with("COPY ")) copyLine = line;
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  const size_t at = copyLine.find(", line ");
  if (at == std::string_view::npos) return -1;
  const char* digits = copyLine.data() + at + 7;
  size_t line = 0;
  const auto [end, error] = std::from_chars(digits, copyLine.data() + copyLine.size(), line);
  if (error != std::errc() || end == digits || line < 1 || line > count) return -1;
  return static_cast<long>(first + line - 1);
}

// A failed result as an error: the server's primary message and SQLSTATE. A session that the
// failure ended (a broken connection, a FATAL error) gives SQLSTATE class 08, as any connection
// failure does.
EDatabaseError ResultError(PGconn* conn, const PGresult* result) {
  const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
  const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  const char* severity =
      result ? PQresultErrorField(result, PG_DIAG_SEVERITY_NONLOCALIZED) : nullptr;
  std::string message = primary ? primary : "";
  if (message.empty() && result) message = Trim(PQresultErrorMessage(result));
  if (message.empty()) message = Trim(PQerrorMessage(conn));
  std::string sqlState = state ? state : "";
  const bool ended =
      PQstatus(conn) != CONNECTION_OK ||
      (severity && (std::strcmp(severity, "FATAL") == 0 || std::strcmp(severity, "PANIC") == 0));
  if (ended && !sqlState.starts_with("08")) sqlState = "08006";
  return EDatabaseError(ToAnsi(message), std::move(sqlState), 0);
}

bool Succeeded(const PGresult* result) {
  const ExecStatusType status = PQresultStatus(result);
  return result && (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK);
}

// Reads the results left on the connection, so that it takes the next statement.
void Drain(PGconn* conn) {
  while (PGresult* result = PQgetResult(conn)) {
    const bool copying = PQresultStatus(result) == PGRES_COPY_IN;
    PQclear(result);
    if (copying && PQputCopyEnd(conn, "the load was abandoned") != 1) return;
  }
}

// Takes a command's result: cleared when it succeeded, else its error raised once the
// connection takes statements again.
void RequireSucceeded(PGconn* conn, PGresult* result) {
  if (Succeeded(result)) {
    PQclear(result);
    return;
  }
  EDatabaseError error = ResultError(conn, result);
  PQclear(result);
  Drain(conn);
  throw error;
}

}  // namespace

TPgBulkSession::TPgBulkSession(const std::vector<TPgParam>& params, const TBulkTarget& target,
                               const std::vector<std::string>& connectSettings) {
  std::vector<const char*> keywords;
  std::vector<const char*> values;
  for (const TPgParam& param : params) {
    keywords.push_back(param.Keyword.c_str());
    values.push_back(param.Value.c_str());
  }
  keywords.push_back("client_encoding");
  values.push_back("UTF8");
  keywords.push_back(nullptr);
  values.push_back(nullptr);
  // expand_dbname 0: a database name is a name, never a connection string of its own.
  FConn = PQconnectdbParams(keywords.data(), values.data(), 0);
  if (FConn == nullptr)
    throw EDatabaseError("Cannot connect to the database: out of memory", "08001", 0);
  if (PQstatus(FConn) != CONNECTION_OK) {
    // libpq's message names the server and the reason, never the password.
    const std::string message = ToAnsi(Trim(PQerrorMessage(FConn)));
    PQfinish(FConn);
    FConn = nullptr;
    throw EDatabaseError("Cannot connect to the database: " + message, "08001", 0);
  }
  // Notices (a savepoint released twice, a rollback outside a transaction) would go to stderr.
  PQsetNoticeProcessor(
      FConn, [](void*, const char*) {}, nullptr);
  // The session works in the same settings (a search_path above all) as the ODBC connection,
  // whose driver runs these on connecting. They are the user's own: strings read from files
  // may not set them (connection_checks.h).
  for (const std::string& statement : connectSettings) {
    PGresult* result = PQexec(FConn, statement.c_str());
    if (Succeeded(result)) {
      PQclear(result);
      continue;
    }
    const EDatabaseError error = ResultError(FConn, result);
    PQclear(result);
    PQfinish(FConn);
    FConn = nullptr;
    throw EDatabaseError("The connection's ConnSettings statement \"" + ToAnsi(statement) +
                             "\" failed: " + error.what(),
                         error.SqlState(), error.NativeError());
  }

  std::string copy = "COPY " + target.Table + " (";
  for (size_t i = 0; i < target.Columns.size(); ++i) {
    if (i > 0) copy += ", ";
    copy += target.Columns[i].Name;
  }
  copy += ") FROM STDIN";
  FCopy = AnsiToUtf8(copy);
  FTarget = target;
}

TPgBulkSession::~TPgBulkSession() {
  if (FConn) PQfinish(FConn);
}

void TPgBulkSession::Run(const std::string& utf8) {
  RequireSucceeded(FConn, PQexec(FConn, utf8.c_str()));
}

void TPgBulkSession::Execute(const std::string& sql) { Run(AnsiToUtf8(sql)); }

void TPgBulkSession::Begin() {
  Run("BEGIN");
  FInTransaction = true;
}

// COMMIT and ROLLBACK end the transaction even when they fail.
void TPgBulkSession::Commit() {
  FInTransaction = false;
  Run("COMMIT");
}

void TPgBulkSession::Rollback() {
  FInTransaction = false;
  Run("ROLLBACK");
}

// COPY's text format: a tab between values, a line feed after each row, \N for NULL, and a
// backslash before the backslash, tab, CR and LF of a value, so that line breaks inside values
// stay as they are.
void TPgBulkSession::EncodeValue(std::string_view value) {
  const std::array<TUtf8Char, 256>& utf8 = Utf8Chars();
  char* out = FBuffer.Room(value.size() * 3);
  for (const char c : value) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80) {
      std::memcpy(out, utf8[b].Bytes, 3);
      out += utf8[b].Length;
      continue;
    }
    switch (c) {
      case '\\':
        *out++ = '\\';
        *out++ = '\\';
        break;
      case '\t':
        *out++ = '\\';
        *out++ = 't';
        break;
      case '\n':
        *out++ = '\\';
        *out++ = 'n';
        break;
      case '\r':
        *out++ = '\\';
        *out++ = 'r';
        break;
      default:
        *out++ = c;
    }
  }
  FBuffer.Commit(out);
}

bool TPgBulkSession::Send() {
  if (FBuffer.empty()) return true;
  const int sent = PQputCopyData(FConn, FBuffer.data(), static_cast<int>(FBuffer.size()));
  FBuffer.clear();
  return sent == 1;
}

void TPgBulkSession::LoadAfter(const TControlStatements& before, const TValueBatch& batch,
                               size_t first, size_t count) {
  if (count == 0) {
    Control(before);
    return;
  }
  // Of several statements in one text, PQexec stops at the COPY, or at the first that fails.
  PGresult* start = PQexec(FConn, before.Empty() ? FCopy.c_str() : (before.Text() + FCopy).c_str());
  if (PQresultStatus(start) != PGRES_COPY_IN) {
    // The statement itself failed (no such table or column, no right to insert): no row's
    // fault. Its kind says whether the rows' own statements may still tell their verdicts.
    EDatabaseError error = ResultError(FConn, start);
    PQclear(start);
    Drain(FConn);
    throw error;
  }
  PQclear(start);
  FBuffer.clear();
  bool sent = true;
  const size_t columns = batch.Columns();
  for (size_t row = first; row < first + count && sent; ++row) {
    for (size_t column = 0; column < columns; ++column) {
      if (column > 0) FBuffer += '\t';
      if (batch.IsNull(row, column))
        FBuffer.append("\\N", 2);
      else
        EncodeValue(batch.Value(row, column));
    }
    FBuffer += '\n';
    if (FBuffer.size() >= kChunkBytes) sent = Send();
  }
  if (sent) sent = Send() && PQputCopyEnd(FConn, nullptr) == 1;
  FinishCopy(sent, first, count);
}

void TPgBulkSession::InsertRow(const TValueBatch& batch, size_t row) {
  // The extended protocol takes exactly one statement: a number column's value that ends the
  // INSERT early makes the server refuse the whole text, and nothing of it runs.
  const TRowStatement statement = RowStatement(FTarget, batch, row, TMarkers::Numbered);
  std::vector<std::string> texts;
  texts.reserve(statement.Texts.size());
  for (const std::string_view text : statement.Texts)
    texts.push_back(AnsiToUtf8(text));
  std::vector<const char*> values;
  for (const std::string& text : texts)
    values.push_back(text.c_str());
  const std::string sql = AnsiToUtf8(statement.Sql);
  RequireSucceeded(FConn, PQexecParams(FConn, sql.c_str(), static_cast<int>(values.size()),
                                       nullptr, values.data(), nullptr, nullptr, 0));
}

void TPgBulkSession::FinishCopy(bool sent, size_t first, size_t count) {
  FBuffer.clear();
  // The server's verdict comes as results; when sending failed they say why (the server refused
  // a row early, or the connection broke).
  PGresult* failed = nullptr;
  bool done = false;
  while (PGresult* result = PQgetResult(FConn)) {
    const ExecStatusType status = PQresultStatus(result);
    if (status == PGRES_COMMAND_OK) {
      done = true;
    } else if (status == PGRES_COPY_IN) {
      // Still copying after a failed send: the connection cannot take the end of the data.
      PQclear(result);
      if (PQputCopyEnd(FConn, "the load was abandoned") != 1) break;
      continue;
    } else if (failed == nullptr) {
      failed = result;
      continue;
    }
    PQclear(result);
  }
  if (failed == nullptr) {
    if (done && sent) return;
    throw EDatabaseError(ToAnsi(Trim(PQerrorMessage(FConn))), "08006", 0);
  }
  EDatabaseError error = ResultError(FConn, failed);
  const long row = CopyErrorRow(PQresultErrorField(failed, PG_DIAG_CONTEXT), first, count);
  PQclear(failed);
  if (!error.RowFailure()) throw error;
  throw EBulkLoadError(error.what(), error.SqlState(), error.NativeError(), row);
}

std::unique_ptr<TBulkSession> OpenPgBulkSession(const std::string& connectionString,
                                                const TBulkTarget& target) {
  if (target.Columns.empty()) return nullptr;
  const std::optional<std::vector<TPgParam>> params = PgConnectionParams(connectionString);
  if (!params) return nullptr;
  return std::make_unique<TPgBulkSession>(*params, target, PgConnectSettings(connectionString));
}

}  // namespace kelvast
