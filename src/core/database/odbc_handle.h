// SPDX-License-Identifier: MIT
#pragma once
// Ownership of ODBC handles and the translation of their diagnostics into EDatabaseError. Used
// only inside database/; nothing outside sees an ODBC type.
//
// Text crosses the ODBC boundary as UTF-8 through the narrow (ANSI) entry points: the SQLite
// driver and both PostgreSQL drivers take and return UTF-8 there whatever the process locale,
// whereas the wide entry points of an ANSI-only driver go through the driver manager's locale
// conversion, which loses every non-ASCII character under the C locale.

#include <sql.h>
#include <sqlext.h>
#include <string>
#include <string_view>

#include "core/database/data_access.h"

namespace kelvast::odbc {

// One ODBC handle, freed when the owner goes away.
class THandle {
 public:
  THandle() = default;
  // Allocates a handle of the type under the parent; raises EDatabaseError.
  THandle(SQLSMALLINT type, SQLHANDLE parent);
  ~THandle() { Reset(); }
  THandle(THandle&& other) noexcept : FType(other.FType), FHandle(other.Release()) {}
  THandle& operator=(THandle&& other) noexcept;
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;

  SQLHANDLE Get() const { return FHandle; }
  SQLSMALLINT Type() const { return FType; }
  explicit operator bool() const { return FHandle != SQL_NULL_HANDLE; }
  void Reset();

 private:
  SQLHANDLE Release() {
    SQLHANDLE h = FHandle;
    FHandle = SQL_NULL_HANDLE;
    return h;
  }

  SQLSMALLINT FType = 0;
  SQLHANDLE FHandle = SQL_NULL_HANDLE;
};

// The error made of the handle's diagnostic records: their messages, in the code page, on one
// line; the first record's SQLSTATE and native code. `action` names what failed when the driver
// left no record.
EDatabaseError DiagnosticError(SQLSMALLINT type, SQLHANDLE handle, std::string_view action,
                               SQLRETURN rc);

// Raises DiagnosticError unless rc is SQL_SUCCESS or SQL_SUCCESS_WITH_INFO.
inline void Check(SQLRETURN rc, const THandle& handle, std::string_view action) {
  if (!SQL_SUCCEEDED(rc)) throw DiagnosticError(handle.Type(), handle.Get(), action, rc);
}

// UTF-8 text as the narrow ODBC calls take it.
inline SQLCHAR* Chars(const std::string& utf8) {
  return reinterpret_cast<SQLCHAR*>(const_cast<char*>(utf8.c_str()));
}

// Column `column` of the current row as UTF-8, read in pieces so any length fits; false for NULL.
bool GetText(const THandle& statement, SQLUSMALLINT column, std::string& out);

}  // namespace kelvast::odbc
