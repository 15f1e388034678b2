// SPDX-License-Identifier: MIT
#pragma once
// The libpq parameters of an ODBC connection string that opens a PostgreSQL server directly, so
// that a bulk load can open a session of its own beside the ODBC connection.
//
//   PgConnectionParams("DRIVER={PostgreSQL Unicode};Servername=db;UID=me")
//   // {{"host", "db"}, {"user", "me"}}
//   PgConnectionParams("DSN=sales");  // nothing: a data source goes through ODBC only

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvast {

// One keyword/value pair of PQconnectdbParams, the value in UTF-8.
struct TPgParam {
  std::string Keyword;
  std::string Value;

  bool operator==(const TPgParam&) const = default;
};

// Whether an ODBC driver's name (or library path) is a PostgreSQL driver.
bool IsPostgresDriver(std::string_view driver);

// The libpq parameters of a connection string (in the code page) whose DRIVER is a PostgreSQL
// driver: its server, port, database, user, password and SSL mode under every name the
// PostgreSQL ODBC driver takes, without regard to case, the first of repeated ones counting,
// then the parameters of its "pqopt" (D5), which take precedence. Nothing for another driver,
// for a data source (DSN, FILEDSN) or a string without a driver. Raises EDatabaseError when the
// pqopt cannot be read.
std::optional<std::vector<TPgParam>> PgConnectionParams(std::string_view connectionString);

// The statements psqlODBC runs on connecting, from the string's ConnSettings (also written A6;
// the last one counts), in UTF-8 and in order: the value decoded as the driver decodes it ("+"
// a blank, "%XX" a byte) and cut at every ";". Empty when the string sets none.
//
//   PgConnectSettings("DRIVER={PostgreSQL Unicode};ConnSettings=SET+search_path+TO+s%3bSET x TO 1")
//   // {"SET search_path TO s", "SET x TO 1"}
std::vector<std::string> PgConnectSettings(std::string_view connectionString);

}  // namespace kelvast
