// SPDX-License-Identifier: MIT
#pragma once
// Runs a file of SQL statements (each ended by ";" at the end of a line; lines starting with "--"
// skipped) on a connection: the fixtures' schemas.

#include <string>

#include "core/database/odbc_connection.h"
#include "support/test_support.h"

namespace kelvast::test {

inline void RunSqlScript(TOdbcConnection& db, const std::string& file) {
  const std::string sql = ReadFileBytes(file);
  std::string statement;
  for (size_t at = 0; at < sql.size();) {
    size_t end = sql.find('\n', at);
    if (end == std::string::npos) end = sql.size();
    const std::string line = sql.substr(at, end - at);
    at = end + 1;
    if (line.rfind("--", 0) == 0) continue;
    statement += line + "\n";
    if (!line.empty() && line.back() == ';') {
      db.Execute(statement);
      statement.clear();
    }
  }
}

// The shop schema of the scaffold tests, in the backend's dialect.
inline std::string ShopSchema(const std::string& backend) {
  return std::string(KELVAST_TEST_DATA) + "/scaffold/shop_schema_" +
         (backend == "SQLite" ? "sqlite" : "pg") + ".sql";
}

}  // namespace kelvast::test
