// SPDX-License-Identifier: MIT
// Connection strings taken apart and built again: quoting of awkward values, the fields the
// connection builder shows, and built strings that open the same database on both backends.

#include "core/database/connection_string.h"

#include "core/database/database_fixture.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace kelvast::test {
namespace {

TConnectionParts Parts(const char* driver = "", const char* server = "", const char* port = "",
                       const char* database = "", const char* user = "", const char* password = "",
                       std::vector<TConnectionAttribute> others = {}) {
  return {driver, server, port, database, user, password, std::move(others)};
}

TEST(ConnectionString, BuildsQuotedValuesAndParsesThemBack) {
  struct Case {
    const char* name;
    TConnectionParts parts;
    const char* built;
  };
  const Case cases[] = {
      {"SQLite default: the database file only", Parts("", "", "", "/tmp/shop.db"),
       "DATABASE=/tmp/shop.db"},
      {"every field",
       Parts("PostgreSQL Unicode", "127.0.0.1", "5432", "sales", "postgres", "secret"),
       "DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=5432;DATABASE=sales;UID=postgres;"
       "PWD=secret"},
      {"semicolon and closing brace in the password",
       Parts("PostgreSQL Unicode", "", "", "d", "", "a;DATABASE=x}"),
       "DRIVER={PostgreSQL Unicode};DATABASE=d;PWD={a;DATABASE=x}}}"},
      {"blanks at the ends and an opening brace", Parts("", " h ", "", "", "{me", "p w"),
       "SERVER={ h };UID={{me};PWD=p w"},
      {"a driver name with braces is quoted like any value", Parts("{odd}"), "DRIVER={{odd}}}"},
      {"other attributes follow the fields",
       Parts("SQLite3", "", "", "a.db", "", "", {{"Timeout", "2000"}, {"x", "a;b"}}),
       "DRIVER={SQLite3};DATABASE=a.db;Timeout=2000;x={a;b}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BuildConnectionString(c.parts), c.built);
    EXPECT_EQ(ParseConnectionParts(c.built), c.parts);
  }
}

TEST(ConnectionString, ParsesWhatPeopleWrite) {
  struct Case {
    const char* text;
    TConnectionParts parts;
  };
  const Case cases[] = {
      {"", Parts()},
      {"  /tmp/my shop.db \r\n", Parts("", "", "", "/tmp/my shop.db")},
      {"driver={PostgreSQL ANSI}; Server = db1 ;port=5433;Database=s;Uid=u;Pwd=",
       Parts("PostgreSQL ANSI", "db1", "5433", "s", "u")},
      {"UID=first;uid=second;DSN=sales", Parts("", "", "", "", "first", "", {{"DSN", "sales"}})},
      {"PWD={a}}b;c} ;DATABASE=d;;", Parts("", "", "", "d", "", "a}b;c")},
      // A brace that never closes takes the rest of the text.
      {"DATABASE=d;PWD={a;b", Parts("", "", "", "d", "", "a;b")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseConnectionParts(c.text), c.parts);
  }
  EXPECT_EQ(SplitConnectionString("a=1;bare;b={x}}};c"),
            (std::vector<TConnectionAttribute>{{"a", "1"}, {"", "bare"}, {"b", "x}"}, {"", "c"}}));
}

TEST(ConnectionString, InstalledDriversIncludeSqliteAndPostgres) {
  const std::vector<std::string> drivers = InstalledOdbcDrivers();
  for (const char* name : {"SQLite3", "PostgreSQL Unicode"}) {
    SCOPED_TRACE(name);
    EXPECT_NE(std::find(drivers.begin(), drivers.end(), name), drivers.end());
  }
}

template <class B>
class BuiltConnectionTest : public DatabaseTest<B> {};
TYPED_TEST_SUITE(BuiltConnectionTest, Backends, BackendNames);

// A password holding ";" and "}" neither breaks the string nor lets its text pass for another
// attribute: the built string reaches the same database.
TYPED_TEST(BuiltConnectionTest, PasswordWithSeparatorsReachesTheSameDatabase) {
  this->Run({"CREATE TABLE people (id integer)"});
  TConnectionParts parts = ParseConnectionParts(this->ConnectionString());
  // On SQLite the builder leaves the driver to the default.
  if (parts.Driver == kDefaultOdbcDriver) parts.Driver.clear();
  parts.Password = "x;DATABASE=elsewhere}};UID=nobody";
  const std::string built = BuildConnectionString(parts);
  SCOPED_TRACE(built);
  TOdbcConnection db(built);
  db.Open();
  EXPECT_EQ(db.TableNames(), (std::vector<std::string>{"people"}));
}

}  // namespace
}  // namespace kelvast::test
