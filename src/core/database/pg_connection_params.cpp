// SPDX-License-Identifier: MIT
#include "core/database/pg_connection_params.h"

#include "core/database/connection_string.h"
#include "core/platform/code_page.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

// The PostgreSQL ODBC driver's names of the attributes libpq also takes.
struct TKeyword {
  const char* Odbc;
  const char* Libpq;
};
constexpr TKeyword kKeywords[] = {
    {"Server", "host"},       {"Servername", "host"}, {"Port", "port"}, {"Database", "dbname"},
    {"Uid", "user"},          {"Username", "user"},   {"User", "user"}, {"Pwd", "password"},
    {"Password", "password"}, {"SSLmode", "sslmode"},
};

bool ContainsAscii(std::string_view text, std::string_view part) {
  if (part.size() > text.size()) return false;
  for (size_t i = 0; i + part.size() <= text.size(); ++i)
    if (SameTextAscii(text.substr(i, part.size()), part)) return true;
  return false;
}

}  // namespace

bool IsPostgresDriver(std::string_view driver) {
  return ContainsAscii(driver, "postgres") || ContainsAscii(driver, "psqlodbc");
}

std::optional<std::vector<TPgParam>> PgConnectionParams(std::string_view connectionString) {
  const std::vector<TConnectionAttribute> attributes = SplitConnectionString(connectionString);
  bool postgres = false;
  for (const TConnectionAttribute& attribute : attributes) {
    if (SameTextAscii(attribute.Key, "DSN") || SameTextAscii(attribute.Key, "FILEDSN"))
      return std::nullopt;
    // The driver manager loads the first DRIVER it is given.
    if (SameTextAscii(attribute.Key, "DRIVER") && !postgres) {
      if (!IsPostgresDriver(attribute.Value)) return std::nullopt;
      postgres = true;
    }
  }
  if (!postgres) return std::nullopt;
  std::vector<TPgParam> params;
  for (const TConnectionAttribute& attribute : attributes) {
    for (const TKeyword& keyword : kKeywords) {
      if (!SameTextAscii(attribute.Key, keyword.Odbc)) continue;
      bool seen = false;
      for (const TPgParam& param : params)
        seen = seen || param.Keyword == keyword.Libpq;
      if (!seen) params.push_back({keyword.Libpq, AnsiToUtf8(attribute.Value)});
    }
  }
  return params;
}

}  // namespace kelvast
