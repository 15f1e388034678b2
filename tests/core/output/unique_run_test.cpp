// SPDX-License-Identifier: MIT
// Runs with unique keys: a key without room for the records asked, or holding a generator that
// cannot give unique values, refuses the run before any file is made; a run that fits writes no
// value twice.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "core/generators/numeric_gens.h"
#include "core/generators/string_gens.h"
#include "core/output/generation_run.h"
#include "core/platform/errors.h"
#include "core/platform/text_utils.h"
#include "support/test_support.h"

namespace kelvast::test {
namespace {

namespace fs = std::filesystem;

struct Observer : TRunObserver {
  bool ConfirmReplace(const std::string&, const std::string&) override { return true; }
};

TColParams& AddColumn(TGenModel& model, const std::string& name, TColType type, int32_t key) {
  TColToGenItem& item = model.Cols().Add();
  item.SetColName(name);
  item.SetDBColName(name);
  item.SetColType(type);
  item.Param().SetUnique(key);
  return item.Param();
}

TCPInteger& AddInteger(TGenModel& model, const std::string& name, int32_t min, int32_t max,
                       int32_t key) {
  auto& i = static_cast<TCPInteger&>(AddColumn(model, name, ctInteger, key));
  i.SetMinValue(min);
  i.SetMaxValue(max);
  return i;
}

TRunOptions CsvOptions() {
  TRunOptions o;
  o.Mode = omCsv;
  o.DictFolder = KELVAST_DICT_DIR;
  o.Threads = 2;
  return o;
}

struct RefusedCase {
  const char* name;
  std::function<void(TGenModel&)> build;
  int32_t records;
  const char* message;
};

TEST(UniqueRun, ARunThatCannotKeepItsKeysIsRefusedBeforeItStarts) {
  const RefusedCase cases[] = {
      {"integer range", [](TGenModel& m) { AddInteger(m, "quantity", 1, 5000, 1); }, 10000,
       "quantity: 10,000 unique values asked, 5,000 possible (1 to 5,000)"},
      {"string lengths and characters", [](TGenModel& m) {
         auto& s = static_cast<TCPString&>(AddColumn(m, "code", ctstring, 1));
         s.SetCharsetText("xyz");
         s.SetMinSize(1);
         s.SetDataLength(2);
       }, 13, "code: 13 unique values asked, 12 possible"},
      {"mask", [](TGenModel& m) {
         static_cast<TCPFormatted&>(AddColumn(m, "plate", ctFormatted, 2)).SetMask("AA-00");
       }, 67601, "plate: 67,601 unique values asked, 67,600 possible"},
      {"key of two columns", [](TGenModel& m) {
         AddInteger(m, "a", 1, 10, 1);
         AddInteger(m, "other", 1, 3, 0);
         AddInteger(m, "b", 10, 1, 1);
       }, 101, "a, b: 101 unique values asked, 100 possible"},
      {"counter that steps nowhere", [](TGenModel& m) {
         static_cast<TCPIncremental&>(AddColumn(m, "id", ctIncremental, 1)).SetStep(0);
       }, 2, "id: 2 unique values asked, 1 possible (0)"},
      {"counter that leaves the range", [](TGenModel& m) {
         auto& c = static_cast<TCPIncremental&>(AddColumn(m, "id", ctIncremental, 1));
         c.SetStartValue(2147483600);
         c.SetStep(10);
       }, 5, "id: 5 unique values asked, 4 possible (2,147,483,610 to 2,147,483,640)"},
      {"type without a space", [](TGenModel& m) { AddColumn(m, "price", ctFloat, 1); }, 1,
       "price: the Unique option does not apply to Float values"},
      {"values from a file", [](TGenModel& m) {
         TColParams& p = AddColumn(m, "city", ctstring, 4);
         p.SetExternalFile(KELVAST_DICT_DIR "/FrenchTowns.txt");
         p.SetUseExternalFile(true);
       }, 1, "city: the Unique option does not apply to values read from a file"},
  };
  TempDir dir;
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.name);
    TGenModel model;
    c.build(model);
    model.SetRecNumber(c.records);
    model.SetSQLFile((dir / "out.csv").string());
    Observer observer;
    try {
      RunGeneration(model, CsvOptions(), observer);
      ADD_FAILURE() << "the run was not refused";
    } catch (const EGenerationError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
    EXPECT_FALSE(fs::exists(dir / "out.csv"));
  }
}

// A key that has just room for the records writes each tuple once, on several threads, with
// nulls asked for and none written; a counter's key beside it keeps its own values apart.
TEST(UniqueRun, AFullKeyWritesEveryTupleOnce) {
  TempDir dir;
  TGenModel model;
  AddInteger(model, "a", 1, 40, 1).SetAllowNull(true);
  model.Cols()[0].Param().SetNullPercent(50);
  static_cast<TCPFormatted&>(AddColumn(model, "b", ctFormatted, 1)).SetMask("z0");
  AddColumn(model, "c", ctIncremental, 2);
  model.SetRecNumber(40 * 360);
  model.SetSQLFile((dir / "out.csv").string());
  Observer observer;
  ASSERT_EQ(RunGeneration(model, CsvOptions(), observer).Records, 40 * 360);
  std::vector<std::string> lines = SplitLines(ReadFileBytes(dir / "out.csv"));
  ASSERT_EQ(lines.size(), 40u * 360 + 1);
  std::set<std::string> tuples;
  std::set<std::string> c;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const size_t last = line.rfind(',');
    ASSERT_NE(line.find(','), 0u) << line;
    tuples.insert(line.substr(0, last));
    c.insert(line.substr(last + 1));
  }
  EXPECT_EQ(tuples.size(), 40u * 360);
  EXPECT_EQ(c.size(), 40u * 360);
}

}  // namespace
}  // namespace kelvast::test
