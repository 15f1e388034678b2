// SPDX-License-Identifier: MIT
// The libpq parameters read from ODBC connection strings: every spelling the PostgreSQL ODBC
// driver takes, and the strings that must stay with ODBC.

#include "core/database/pg_connection_params.h"

#include <gtest/gtest.h>

namespace kelvast::test {
namespace {

using TParams = std::optional<std::vector<TPgParam>>;

TEST(PgConnectionParams, ReadsEverySpellingAndRefusesWhatIsNotADirectServer) {
  struct Case {
    const char* text;
    TParams params;
  };
  const Case cases[] = {
      {"DRIVER={PostgreSQL Unicode};Server=db;Port=5433;Database=sales;Uid=me;Pwd=pw;SSLmode=require",
       std::vector<TPgParam>{{"host", "db"},
                             {"port", "5433"},
                             {"dbname", "sales"},
                             {"user", "me"},
                             {"password", "pw"},
                             {"sslmode", "require"}}},
      {"driver={postgresql ansi};SERVERNAME=db;USERNAME=me;password=pw;sslMode=disable",
       std::vector<TPgParam>{
           {"host", "db"}, {"user", "me"}, {"password", "pw"}, {"sslmode", "disable"}}},
      {"Driver=/usr/lib/x86_64-linux-gnu/odbc/PSQLODBCW.so;User=me;Database={a;b=c}",
       std::vector<TPgParam>{{"user", "me"}, {"dbname", "a;b=c"}}},
      {"DRIVER={PostgreSQL Unicode};ReadOnly=1;Server=a;Servername=b;UID=x;User=y",
       std::vector<TPgParam>{{"host", "a"}, {"user", "x"}}},
      {"DRIVER={PostgreSQL Unicode};Pwd=caf\xE9", std::vector<TPgParam>{{"password", "caf\xC3\xA9"}}},
      {"DRIVER={PostgreSQL Unicode}", std::vector<TPgParam>{}},
      {"DSN=sales;Server=db", std::nullopt},
      {"DRIVER={PostgreSQL Unicode};FILEDSN=/etc/sales.dsn", std::nullopt},
      {"DRIVER=SQLite3;Database=/tmp/postgres.db", std::nullopt},
      {"/tmp/postgres.db", std::nullopt},
      {"Server=db;Database=sales", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(PgConnectionParams(c.text), c.params);
  }
}

}  // namespace
}  // namespace kelvast::test
