// SPDX-License-Identifier: MIT
#include "core/database/pg_connection_params.h"

#include <cctype>

#include <libpq-fe.h>

#include "core/database/connection_string.h"
#include "core/database/data_access.h"
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
  // psqlODBC hands its "pqopt" (or D5) to libpq as a conninfo string of further parameters
  // (sslrootcert, options, ...); the last one counts and its parameters take precedence.
  std::string pqopt;
  for (const TConnectionAttribute& attribute : attributes)
    if (SameTextAscii(attribute.Key, "pqopt") || SameTextAscii(attribute.Key, "D5"))
      pqopt = AnsiToUtf8(attribute.Value);
  if (!pqopt.empty()) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(pqopt.c_str(), &error);
    if (options == nullptr) {
      const std::string message = error ? Trim(error) : "out of memory";
      PQfreemem(error);
      throw EDatabaseError("The connection string's pqopt cannot be read: " + message);
    }
    for (const PQconninfoOption* option = options; option->keyword; ++option) {
      if (option->val == nullptr) continue;
      std::erase_if(params, [&](const TPgParam& p) { return p.Keyword == option->keyword; });
      params.push_back({option->keyword, option->val});
    }
    PQconninfoFree(options);
  }
  return params;
}

std::vector<std::string> PgConnectSettings(std::string_view connectionString) {
  std::string encoded;
  for (const TConnectionAttribute& attribute : SplitConnectionString(connectionString))
    if (SameTextAscii(attribute.Key, "ConnSettings") || SameTextAscii(attribute.Key, "A6"))
      encoded = AnsiToUtf8(attribute.Value);  // the driver decodes the UTF-8 text it is given
  std::string decoded;
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] == '+') {
      decoded += ' ';
    } else if (encoded[i] == '%' && i + 2 < encoded.size() &&
               std::isxdigit(static_cast<unsigned char>(encoded[i + 1])) &&
               std::isxdigit(static_cast<unsigned char>(encoded[i + 2]))) {
      decoded += static_cast<char>(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      decoded += encoded[i];
    }
  }
  std::vector<std::string> statements;
  for (std::string_view rest = decoded; !rest.empty();) {
    const size_t end = rest.find(';');
    const std::string statement = Trim(rest.substr(0, end));
    if (!statement.empty()) statements.push_back(statement);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return statements;
}

}  // namespace kelvast
