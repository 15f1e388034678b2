// SPDX-License-Identifier: MIT
#include "core/database/odbc_handle.h"

#include "core/platform/code_page.h"

namespace kelvast::odbc {

THandle::THandle(SQLSMALLINT type, SQLHANDLE parent) : FType(type) {
  const SQLRETURN rc = SQLAllocHandle(type, parent, &FHandle);
  if (!SQL_SUCCEEDED(rc)) {
    FHandle = SQL_NULL_HANDLE;
    // The parent holds the reason; an environment has no parent to ask.
    if (parent == SQL_NULL_HANDLE) throw EDatabaseError("The ODBC environment cannot be created.");
    const SQLSMALLINT parentType = type == SQL_HANDLE_DBC ? SQL_HANDLE_ENV : SQL_HANDLE_DBC;
    throw DiagnosticError(parentType, parent, "Allocating an ODBC handle", rc);
  }
}

THandle& THandle::operator=(THandle&& other) noexcept {
  if (this != &other) {
    Reset();
    FType = other.FType;
    FHandle = other.Release();
  }
  return *this;
}

void THandle::Reset() {
  if (FHandle != SQL_NULL_HANDLE) SQLFreeHandle(FType, FHandle);
  FHandle = SQL_NULL_HANDLE;
}

namespace {

// Driver messages may span lines (the PostgreSQL driver adds a second one); the memo and the
// command line want one line per message.
std::string OneLine(const std::string& utf8) {
  std::string ansi;
  Utf8ToAnsi(utf8, ansi);
  std::string out;
  for (char c : ansi) {
    if (c == '\r' || c == '\n') {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  while (!out.empty() && out.back() == ' ')
    out.pop_back();
  return out;
}

}  // namespace

EDatabaseError DiagnosticError(SQLSMALLINT type, SQLHANDLE handle, std::string_view action,
                               SQLRETURN rc) {
  std::string message;
  std::string firstState;
  int firstNative = 0;
  // A handful of records is plenty; some drivers repeat one message many times.
  for (SQLSMALLINT record = 1; record <= 5 && handle != SQL_NULL_HANDLE; ++record) {
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR text[2048] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN got =
        SQLGetDiagRec(type, handle, record, state, &native, text, sizeof text, &length);
    if (!SQL_SUCCEEDED(got)) break;
    const std::string line = OneLine(reinterpret_cast<const char*>(text));
    if (record == 1) {
      firstState = reinterpret_cast<const char*>(state);
      firstNative = static_cast<int>(native);
    }
    if (line.empty() || message.find(line) != std::string::npos) continue;
    if (!message.empty()) message += "; ";
    message += line;
  }
  if (message.empty())
    message = std::string(action) + " failed (ODBC return code " + std::to_string(rc) + ").";
  return EDatabaseError(message, firstState, firstNative);
}

bool GetText(const THandle& statement, SQLUSMALLINT column, std::string& out) {
  out.clear();
  char buffer[4096];
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN rc =
        SQLGetData(statement.Get(), column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
    if (rc == SQL_NO_DATA) return true;  // every piece has been read
    Check(rc, statement, "Reading a column");
    if (indicator == SQL_NULL_DATA) return false;
    // A piece fills the buffer but its last byte, which holds the terminating zero.
    const size_t piece = indicator == SQL_NO_TOTAL || indicator >= SQLLEN(sizeof buffer)
                             ? sizeof buffer - 1
                             : static_cast<size_t>(indicator);
    out.append(buffer, piece);
    if (rc == SQL_SUCCESS) return true;
  }
}

}  // namespace kelvast::odbc
