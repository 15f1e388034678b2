// SPDX-License-Identifier: MIT
#include "core/database/odbc_connection.h"

#include "core/database/connection_checks.h"

#include <algorithm>
#include <charconv>

#include "core/database/odbc_bulk_session.h"
#include "core/database/odbc_handle.h"
#include "core/database/pg_bulk_session.h"
#include "core/database/sqlite_bulk_session.h"
#include "core/platform/code_page.h"
#include "core/platform/text_utils.h"

namespace kelvast {

using odbc::Check;
using odbc::GetText;
using odbc::THandle;

struct TOdbcConnection::THandles {
  THandle Env;
  THandle Dbc;
  THandle Stmt;  // the one statement Query, Execute and the schema calls share
  bool Connected = false;
  std::string Dbms;    // the database product ("SQLite", "PostgreSQL")
  std::string Driver;  // the driver's file name ("libsqlite3odbc.so", "psqlodbcw.so")
  char IdentifierQuote = ' ';  // the driver's quote for names; a blank when it has none

  ~THandles() {
    Stmt.Reset();
    if (Connected) SQLDisconnect(Dbc.Get());
  }
};

namespace {

// Closes the shared statement's cursor when a call on it ends, however it ends, so the next call
// finds it ready.
class TCursorScope {
 public:
  explicit TCursorScope(const THandle& statement) : FStatement(statement) {}
  ~TCursorScope() { SQLFreeStmt(FStatement.Get(), SQL_CLOSE); }
  TCursorScope(const TCursorScope&) = delete;
  TCursorScope& operator=(const TCursorScope&) = delete;

 private:
  const THandle& FStatement;
};

// Raises the handle's diagnostics unless rc succeeded, with the kind the driver's codes say.
void CheckKind(SQLRETURN rc, const THandle& handle, std::string_view action, bool sqlite) {
  if (SQL_SUCCEEDED(rc)) return;
  const EDatabaseError e = odbc::DiagnosticError(handle.Type(), handle.Get(), action, rc);
  throw sqlite ? SqliteDriverError(e) : e;
}

int64_t ToInt(const std::string& text) {
  int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::string ToAnsi(const std::string& utf8) {
  std::string ansi;
  Utf8ToAnsi(utf8, ansi);
  return ansi;
}

bool IsTextOrBinary(int sqlType) {
  switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
      return true;
    default:
      return false;
  }
}

bool IsNumeric(int sqlType) {
  switch (sqlType) {
    case SQL_DECIMAL:
    case SQL_NUMERIC:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_TINYINT:
    case SQL_BIGINT:
      return true;
    default:
      return false;
  }
}

// The SQLite driver guesses an ODBC type from a column's declared type and gets exact numerics
// and fixed-length text wrong (numeric(10,2) comes out as DOUBLE, decimal(8,3) as VARCHAR(3),
// char(30) as VARCHAR(30)). The declared type, which the driver reports as the type name, says
// what the column is.
void CorrectSqliteType(TColumnInfo& c) {
  std::string declared = AnsiLowerCase(c.DriverType);
  const size_t open = declared.find('(');
  const std::string base = Trim(declared.substr(0, open));
  int64_t sizes[2] = {0, 0};
  if (open != std::string::npos) {
    const char* p = declared.c_str() + open + 1;
    const char* end = declared.c_str() + declared.size();
    for (int64_t& size : sizes) {
      while (p < end && *p == ' ')
        ++p;
      p = std::from_chars(p, end, size).ptr;
      while (p < end && (*p == ' ' || *p == ','))
        ++p;
    }
  }
  if (base == "numeric" || base == "decimal") {
    c.SqlType = base == "numeric" ? SQL_NUMERIC : SQL_DECIMAL;
    c.Precision = sizes[0];
    c.Scale = sizes[1];
    c.MaxLength = 0;
  } else if (base == "char" || base == "character") {
    c.SqlType = SQL_CHAR;
    c.MaxLength = sizes[0];
  } else {
    return;
  }
  c.DataType = FieldTypeFromSql(c.SqlType);
}

}  // namespace

TOdbcConnection::TOdbcConnection() = default;

TOdbcConnection::TOdbcConnection(const std::string& connectionString) {
  SetConnectionString(connectionString);
}

TOdbcConnection::~TOdbcConnection() { Close(); }

void TOdbcConnection::SetConnectionString(const std::string& text) {
  FConnectionString = Trim(text);
}

std::unique_ptr<TOdbcConnection::THandles> TOdbcConnection::Connect(const std::string& target) {
  auto handles = std::make_unique<THandles>();
  handles->Env = THandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
  Check(SQLSetEnvAttr(handles->Env.Get(), SQL_ATTR_ODBC_VERSION,
                      reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
        handles->Env, "Choosing ODBC 3");
  handles->Dbc = THandle(SQL_HANDLE_DBC, handles->Env.Get());
  const std::string utf8 = AnsiToUtf8(target);
  const SQLRETURN rc = SQLDriverConnect(handles->Dbc.Get(), nullptr, odbc::Chars(utf8), SQL_NTS,
                                        nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
  if (!SQL_SUCCEEDED(rc)) {
    // Some drivers say no more than "connect failed"; the prefix tells what was attempted. The
    // string itself stays out of the message: it may hold a password.
    const EDatabaseError e =
        odbc::DiagnosticError(SQL_HANDLE_DBC, handles->Dbc.Get(), "Connecting", rc);
    throw EDatabaseError(std::string("Cannot connect to the database: ") + e.what(), e.SqlState(),
                         e.NativeError());
  }
  handles->Connected = true;
  handles->Stmt = THandle(SQL_HANDLE_STMT, handles->Dbc.Get());
  char text[256] = {};
  SQLSMALLINT length = 0;
  if (SQL_SUCCEEDED(SQLGetInfo(handles->Dbc.Get(), SQL_DBMS_NAME, text, sizeof text, &length)))
    handles->Dbms = ToAnsi(text);
  text[0] = '\0';
  if (SQL_SUCCEEDED(SQLGetInfo(handles->Dbc.Get(), SQL_DRIVER_NAME, text, sizeof text, &length)))
    handles->Driver = text;
  text[0] = '\0';
  if (SQL_SUCCEEDED(SQLGetInfo(handles->Dbc.Get(), SQL_IDENTIFIER_QUOTE_CHAR, text, sizeof text,
                               &length)) &&
      length == 1)
    handles->IdentifierQuote = static_cast<char>(text[0]);
  return handles;
}

void TOdbcConnection::Open() {
  if (FHandles) return;
  if (FFromFile) CheckFileConnectionString(FConnectionString);
  CheckSqliteTarget(FConnectionString);
  const std::string target = WithSqliteBusyWait(OdbcConnectionString(FConnectionString));
  if (target.empty()) throw EDatabaseError("No connection string has been given.");
  auto handles = Connect(target);
  // The PostgreSQL driver by default wraps each statement of a transaction in savepoints of its
  // own and, when it has none at hand (right after one of ours), answers a failed statement by
  // rolling the whole transaction back. Savepoints are ours to set (see the direct insert), so the
  // driver is told to leave errors alone ("Protocol=7.4-0"): PostgreSQL's own behaviour, where a
  // failed statement aborts the transaction until a rollback to a savepoint.
  if (handles->Driver.rfind("psqlodbc", 0) == 0) {
    handles.reset();
    handles = Connect(target + (target.back() == ';' ? "" : ";") + "Protocol=7.4-0");
  }
  FHandles = std::move(handles);
  FInTransaction = false;
}

void TOdbcConnection::Close() noexcept {
  if (!FHandles) return;
  // Disconnecting refuses while a transaction is open; its work is given up.
  if (FInTransaction) SQLEndTran(SQL_HANDLE_DBC, FHandles->Dbc.Get(), SQL_ROLLBACK);
  FInTransaction = false;
  FHandles.reset();
}

bool TOdbcConnection::Connected() const { return FHandles != nullptr; }

void TOdbcConnection::RequireOpen() const {
  if (!FHandles) throw EDatabaseError("The database connection is not open.");
}

std::vector<std::string> TOdbcConnection::FieldNames(const std::string& table) {
  std::vector<std::string> names;
  ForEachColumn(table, [&](const TColumnInfo& c) { names.push_back(c.Name); });
  return names;
}

char TOdbcConnection::IdentifierQuote() {
  RequireOpen();
  return FHandles->IdentifierQuote;
}

std::string TOdbcConnection::DbmsName() {
  RequireOpen();
  return FHandles->Dbms;
}

std::vector<std::string> TOdbcConnection::TableNames() {
  RequireOpen();
  const THandle& st = FHandles->Stmt;
  TCursorScope cursor(st);
  Check(SQLTables(st.Get(), nullptr, 0, nullptr, 0, odbc::Chars("%"), SQL_NTS, odbc::Chars("TABLE"),
                  SQL_NTS),
        st, "Reading the table list");
  // The SQLite driver reports its internal tables (sqlite_sequence, sqlite_stat1) as TABLE.
  const bool sqlite = FHandles->Dbms == "SQLite";
  std::vector<std::string> names;
  std::string name;
  std::string type;
  SQLRETURN rc;
  while ((rc = SQLFetch(st.Get())) != SQL_NO_DATA) {
    Check(rc, st, "Reading the table list");
    GetText(st, 3, name);
    GetText(st, 4, type);
    if (type != "TABLE" || (sqlite && name.rfind("sqlite_", 0) == 0)) continue;
    names.push_back(ToAnsi(name));
  }
  return names;
}

std::vector<TColumnInfo> TOdbcConnection::Columns(const std::string& table) {
  std::vector<TColumnInfo> columns;
  ForEachColumn(table, [&](const TColumnInfo& c) { columns.push_back(c); });
  return columns;
}

void TOdbcConnection::ForEachColumn(const std::string& table,
                                    const std::function<void(const TColumnInfo&)>& each) {
  RequireOpen();
  const THandle& st = FHandles->Stmt;
  TCursorScope cursor(st);
  // The table argument is a search pattern ("_" matches any character), so the rows are
  // filtered on the exact name; of a name found in several schemas, the first one counts.
  const std::string wanted = AnsiToUtf8(table);
  Check(SQLColumns(st.Get(), nullptr, 0, nullptr, 0, odbc::Chars(wanted), SQL_NTS, odbc::Chars("%"),
                   SQL_NTS),
        st, "Reading the column list");
  SQLSMALLINT resultColumns = 0;
  Check(SQLNumResultCols(st.Get(), &resultColumns), st, "Reading the column list");
  const bool sqlite = FHandles->Dbms == "SQLite";
  std::string schema, firstSchema, name, text;
  bool schemaSeen = false;
  SQLRETURN rc;
  while ((rc = SQLFetch(st.Get())) != SQL_NO_DATA) {
    Check(rc, st, "Reading the column list");
    GetText(st, 2, schema);
    GetText(st, 3, name);
    if (name != wanted) continue;
    if (!schemaSeen) {
      firstSchema = schema;
      schemaSeen = true;
    } else if (schema != firstSchema) {
      continue;
    }
    TColumnInfo c;
    GetText(st, 4, text);
    c.Name = ToAnsi(text);
    GetText(st, 5, text);
    c.SqlType = static_cast<int>(ToInt(text));
    c.DataType = FieldTypeFromSql(c.SqlType);
    GetText(st, 6, text);
    c.DriverType = ToAnsi(text);
    GetText(st, 7, text);
    const int64_t size = ToInt(text);
    GetText(st, 9, text);
    const int64_t digits = ToInt(text);
    if (IsTextOrBinary(c.SqlType)) {
      c.MaxLength = size;
    } else if (IsNumeric(c.SqlType)) {
      c.Precision = size;
      c.Scale = digits;
    }
    GetText(st, 11, text);
    const int64_t nullable = ToInt(text);
    if (resultColumns >= 18)
      GetText(st, 18, c.IsNullable);
    else
      c.IsNullable.clear();
    if (c.IsNullable.empty() && nullable != SQL_NULLABLE_UNKNOWN)
      c.IsNullable = nullable == SQL_NO_NULLS ? "NO" : "YES";
    // A default written as the bare word NULL is the null value, as good as no default.
    c.HasDefault = GetText(st, 13, text) && text != "NULL";
    if (c.HasDefault) c.Default = ToAnsi(text);
    if (sqlite) CorrectSqliteType(c);
    each(c);
  }
}

std::vector<std::string> TOdbcConnection::Query(const std::string& sql) {
  RequireOpen();
  const THandle& st = FHandles->Stmt;
  TCursorScope cursor(st);
  const std::string utf8 = AnsiToUtf8(sql);
  SQLRETURN rc = SQLExecDirect(st.Get(), odbc::Chars(utf8), static_cast<SQLINTEGER>(utf8.size()));
  std::vector<std::string> rows;
  if (rc == SQL_NO_DATA) return rows;
  Check(rc, st, "Running a query");
  SQLSMALLINT columns = 0;
  Check(SQLNumResultCols(st.Get(), &columns), st, "Running a query");
  if (columns == 0) return rows;
  std::string value;
  while ((rc = SQLFetch(st.Get())) != SQL_NO_DATA) {
    Check(rc, st, "Reading a query's rows");
    GetText(st, 1, value);
    rows.push_back(ToAnsi(value));
  }
  return rows;
}

void TOdbcConnection::Execute(const std::string& sql) {
  RequireOpen();
  const THandle& st = FHandles->Stmt;
  TCursorScope cursor(st);
  const std::string utf8 = AnsiToUtf8(sql);
  const SQLRETURN rc =
      SQLExecDirect(st.Get(), odbc::Chars(utf8), static_cast<SQLINTEGER>(utf8.size()));
  // SQL_NO_DATA: a searched UPDATE or DELETE that touched no row, which is no failure.
  if (rc != SQL_NO_DATA) CheckKind(rc, st, "Executing a statement", SqliteDriver());
}

void TOdbcConnection::ExecuteRow(const TRowStatement& statement) {
  RequireOpen();
  // A driver may cut a text at its semicolons and run every part, even a prepared one (the
  // PostgreSQL driver does, by its own reading of quotes and escapes). The row's texts are
  // parameters and never part of the text; a number column's value that holds a ';' anywhere
  // is refused before the driver sees it, so no reading of it can find a second statement.
  if (statement.Sql.find(';', statement.ValuesAt) != std::string::npos)
    throw EDatabaseError("A number column's value holds a ';', which could end the row's "
                         "statement early; the row was not run",
                         "", 0, fkRow);
  const THandle& st = FHandles->Stmt;
  TCursorScope cursor(st);
  const std::string sql = AnsiToUtf8(statement.Sql);
  std::vector<std::string> texts;
  std::vector<SQLLEN> lengths;
  for (const std::string_view text : statement.Texts) {
    texts.push_back(AnsiToUtf8(text));
    lengths.push_back(static_cast<SQLLEN>(texts.back().size()));
  }
  struct TParamsReset {
    SQLHSTMT Statement;
    ~TParamsReset() { SQLFreeStmt(Statement, SQL_RESET_PARAMS); }
  } reset{st.Get()};
  CheckKind(SQLPrepare(st.Get(), odbc::Chars(sql), static_cast<SQLINTEGER>(sql.size())), st,
            "Preparing a row's statement", SqliteDriver());
  // A '?' of a number column's value would take a text meant for another column.
  SQLSMALLINT markers = 0;
  CheckKind(SQLNumParams(st.Get(), &markers), st, "Preparing a row's statement", SqliteDriver());
  if (markers != static_cast<SQLSMALLINT>(texts.size()))
    throw EDatabaseError("A number column's value holds a parameter marker ('?'); the row was "
                         "not run",
                         "07002", 0, fkRow);
  for (size_t i = 0; i < texts.size(); ++i)
    CheckKind(SQLBindParameter(st.Get(), static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT,
                               SQL_C_CHAR, SQL_VARCHAR, std::max<SQLULEN>(texts[i].size(), 1), 0,
                               texts[i].data(), lengths[i], &lengths[i]),
              st, "Binding a row's texts", SqliteDriver());
  const SQLRETURN rc = SQLExecute(st.Get());
  if (rc != SQL_NO_DATA) CheckKind(rc, st, "Executing a row's statement", SqliteDriver());
}

bool TOdbcConnection::SqliteDriver() const { return FHandles && FHandles->Dbms == "SQLite"; }

std::unique_ptr<TBulkSession> TOdbcConnection::OpenBulkSession(const TBulkTarget& target) {
  // The COPY session connects with the same string, held to the same rules as Open holds it.
  if (FFromFile) CheckFileConnectionString(FConnectionString);
  if (auto session = OpenPgBulkSession(FConnectionString, target)) return session;
  RequireOpen();
  if (auto session = OpenSqliteBulkSession(FConnectionString, *this, target)) return session;
  return OpenParameterSession(target);
}

std::unique_ptr<TBulkSession> TOdbcConnection::OpenParameterSession(const TBulkTarget& target,
                                                                    bool arrays) {
  RequireOpen();
  TNumberParameters numbers;
  // SQLite reads a literal with a decimal point or an exponent as a double; PostgreSQL reads
  // every number literal as a number first, which the column's type then takes by assignment,
  // whereas psqlODBC sends a number parameter as an untyped text that the column's type parses.
  numbers.RealsAsDoubles = FHandles->Dbms == "SQLite";
  if (FHandles->Dbms == "PostgreSQL") numbers.Marker = "CAST(? AS numeric)";
  return std::make_unique<TOdbcBulkSession>(
      *this, FHandles->Dbc.Get(), target,
      arrays ? TParameterRows::Arrays : TParameterRows::Single, numbers,
      FHandles->Dbms == "SQLite");
}

void TOdbcConnection::BeginTrans() {
  RequireOpen();
  if (FInTransaction) throw EDatabaseError("A transaction is already active.");
  Check(SQLSetConnectAttr(FHandles->Dbc.Get(), SQL_ATTR_AUTOCOMMIT,
                          reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER),
        FHandles->Dbc, "Beginning a transaction");
  FInTransaction = true;
}

void TOdbcConnection::CommitTrans() { EndTransaction(true); }
void TOdbcConnection::RollbackTrans() { EndTransaction(false); }

void TOdbcConnection::EndTransaction(bool commit) {
  RequireOpen();
  if (!FInTransaction) throw EDatabaseError("No transaction is active.");
  CheckKind(SQLEndTran(SQL_HANDLE_DBC, FHandles->Dbc.Get(), commit ? SQL_COMMIT : SQL_ROLLBACK),
            FHandles->Dbc, commit ? "Committing" : "Rolling back", SqliteDriver());
  FInTransaction = false;
  Check(SQLSetConnectAttr(FHandles->Dbc.Get(), SQL_ATTR_AUTOCOMMIT,
                          reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), SQL_IS_UINTEGER),
        FHandles->Dbc, "Ending a transaction");
}

std::vector<std::vector<std::string>> TOdbcConnection::CatalogRows(TCatalogCall call,
                                                                 const std::string& table) {
  RequireOpen();
  const THandle& st = FHandles->Stmt;
  TCursorScope cursor(st);
  const std::string name = AnsiToUtf8(table);
  SQLCHAR* t = odbc::Chars(name);
  SQLRETURN rc = SQL_ERROR;
  switch (call) {
    case ccTables:
      rc = SQLTables(st.Get(), nullptr, 0, nullptr, 0, odbc::Chars("%"), SQL_NTS,
                     odbc::Chars("TABLE"), SQL_NTS);
      break;
    case ccColumns:
      rc = SQLColumns(st.Get(), nullptr, 0, nullptr, 0, t, SQL_NTS, odbc::Chars("%"), SQL_NTS);
      break;
    case ccPrimaryKeys:
      rc = SQLPrimaryKeys(st.Get(), nullptr, 0, nullptr, 0, t, SQL_NTS);
      break;
    case ccForeignKeys:
      rc = SQLForeignKeys(st.Get(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0, t,
                          SQL_NTS);
      break;
    case ccUniqueIndexes:
      rc = SQLStatistics(st.Get(), nullptr, 0, nullptr, 0, t, SQL_NTS, SQL_INDEX_UNIQUE, SQL_QUICK);
      break;
  }
  Check(rc, st, "Reading the catalogue");
  SQLSMALLINT columns = 0;
  Check(SQLNumResultCols(st.Get(), &columns), st, "Reading the catalogue");
  std::vector<std::vector<std::string>> rows;
  while ((rc = SQLFetch(st.Get())) != SQL_NO_DATA) {
    Check(rc, st, "Reading the catalogue");
    std::vector<std::string>& row = rows.emplace_back(static_cast<size_t>(columns));
    for (SQLSMALLINT i = 0; i < columns; ++i)
      GetText(st, static_cast<SQLUSMALLINT>(i + 1), row[static_cast<size_t>(i)]);
  }
  return rows;
}

}  // namespace kelvast
