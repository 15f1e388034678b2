// SPDX-License-Identifier: MIT
#include "core/files/plan_file.h"

#include "core/platform/errors.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace kelvast {
namespace {

using Entries = std::vector<std::string>;

TEST(PlanFileTest, ParsesTheMarkerAndTheEntries) {
  struct Case {
    const char* name;
    std::string text;
    TPlanFileContent::TStatus status;
    Entries entries;
  };
  const Case cases[] = {
      {"no line at all", "", TPlanFileContent::psEmpty, {}},
      {"marker only", "ORVELA KELVAST PLAN\r\n", TPlanFileContent::psOk, {}},
      {"CR LF lines, empty one kept",
       "ORVELA KELVAST PLAN\r\na.model\r\n\r\nb.model\r\n",
       TPlanFileContent::psOk,
       {"a.model", "", "b.model"}},
      {"LF, CR and no final break",
       "ORVELA KELVAST PLAN\na.model\rb.model",
       TPlanFileContent::psOk,
       {"a.model", "b.model"}},
      {"marker in other case",
       "orvela kelvast plan\r\na.model\r\n",
       TPlanFileContent::psNotAPlan,
       {}},
      {"marker with a trailing blank",
       "ORVELA KELVAST PLAN \r\na.model\r\n",
       TPlanFileContent::psNotAPlan,
       {}},
      {"connection file", "ORVELA KELVAST\r\nDSN=x\r\n", TPlanFileContent::psNotAPlan, {}},
      {"empty first line", "\r\nORVELA KELVAST PLAN\r\n", TPlanFileContent::psNotAPlan, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TPlanFileContent plan = ParsePlan(c.text);
    EXPECT_EQ(plan.Status, c.status);
    EXPECT_EQ(plan.Entries, c.entries);
  }
  EXPECT_EQ(kNotAPlanMessage, "This is not a valid data generator plan!");
}

TEST(PlanFileTest, WritesCrLfLinesAndReadsThemBack) {
  const Entries entries{"people.model", "", "orders \xE9t\xE9.model"};
  EXPECT_EQ(FormatPlan(entries),
            "ORVELA KELVAST PLAN\r\npeople.model\r\n\r\norders \xE9t\xE9.model\r\n");
  test::TempDir dir;
  WritePlanFile(dir / "p.plan", entries);
  const TPlanFileContent back = ReadPlanFile(dir / "p.plan");
  EXPECT_EQ(back.Status, TPlanFileContent::psOk);
  EXPECT_EQ(back.Entries, entries);

  EXPECT_THROW(ReadPlanFile(dir / "missing.plan"), EFileError);
  EXPECT_THROW(WritePlanFile(dir / "missing" / "p.plan", entries), EFileError);
}

TEST(PlanFileTest, EntriesAreLookedForInThePlanFilesFolder) {
  struct Case {
    const char* plan;
    const char* entry;
    const char* path;
  };
  const Case cases[] = {
      {"/data/plans/nightly.plan", "people.model", "/data/plans/people.model"},
      {"/nightly.plan", "people.model", "/people.model"},
      {"", "people.model", "/people.model"},              // no plan file: the root folder
      {"nightly.plan", "people.model", "people.model"},  // a name without folder: beside it
      {"/data/plans/", "people.model", "/data/plans/people.model"},
      {"/data/plans/nightly.plan", "", "/data/plans/"},
      // An absolute entry stands as it is, wherever the plan lies.
      {"/data/plans/nightly.plan", "/srv/models/people.model", "/srv/models/people.model"},
      {"nightly.plan", "/srv/people.model", "/srv/people.model"},
      {"", "/people.model", "/people.model"},
      // Entries are Windows-1252 texts of the plan file; file names are UTF-8.
      {"/data/pl\xC3\xA4ne/n.plan", "\xE9t\xE9.model", "/data/pl\xC3\xA4ne/\xC3\xA9t\xC3\xA9.model"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.plan);
    EXPECT_EQ(PlanEntryPath(c.plan, c.entry), c.path);
  }
  const TPlan plan{"/data/p.plan", {"a.model", "b.model"}};
  EXPECT_EQ(plan.EntryPath(1), "/data/b.model");
}

}  // namespace
}  // namespace kelvast
