// SPDX-License-Identifier: MIT
#include "core/files/connection_file.h"

#include "core/platform/errors.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace kelvast {
namespace {

TEST(ConnectionFileTest, ParsesTheMarkerAndTheString) {
  struct Case {
    const char* name;
    std::string text;
    TConnectionFileContent::TStatus status;
    std::string connection;
  };
  const Case cases[] = {
      {"no line at all", "", TConnectionFileContent::csEmpty, ""},
      {"two lines", "ORVELA KELVAST\r\nDSN=people;UID=sa\r\n", TConnectionFileContent::csOk,
       "DSN=people;UID=sa"},
      {"marker only: an empty string", "ORVELA KELVAST\r\n", TConnectionFileContent::csOk, ""},
      {"further lines joined with CR LF", "ORVELA KELVAST\nDSN=a;\rUID=b\r\n\r\n  ",
       TConnectionFileContent::csOk, "DSN=a;\r\nUID=b\r\n\r\n  "},
      {"marker in other case", "Orvela Kelvast\r\nDSN=a\r\n",
       TConnectionFileContent::csNotAConnection, ""},
      {"marker with a trailing blank", "ORVELA KELVAST \r\nDSN=a\r\n",
       TConnectionFileContent::csNotAConnection, ""},
      {"plan file", "ORVELA KELVAST PLAN\r\na.model\r\n", TConnectionFileContent::csNotAConnection,
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TConnectionFileContent con = ParseConnection(c.text);
    EXPECT_EQ(con.Status, c.status);
    EXPECT_EQ(con.ConnectionString, c.connection);
  }
  EXPECT_EQ(kNotAConnectionMessage, "This is not a valid Connection file");
}

TEST(ConnectionFileTest, WritesTwoLinesAndReadsThemBack) {
  EXPECT_EQ(FormatConnection("DSN=people"), "ORVELA KELVAST\r\nDSN=people\r\n");
  test::TempDir dir;
  WriteConnectionFile(dir / "c.con", "DRIVER=SQLite3;DATABASE=/tmp/caf\xE9.db");
  const TConnectionFileContent back = ReadConnectionFile(dir / "c.con");
  EXPECT_EQ(back.Status, TConnectionFileContent::csOk);
  EXPECT_EQ(back.ConnectionString, "DRIVER=SQLite3;DATABASE=/tmp/caf\xE9.db");

  EXPECT_THROW(ReadConnectionFile(dir / "missing.con"), EFileError);
  EXPECT_THROW(WriteConnectionFile(dir / "missing" / "c.con", "x"), EFileError);
}

TEST(ConnectionFileTest, AppliedStringsLoseControlCharactersAndBlanksAtBothEnds) {
  struct Case {
    std::string raw;
    std::string applied;
  };
  const Case cases[] = {
      {"  DSN=a  ", "DSN=a"},
      {"DSN=a\r\n", "DSN=a"},
      {"\t\x01 DSN=a; UID=b \x1F", "DSN=a; UID=b"},
      {"\r\n \r\n", ""},
      {"DSN=a\xA0", "DSN=a\xA0"},  // a no-break space is not trimmed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.raw);
    EXPECT_EQ(TrimConnectionString(c.raw), c.applied);
  }
}

}  // namespace
}  // namespace kelvast
