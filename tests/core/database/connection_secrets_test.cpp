// SPDX-License-Identifier: MIT
// Passwords in connection strings: found under every key a driver takes one, masked for
// display, left out for remembering, and nothing else of the string lost on the way.

#include "core/database/connection_secrets.h"

#include "core/database/connection_string.h"

#include <gtest/gtest.h>

namespace kelvast::test {
namespace {

TEST(ConnectionSecrets, PasswordsAreFoundMaskedAndStripped) {
  struct Case {
    const char* name;
    const char* text;
    bool holds;
    const char* masked;    // nullptr: the text as it is
    const char* stripped;  // nullptr: the text as it is
  };
  const Case cases[] = {
      {"SQLite file", "/tmp/shop.db", false, nullptr, nullptr},
      {"no password", "DRIVER={PostgreSQL Unicode};SERVER=db;UID=ada", false, nullptr, nullptr},
      {"empty PWD", "DRIVER=SQLite3;Database=x.db;PWD=", false, nullptr, nullptr},
      {"file data source", "FILEDSN=/etc/odbc/prod.dsn", false, nullptr, nullptr},
      {"PWD", "DRIVER={PostgreSQL Unicode};SERVER=db;UID=ada;PWD=s3cret", true,
       "DRIVER={PostgreSQL Unicode};SERVER=db;UID=ada;PWD=********",
       "DRIVER={PostgreSQL Unicode};SERVER=db;UID=ada"},
      {"Password, any case, braced with ;", "Driver={PostgreSQL ANSI};password={a;b}};c};Port=5432",
       true, "Driver={PostgreSQL ANSI};password=********;Port=5432",
       "Driver={PostgreSQL ANSI};Port=5432"},
      {"both keys", "pwd=one;Server=db;PASSWORD=two", true, "pwd=********;Server=db;PASSWORD=********",
       "Server=db"},
      {"libpq options", "DRIVER={PostgreSQL Unicode};pqopt={sslmode=require password='x y' a=b}",
       true, "DRIVER={PostgreSQL Unicode};pqopt=sslmode=require password=******** a=b",
       "DRIVER={PostgreSQL Unicode};pqopt=sslmode=require  a=b"},
      {"spelling kept", " DRIVER=SQLite3; Database=x.db;PWD = s3cret;", true,
       " DRIVER=SQLite3; Database=x.db;PWD =********;", " DRIVER=SQLite3; Database=x.db;"},
      {"libpq password only", "DRIVER={PostgreSQL Unicode};pqopt=password=x", true,
       "DRIVER={PostgreSQL Unicode};pqopt=password=********", "DRIVER={PostgreSQL Unicode}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HoldsPassword(c.text), c.holds);
    EXPECT_EQ(FileAccessFor(c.text), c.holds ? TFileAccess::Private : TFileAccess::Usual);
    const std::string masked = MaskPassword(c.text);
    const std::string stripped = StripPassword(c.text);
    EXPECT_EQ(masked, c.masked ? c.masked : c.text);
    EXPECT_EQ(stripped, c.stripped ? c.stripped : c.text);
    // Neither form gives a password away, and both read as the same connection otherwise.
    EXPECT_FALSE(HoldsPassword(stripped));
    EXPECT_EQ(ParseConnectionParts(stripped).Server, ParseConnectionParts(c.text).Server);
    EXPECT_EQ(ParseConnectionParts(masked).Driver, ParseConnectionParts(c.text).Driver);
    for (const char* secret : {"s3cret", "a;b", "one", "two", "x y"})
      if (c.holds) EXPECT_EQ(masked.find(secret), std::string::npos) << secret;
  }
}

}  // namespace
}  // namespace kelvast::test
