// SPDX-License-Identifier: MIT
// The libpq parameters read from ODBC connection strings: every spelling the PostgreSQL ODBC
// driver takes, and the strings that must stay with ODBC.

#include "core/database/pg_connection_params.h"

#include "core/database/data_access.h"

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
      // psqlODBC's libpq options, the last pqopt counting, take precedence.
      {"DRIVER={PostgreSQL Unicode};Server=a;pqopt={host=x};D5={host=b options='-c a=1'};Uid=me",
       std::vector<TPgParam>{{"user", "me"}, {"host", "b"}, {"options", "-c a=1"}}},
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
  EXPECT_THROW(PgConnectionParams("DRIVER={PostgreSQL Unicode};pqopt={host}"), EDatabaseError);
}

TEST(PgConnectionParams, ConnectSettingsAreDecodedAndCutAsPsqlOdbcDoes) {
  struct Case {
    const char* text;
    std::vector<std::string> statements;
  };
  const Case cases[] = {
      {"DRIVER={PostgreSQL Unicode};ConnSettings=SET+search_path+TO+s%3bSET x TO 1",
       {"SET search_path TO s", "SET x TO 1"}},
      {"DRIVER={PostgreSQL Unicode};connsettings={SET a TO 1; ;SET b TO %27%e9%27}",
       {"SET a TO 1", "SET b TO '\xE9'"}},
      // The last one counts, under either name.
      {"DRIVER={PostgreSQL Unicode};A6=SET a TO 1;ConnSettings=SET b TO 2", {"SET b TO 2"}},
      {"DRIVER={PostgreSQL Unicode};ConnSettings=SET c TO %27caf\xE9%27%",
       {"SET c TO 'caf\xC3\xA9'%"}},
      {"DRIVER={PostgreSQL Unicode};Server=db", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(PgConnectSettings(c.text), c.statements);
  }
}

}  // namespace
}  // namespace kelvast::test
