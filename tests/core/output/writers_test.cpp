// SPDX-License-Identifier: MIT
// Byte-exact output of the SQL, CSV and XML writers for small models with known values.

#include <gtest/gtest.h>

#include "core/output/csv_writer.h"
#include "core/output/generation_run.h"
#include "core/output/sql_writer.h"
#include "core/output/xml_writer.h"
#include "core/platform/format_settings.h"
#include "core/output/output_fixture.h"
#include "support/test_support.h"

namespace kelvast::test {
namespace {

// Runs `records` rows of a writer into a file and returns the file's bytes.
template <class W>
std::string WriteRows(TGenModel& model, int records, bool header = false) {
  TempDir dir;
  const auto path = dir / "out";
  model.PrepareAll();
  {
    W writer(model);
    TOutputFile file(path.string());
    if (header) writer.Header(file, 0);
    for (int i = 0; i < records; ++i) {
      model.NewRecord();
      writer.Row(file);
    }
    file.Close();
  }
  return ReadFileBytes(path);
}

struct SqlCase {
  const char* name;
  const char* delimiter;
  const char* stringDelimiter;
  const char* expected;
};

TEST(SqlWriter, StatementFollowsTheDelimiters) {
  const SqlCase cases[] = {
      {"default", "''", "''", "INSERT INTO 'T' ('A', 'B') VALUES ('x''y', 12);\r\n"},
      {"brackets", "[]", "{}", "INSERT INTO [T] ([A], [B]) VALUES ({x'y}, 12);\r\n"},
      {"apostrophe ignores closer", "''", "'\"", "INSERT INTO 'T' ('A', 'B') VALUES ('x''y', 12);\r\n"},
      {"invalid delimiter", "", "''", "INSERT INTO  T  ( A ,  B ) VALUES ('x''y', 12);\r\n"},
      {"three characters", "[[]", "''", "INSERT INTO  T  ( A ,  B ) VALUES ('x''y', 12);\r\n"},
      {"double quotes", "\"\"", "\"\"", "INSERT INTO \"T\" (\"A\", \"B\") VALUES (\"x'y\", 12);\r\n"},
  };
  for (const SqlCase& c : cases) {
    SCOPED_TRACE(c.name);
    TGenModel model;
    model.SetTableName("T");
    model.SetDelimiter(c.delimiter);
    model.SetStringDelimiter(c.stringDelimiter);
    AddConst(model, "A", "x'y");
    AddConst(model, "B", "12", etNum);
    EXPECT_EQ(WriteRows<TSqlWriter>(model, 1), c.expected);
  }
}

TEST(SqlWriter, NamesHoldingTheClosingDelimiterHaveItDoubled) {
  const SqlCase cases[] = {
      {"double quotes", "\"\"", "''", "INSERT INTO \"t\"\" x\" (\"a\"\"]'`\") VALUES (1);\r\n"},
      {"brackets", "[]", "''", "INSERT INTO [t\" x] ([a\"]]'`]) VALUES (1);\r\n"},
      {"apostrophes", "''", "''", "INSERT INTO 't\" x' ('a\"]''`') VALUES (1);\r\n"},
      {"back quotes", "``", "''", "INSERT INTO `t\" x` (`a\"]'```) VALUES (1);\r\n"},
      {"invalid delimiter: blanks", "", "''", "INSERT INTO  t\" x  ( a\"]'` ) VALUES (1);\r\n"},
  };
  for (const SqlCase& c : cases) {
    SCOPED_TRACE(c.name);
    TGenModel model;
    model.SetTableName("t\" x");
    model.SetDelimiter(c.delimiter);
    model.SetStringDelimiter(c.stringDelimiter);
    AddConst(model, "a\"]'`", "1", etNum);
    EXPECT_EQ(WriteRows<TSqlWriter>(model, 1), c.expected);
  }
}

TEST(SqlWriter, BlankValuesAreNullAndCountTowardsTheSize) {
  TGenModel model;
  model.SetTableName("T");
  AddConst(model, "A", "   ");
  AddConst(model, "B", "", etNum);
  AddConst(model, "C", "it's", etString);
  TSqlWriter writer(model);
  model.NewRecord();
  EXPECT_EQ(writer.BuildStatement(), "INSERT INTO 'T' ('A', 'B', 'C') VALUES (NULL, NULL, 'it''s');");
  // Three blanks and four characters, as generated: not the NULL words nor doubled apostrophes.
  EXPECT_EQ(writer.DataSize(), 7);
}

TEST(SqlWriter, AllStealthWritesEmptyLists) {
  TGenModel model;
  model.SetTableName("T");
  AddConst(model, "A", "a").Param().SetStealth(true);
  EXPECT_EQ(WriteRows<TSqlWriter>(model, 2), "INSERT INTO 'T' () VALUES ();\r\n"
                                             "INSERT INTO 'T' () VALUES ();\r\n");
}

TEST(SqlWriter, DataSizePattern) {
  const struct {
    double kb;
    char separator;
    const char* expected;
  } cases[] = {
      {0, '.', "  "},
      {12, '.', "  12"},
      {12.5, '.', "  12.5"},
      {0.25, '.', "  .25"},
      {1234567.891, '.', "1 234 567.89"},
      {1234.999, ',', " 1 235"},
      {999999999.5, '.', "999 999 999.5"},
      {12345678901.0, '.', "12345 678 901"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kb);
    EXPECT_EQ(FormatDataSizeKb(c.kb, c.separator), c.expected);
  }
}

TEST(CsvWriter, FieldsByExportType) {
  TFormatSettings saved = FormatSettings();
  FormatSettings().DecimalSeparator = ',';
  TGenModel model;
  AddConst(model, "Hidden", "h").Param().SetStealth(true);
  AddConst(model, "Name", "  Smith ");
  AddConst(model, "Price", "12,5", etNum);
  AddConst(model, "Blank", "   ");
  AddConst(model, "Empty", "", etNum);
  AddConst(model, "Quoted", "He said \"hi\", O'Brien");
  AddConst(model, "Number", "1\"2\n3", etNum);
  AddConst(model, "Plain", "-4.25", etNum);
  AddConst(model, "Say \"x\"", "v");
  const std::string out = WriteRows<TCsvWriter>(model, 1, /*header=*/true);
  FormatSettings() = saved;
  // Quotes inside a field are doubled; a number-typed value is quoted when it holds a comma, a
  // quote or a line break, and is otherwise written as it stands.
  EXPECT_EQ(out,
            "\"Name\",\"Price\",\"Blank\",\"Empty\",\"Quoted\",\"Number\",\"Plain\",\"Say \"\"x\"\"\"\r\n"
            "\"Smith\",\"12,5\",,,\"He said \"\"hi\"\", O'Brien\",\"1\"\"2\n3\",-4.25,\"v\"\r\n");
}

TEST(CsvWriter, AllStealthWritesEmptyLines) {
  TGenModel model;
  AddConst(model, "A", "a").Param().SetStealth(true);
  EXPECT_EQ(WriteRows<TCsvWriter>(model, 2, true), "\r\n\r\n\r\n");
}

TEST(XmlWriter, Escaping) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"Tom & Jerry <2>", "Tom &amp; Jerry &lt;2&gt;"},
      {"a|b", "a|b"},
      {"\xE9\xC9\xFF", "&#233;&#201;&#255;"},
      {"\xA0\xD0\xF7\x80\x81\x9F", "&#160;&#208;&#247;&#8364;&#129;&#376;"},
      {"say \"hi\" it's", "say &quot;hi&quot; it's"},
      {"one\r\ntwo\nthree\rfour", "one&#10;two&#10;threefour"},
      {"a\tb\x01\x1F\x7F", "a&#9;b\x7F"},
      {"&amp;", "&amp;amp;"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(XmlEscape(c.in), c.out);
  }
  EXPECT_EQ(XmlName("Order Date"), "OrderDate");
  EXPECT_EQ(XmlName("a_b-9!"), "a_b9");
  EXPECT_EQ(XmlName("- !"), "_");
  EXPECT_EQ(XmlName("2nd"), "_2nd");
}

TEST(XmlWriter, DocumentWithFieldTypes) {
  TGenModel model;
  model.SetRecNumber(1);
  TColToGenItem& s = model.Cols().Add();
  s.SetDBColName("Order Date");
  s.SetColType(ctConst);
  static_cast<TCPConst&>(s.Param()).SetConstValue("a<b");
  TColToGenItem& wide = model.Cols().Add();
  wide.SetDBColName("Code");
  static_cast<TCPString&>(wide.Param()).SetCharsetText("x");
  wide.Param().SetDataLength(3);
  static_cast<TCPString&>(wide.Param()).SetMinSize(3);
  TColToGenItem& n = AddConst(model, "N", "<5>", etNum);
  TColToGenItem& mask = model.Cols().Add();
  mask.SetDBColName("M");
  mask.SetColType(ctFormatted);
  mask.Param().SetExportType(etNum);
  mask.Param().SetDataLength(4);
  static_cast<TCPFormatted&>(mask.Param()).SetMask("&");
  AddConst(model, "E", "");
  AddConst(model, "e!", "1.5", etNum);
  (void)n;

  TempDir dir;
  model.SetSQLFile((dir / "out").string());
  TRunObserver quiet;
  TRunOptions options;
  options.Mode = omXml;
  options.DictFolder = KELVAST_DICT_DIR;
  RunGeneration(model, options, quiet);
  EXPECT_EQ(ReadFileBytes(dir / "out.xml"),
            "<?xml version=\"1.0\" encoding=\"windows-1252\" standalone=\"yes\"?>\r\n"
            "<!-- Generated by Kelvast - Standard XML Compatibility  -->  \r\n"
            "<RECORDS>\r\n<METADATA>\r\n <FIELDS>\r\n"
            " <FIELD attrname=\"OrderDate\" fieldtype=\"string\"/>\r\n"
            " <FIELD attrname=\"Code\" fieldtype=\"string\" WIDTH=\"3\"/>\r\n"
            " <FIELD attrname=\"N\" fieldtype=\"i8\"/>\r\n"
            " <FIELD attrname=\"M\" fieldtype=\"string\" WIDTH=\"1\"/>\r\n"
            " <FIELD attrname=\"E\" fieldtype=\"string\"/>\r\n"
            " <FIELD attrname=\"e\" fieldtype=\"i8\"/>\r\n"
            " </FIELDS>\r\n</METADATA>\r\n"
            "<RECORD><ROW OrderDate=\"a&lt;b\" Code=\"xxx\" N=\"&lt;5&gt;\" M=\"&amp;\" E=\"\" "
            "e=\"1.5\"/></RECORD>\r\n"
            "</RECORDS>\r\n");
}

// A mask written as a number declares the smallest integer type its digits fit; a mask that
// makes other characters, or too many digits, is text of its length.
TEST(XmlWriter, MaskFieldTypeFollowsTheMask) {
  const struct {
    const char* mask;
    const char* type;
  } cases[] = {
      {"00", "\"i1\""},
      {"0000", "\"i2\""},
      {"00000", "\"i4\""},
      {"190000000", "\"i4\""},
      {"0000000000", "\"i8\""},
      {"000000000000000000", "\"i8\""},
      {"0000000000000000000", "\"string\" WIDTH=\"19\""},
      {"A-00", "\"string\" WIDTH=\"4\""},
      {"", "\"string\" WIDTH=\"1\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask);
    TGenModel model;
    TColToGenItem& item = model.Cols().Add();
    item.SetColType(ctFormatted);
    item.Param().SetExportType(etNum);
    static_cast<TCPFormatted&>(item.Param()).SetMask(c.mask);
    EXPECT_EQ(XmlFieldType(item), c.type);
  }
}

TEST(XmlWriter, AllStealthAndNoRecords) {
  TGenModel model;
  AddConst(model, "A", "a").Param().SetStealth(true);
  EXPECT_EQ(WriteRows<TXmlWriter>(model, 1),
            "<RECORD><ROW/></RECORD>\r\n");
}

}  // namespace
}  // namespace kelvast::test
