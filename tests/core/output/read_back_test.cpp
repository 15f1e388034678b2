// SPDX-License-Identifier: MIT
// What the writers produce, read back by the tools people load it with: Python's csv module, a
// strict XML parser (xmllint and Python's xml.etree). Values must come back exactly as generated,
// whatever they hold, and numbers must carry a full stop whatever the user's locale.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "core/output/generation_run.h"
#include "core/output/output_fixture.h"
#include "core/platform/code_page.h"
#include "core/platform/format_settings.h"
#include "support/test_support.h"

namespace kelvast::test {
namespace {

namespace fs = std::filesystem;

// Runs a shell command; returns its standard output and sets `status` to its exit status.
std::string Capture(const std::string& command, int& status) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) {
    status = -1;
    return out;
  }
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
  status = ::pclose(pipe);
  return out;
}

// Lines of space-separated fields, each field a comma-separated list of Unicode code points.
using TCodeRows = std::vector<std::vector<std::vector<int>>>;

TCodeRows ParseCodeRows(const std::string& text) {
  TCodeRows rows;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::vector<int>>& row = rows.emplace_back();
    std::istringstream fields(line);
    std::string field;
    while (fields >> field) {
      std::vector<int>& codes = row.emplace_back();
      if (field == "-") continue;  // the empty text
      std::istringstream numbers(field);
      std::string number;
      while (std::getline(numbers, number, ',')) codes.push_back(std::stoi(number));
    }
  }
  return rows;
}

std::vector<int> CodesOf(std::string_view ansi) {
  std::vector<int> codes;
  for (char c : ansi) codes.push_back(AnsiToWideChar(static_cast<unsigned char>(c)));
  return codes;
}

TRunResult RunTo(TGenModel& model, const fs::path& base, TOutputMode mode, int records = 1) {
  model.SetSQLFile(base.string());
  model.SetRecNumber(records);
  TRunObserver quiet;
  TRunOptions options;
  options.Mode = mode;
  options.DictFolder = KELVAST_DICT_DIR;
  return RunGeneration(model, options, quiet);
}

// Python code printing every row of the CSV file argv[1] as code points.
constexpr const char* kCsvToCodes =
    "import csv,sys\n"
    "for row in csv.reader(open(sys.argv[1], newline='', encoding='latin-1')):\n"
    "  print(' '.join(','.join(str(ord(c)) for c in f) or '-' for f in row))\n";

// Python code printing the attribute values of every ROW of the XML file argv[1].
constexpr const char* kXmlToCodes =
    "import sys, xml.etree.ElementTree as ET\n"
    "for row in ET.parse(sys.argv[1]).getroot().iter('ROW'):\n"
    "  print(' '.join(','.join(str(ord(c)) for c in v) or '-' for v in row.attrib.values()))\n";

std::string Python(const char* code, const fs::path& file, int& status) {
  TempDir dir;
  WriteFileBytes(dir / "read.py", code);
  return Capture("python3 " + (dir / "read.py").string() + " '" + file.string() + "'", status);
}

TEST(ReadBack, CsvFieldsComeBackFromPythonsCsvModule) {
  TGenModel model;
  const struct {
    const char* value;
    TExportType type;
    const char* readBack;  // strings are trimmed
  } fields[] = {
      {"He said \"hi\", O'Brien", etString, "He said \"hi\", O'Brien"},
      {"a,b", etString, "a,b"},
      {"two\r\nlines\nand \"more\"", etString, "two\r\nlines\nand \"more\""},
      {"  padded  ", etString, "padded"},
      {"caf\xE9 \x80", etString, "caf\xE9 \x80"},
      {"1,5", etNum, "1,5"},
      {"3\"4", etNum, "3\"4"},
      {"-12.25", etNum, "-12.25"},
  };
  for (const auto& f : fields) AddConst(model, std::string("f\"") + f.value[0], f.value, f.type);
  TempDir dir;
  RunTo(model, dir / "out", omCsv, 3);
  int status = 0;
  // Read as latin-1, each byte comes back as the code point of the same number.
  const TCodeRows rows = ParseCodeRows(Python(kCsvToCodes, dir / "out.csv", status));
  ASSERT_EQ(status, 0);
  ASSERT_EQ(rows.size(), 4u);  // the title line and three records
  for (size_t r = 0; r < rows.size(); ++r) {
    SCOPED_TRACE(r);
    ASSERT_EQ(rows[r].size(), std::size(fields));
    for (size_t i = 0; i < std::size(fields); ++i) {
      const std::string expected = r == 0 ? std::string("f\"") + fields[i].value[0]
                                           : fields[i].readBack;
      std::vector<int> codes;
      for (char c : expected) codes.push_back(static_cast<unsigned char>(c));
      EXPECT_EQ(rows[r][i], codes) << i;
    }
  }
}

TEST(ReadBack, XmlIsWellFormedAndEveryCharacterComesBack) {
  std::string every;
  for (int c = 32; c < 256; ++c) every += static_cast<char>(c);
  std::string expected = every + "\ttab\nline|bar";
  TGenModel model;
  AddConst(model, "all", every + "\ttab\r\nline|bar");
  AddConst(model, "number", "<1 & 2>", etNum);
  AddConst(model, "2nd", "\x01" "a\x1F");  // control characters XML 1.0 cannot carry
  AddConst(model, "all", "same name");
  TempDir dir;
  RunTo(model, dir / "out", omXml, 2);
  int status = 0;
  Capture("xmllint --noout '" + (dir / "out.xml").string() + "' 2>&1", status);
  EXPECT_EQ(status, 0) << ReadFileBytes(dir / "out.xml");
  const TCodeRows rows = ParseCodeRows(Python(kXmlToCodes, dir / "out.xml", status));
  ASSERT_EQ(status, 0);
  ASSERT_EQ(rows.size(), 2u);
  for (const auto& row : rows) {
    ASSERT_EQ(row.size(), 4u);
    EXPECT_EQ(row[0], CodesOf(expected));
    EXPECT_EQ(row[1], CodesOf("<1 & 2>"));
    EXPECT_EQ(row[2], CodesOf("a"));
    EXPECT_EQ(row[3], CodesOf("same name"));
  }
}

TEST(ReadBack, NumbersCarryAFullStopWhateverTheLocale) {
  const TFormatSettings saved = FormatSettings();
  FormatSettings().DecimalSeparator = ',';
  FormatSettings().ThousandSeparator = '.';
  TGenModel model;
  model.SetDelimiter("\"\"");
  TColToGenItem& price = model.Cols().Add();
  price.SetDBColName("price");
  price.SetColType(ctFloat);
  auto& param = static_cast<TCPFloat&>(price.Param());
  param.SetMinValue(0.01);
  param.SetMaxValue(0.99);
  AddCounter(model, "id");
  TempDir dir;
  for (TOutputMode mode : {omSqlScript, omCsv, omXml}) RunTo(model, dir / "out", mode, 50);
  FormatSettings() = saved;
  EXPECT_EQ(FormatSettings().DecimalSeparator, saved.DecimalSeparator);

  int status = 0;
  const TCodeRows csv = ParseCodeRows(Python(kCsvToCodes, dir / "out.csv", status));
  ASSERT_EQ(csv.size(), 51u);
  for (size_t r = 1; r < csv.size(); ++r) {
    ASSERT_EQ(csv[r].size(), 2u);
    const std::string value(csv[r][0].begin(), csv[r][0].end());
    EXPECT_EQ(value.rfind("0.", 0), 0u) << value;
  }
  const std::string sql = ReadFileBytes(dir / "out.sql");
  EXPECT_NE(sql.find("VALUES (0."), std::string::npos);
  EXPECT_EQ(sql.find("VALUES (0,"), std::string::npos);
  const std::string xml = ReadFileBytes(dir / "out.xml");
  EXPECT_NE(xml.find("price=\"0."), std::string::npos);
  EXPECT_EQ(xml.find("price=\"0,"), std::string::npos);
}

TEST(ReadBack, ARunStoppedByAnErrorEndsAfterTheLastCompleteRecord) {
  // The counter is written before the float fails: the line must not keep it.
  TGenModel model;
  AddCounter(model, "id");
  TColToGenItem& bad = model.Cols().Add();
  bad.SetDBColName("price");
  bad.SetColType(ctFloat);
  // No number with two decimals lies between these bounds.
  static_cast<TCPFloat&>(bad.Param()).SetMinValue(0.001);
  static_cast<TCPFloat&>(bad.Param()).SetMaxValue(0.002);
  TempDir dir;
  for (TOutputMode mode : {omSqlScript, omCsv, omXml}) {
    EXPECT_THROW(RunTo(model, dir / "out", mode, 5), EGenerationError);
    const std::string text = ReadFileBytes(dir / ("out" + std::string(OutputExtension(mode))));
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << text;
    EXPECT_EQ(text.find("INSERT"), std::string::npos) << text;
    EXPECT_EQ(text.find("\r\n1"), std::string::npos) << text;
    EXPECT_EQ(text.find("<RECORD>"), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace kelvast::test
