// SPDX-License-Identifier: MIT
// The output-format catalogue: the names the command line takes and the format a file name
// stands for, which the command line and the window share.
#include "core/output/output_formats.h"

#include <gtest/gtest.h>

#include "core/output/generation_run.h"

namespace kelvast {
namespace {

TEST(OutputFormats, FileNamesChooseTheFormat) {
  const struct {
    const char* file;
    TOutputMode mode;
  } cases[] = {
      {"people.sql", omSqlScript}, {"people.CSV", omCsv},       {"/tmp/a.b/people.Xml ", omXml},
      {"people.txt", omDatabase},  {"people", omDatabase},      {"", omDatabase},
      {"/tmp/a.csv/people", omDatabase}, {"C:\\data.sql\\out", omDatabase}, {".csv", omCsv},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatForFile(c.file), c.mode) << '"' << c.file << '"';
}

TEST(OutputFormats, EveryFormatIsFoundByItsNameAndWritesItsExtension) {
  for (const TOutputFormat& format : OutputFormats()) {
    SCOPED_TRACE(std::string(format.OptionName));
    ASSERT_EQ(OutputFormatNamed(format.OptionName), &format);
    EXPECT_FALSE(format.Caption.empty());
    EXPECT_NE(format.MakeWriter, nullptr);
    if (format.Mode == omDatabase) continue;
    // A file written in a format reads back as that format.
    EXPECT_EQ(FormatForFile(OutputPathFor("out.dat", format.Mode)), format.Mode);
  }
  EXPECT_EQ(OutputFormatNamed("SQL"), nullptr);
  EXPECT_EQ(OutputFormatNamed(""), nullptr);
}

}  // namespace
}  // namespace kelvast
