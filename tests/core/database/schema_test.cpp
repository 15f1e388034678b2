// SPDX-License-Identifier: MIT
// What needs no server: type names, the fields grid and its clipboard text, the connection-string
// rule, the file data sources.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "core/database/schema.h"
#include "core/database/odbc_connection.h"
#include "support/test_support.h"

namespace kelvast::test {
namespace {

TEST(TypeName, ShowsEveryCodeOfTheTable) {
  struct Case {
    int code;
    int64_t n, p, s;
    const char* shown;
  };
  const Case cases[] = {
      {0, 0, 0, 0, "<empty>"},
      {2, 0, 5, 0, "SmallInt (Int16)"},
      {3, 0, 10, 0, "Integer (Int32)"},
      {4, 0, 7, 0, "Single"},
      {5, 0, 0, 0, "Double(0.0)"},
      {5, 0, 15, 2, "Double(15.2)"},
      {6, 0, 0, 0, "Currency"},
      {7, 0, 0, 0, "Date"},
      {8, 0, 0, 0, "String"},
      {9, 0, 0, 0, "Dispatch"},
      {10, 0, 0, 0, "<error>"},
      {11, 0, 0, 0, "Boolean"},
      {12, 0, 0, 0, "Variant"},
      {13, 0, 0, 0, "IUnknown"},
      {14, 0, 8, 3, "Decimal(8.3)"},
      {16, 0, 0, 0, "TinyInt (Int8)"},
      {17, 0, 0, 0, "Unsigned Int8"},
      {18, 0, 0, 0, "Unsigned Int16"},
      {19, 0, 0, 0, "Unsigned Int32"},
      {20, 0, 0, 0, "BigInt (Int64)"},
      {21, 0, 0, 0, "Unsigned Int64"},
      {64, 0, 0, 0, "FileTime"},
      {72, 0, 0, 0, "GUID"},
      {128, 8, 0, 0, "Binary"},
      {129, 30, 0, 0, "Char(30)"},
      {130, 12, 0, 0, "WChar(12)"},
      {131, 0, 10, 2, "Numeric(10.2)"},
      {132, 0, 0, 0, "User Defined"},
      {133, 0, 0, 0, "Date"},
      {134, 0, 0, 0, "Time"},
      {135, 0, 0, 0, "Time Stamp"},
      {136, 0, 0, 0, "(.net datareader)"},
      {137, 0, 0, 0, "FileTime"},
      {138, 0, 0, 0, "Prop. Variant"},
      {139, 0, 0, 0, "Var Numeric"},
      {200, 255, 0, 0, "VarChar(255)"},
      {201, 0, 0, 0, "Long Var Char"},
      {202, 40, 0, 0, "VarWChar(40)"},
      {203, 0, 0, 0, "Long Var W.Char"},
      {204, 0, 0, 0, "Var Binary"},
      {205, 0, 0, 0, "Long Var Binary"},
      {1, 0, 0, 0, "<unkown:1>"},
      {-150, 0, 0, 0, "<unkown:-150>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(TypeName(c.code, c.n, c.p, c.s), c.shown);
  }
}

TEST(FieldTypeFromSql, MapsOdbcTypesToTheGridsCodes) {
  struct Case {
    int sqlType;
    int code;
  };
  // SQL_VARCHAR, SQL_INTEGER, SQL_TYPE_TIMESTAMP, SQL_NUMERIC, SQL_DECIMAL, SQL_CHAR,
  // SQL_WVARCHAR, SQL_LONGVARCHAR, SQL_BIGINT, SQL_DOUBLE, SQL_FLOAT, SQL_REAL, SQL_BIT,
  // SQL_TYPE_DATE, SQL_TYPE_TIME, SQL_GUID, SQL_LONGVARBINARY, an interval (kept as it is).
  const Case cases[] = {{12, 200}, {4, 3},    {93, 135}, {2, 131},  {3, 14},   {1, 129},
                        {-9, 202}, {-1, 201}, {-5, 20},  {8, 5},    {6, 5},    {7, 4},
                        {-7, 11},  {91, 133}, {92, 134}, {-11, 72}, {-4, 205}, {103, 103}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sqlType);
    EXPECT_EQ(FieldTypeFromSql(c.sqlType), c.code);
  }
}

TColumnInfo Column(const char* name, int code, int64_t maxLength, const char* nullable) {
  TColumnInfo c;
  c.Name = name;
  c.DataType = code;
  c.MaxLength = maxLength;
  c.IsNullable = nullable;
  return c;
}

TEST(FieldsGrid, TitleRowThenOneRowPerFieldAndTabbedText) {
  const TColumnInfo id = Column("id", ftInteger, 0, "NO");
  const TColumnInfo name = Column("name", ftVarChar, 50, "YES");
  TColumnInfo n = Column("n", ftSmallInt, 0, "YES");
  n.HasDefault = true;
  n.Default = "0";
  const auto grid = FieldsGrid({id, name, n});
  ASSERT_EQ(grid.size(), 4u);
  EXPECT_EQ(grid[0], (std::vector<std::string>{"Field", "Type", "Domain", "Default", "Nullable",
                                               "Computed"}));
  EXPECT_EQ(grid[2], (std::vector<std::string>{"name", "VarChar(50)", "", "<no>", "YES", ""}));
  EXPECT_EQ(grid[3][3], "0");
  EXPECT_EQ(GridText(grid),
            "Field\tType\tDomain\tDefault\tNullable\tComputed\r\n"
            "id\tInteger (Int32)\t\t<no>\tNO\t\r\n"
            "name\tVarChar(50)\t\t<no>\tYES\t\r\n"
            "n\tSmallInt (Int16)\t\t0\tYES\t\r\n");
  EXPECT_EQ(TargetFields({id, name}), (std::vector<TTargetField>{{"id", 0}, {"name", 50}}));
  EXPECT_EQ(FieldsGrid({}).size(), 1u);
}

TEST(OdbcConnectionString, AddsTheSqliteDriverWhenNoneIsNamed) {
  struct Case {
    const char* given;
    const char* used;
  };
  const Case cases[] = {
      {"", ""},
      {" \t\r\n", ""},
      {"  /tmp/x.db \r\n", "DRIVER=SQLite3;Database=/tmp/x.db"},
      {"Database=/tmp/x.db", "DRIVER=SQLite3;Database=/tmp/x.db"},
      {"Database=/tmp/x.db;Timeout=2000", "DRIVER=SQLite3;Database=/tmp/x.db;Timeout=2000"},
      {"DRIVER={PostgreSQL Unicode};Server=h", "DRIVER={PostgreSQL Unicode};Server=h"},
      {"driver=SQLite3;database=a.db", "driver=SQLite3;database=a.db"},
      {"DSN=sales", "DSN=sales"},
      {"Uid=me; dsn = sales", "Uid=me; dsn = sales"},
      {"FILEDSN=/etc/ODBCDataSources/a.dsn", "FILEDSN=/etc/ODBCDataSources/a.dsn"},
      // A value in braces that merely mentions a key does not name it.
      {"Database=x;Pwd={a;DSN=b}", "DRIVER=SQLite3;Database=x;Pwd={a;DSN=b}"},
      {"Database=x;Pwd={a}};DSN=b}", "DRIVER=SQLite3;Database=x;Pwd={a}};DSN=b}"},
      {"MyDriver=x", "DRIVER=SQLite3;MyDriver=x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given);
    EXPECT_EQ(OdbcConnectionString(c.given), c.used);
  }
  TOdbcConnection db("  a.db  ");
  EXPECT_EQ(db.ConnectionString(), "a.db");
}

TEST(FileDataSources, FolderIsUnixOdbcsAndOnlyDsnFilesAreListed) {
  // The folder that `odbcinst -j` reports.
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen("odbcinst -j", "r"), pclose);
  ASSERT_TRUE(pipe);
  std::string output;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe.get()))
    output += buffer;
  const size_t at = output.find("FILE DATA SOURCES");
  ASSERT_NE(at, std::string::npos) << output;
  const size_t colon = output.find(": ", at) + 2;
  EXPECT_EQ(FileDataSourceFolder().string(),
            output.substr(colon, output.find('\n', colon) - colon));

  TempDir dir;
  for (const char* name : {"sales.dsn", "b.DSN", "notes.txt", "dsn"})
    WriteFileBytes(dir / name, "[ODBC]\r\n");
  std::filesystem::create_directory(dir / "folder.dsn");
  EXPECT_EQ(ListFileDataSources(dir.Path()), (std::vector<std::string>{"b.DSN", "sales.dsn"}));
  EXPECT_TRUE(ListFileDataSources(dir / "missing").empty());
}

}  // namespace
}  // namespace kelvast::test
