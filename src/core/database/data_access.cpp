// SPDX-License-Identifier: MIT
#include "core/database/data_access.h"

#include <array>

namespace kelvast {

TFailureKind FailureKindOfSqlState(std::string_view state) {
  if (state.size() < 2) return fkDatabase;
  const std::string_view cls = state.substr(0, 2);
  if (cls == "08") return fkConnection;
  // Classes that say the database, the session or the user's rights stopped the statement, not
  // the row's values: invalid transaction state (a read-only transaction is 25006), bad
  // authorization, savepoints that are gone, no such database, a rollback the server made
  // (serialization, deadlock), insufficient resources (a full disk is 53100), an object in use,
  // operator intervention (a cancelled statement, a server shutting down), system and internal
  // errors (I/O, corrupted data), and the driver manager's own errors.
  static constexpr std::array<std::string_view, 16> kDatabaseClasses = {
      "0B", "24", "25", "26", "28", "2D", "3B", "3D", "40", "53", "55", "57", "58", "F0",
      "XX", "IM"};
  for (const std::string_view c : kDatabaseClasses)
    if (cls == c) return fkDatabase;
  // Insufficient privilege (no right to insert into the table) is the user's, not the row's.
  if (state == "42501") return fkDatabase;
  // The ODBC states of a timeout, a cancelled call, memory and the order of calls; a general
  // error (HY000, and S1000 of ODBC 2) is what drivers report a constraint's failure with.
  static constexpr std::array<std::string_view, 8> kDatabaseStates = {
      "HY001", "HY008", "HY010", "HY013", "HY014", "HYT00", "HYT01", "S1T00"};
  for (const std::string_view s : kDatabaseStates)
    if (state == s) return fkDatabase;
  return fkRow;
}

std::vector<TColumnInfo> TDataAccess::Columns(const std::string&) { return {}; }

std::string TDataAccess::DbmsName() { return {}; }

}  // namespace kelvast
