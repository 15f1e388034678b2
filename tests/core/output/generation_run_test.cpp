// SPDX-License-Identifier: MIT
// The run driver: validations, the replace question, the clean-up on every path, file names,
// zero records, write failures, and the sample grid.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <cstdio>
#include <functional>
#include <future>
#include <thread>

#include "core/generators/string_gens.h"
#include "core/generators/word_lists.h"
#include "core/output/generation_run.h"
#include "core/output/output_file.h"
#include "core/platform/errors.h"
#include "core/platform/format_settings.h"
#include "core/platform/random.h"
#include "core/platform/text_utils.h"
#include "core/generators/composite_gens.h"
#include "core/output/output_fixture.h"
#include "support/memory_data_access.h"
#include "support/test_support.h"

namespace kelvast::test {
namespace {

namespace fs = std::filesystem;

struct RecordingObserver : TRunObserver {
  bool answer = false;
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<int64_t> progress;
  bool ConfirmReplace(const std::string& caption, const std::string& text) override {
    questions.push_back(caption + "|" + text);
    return answer;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void Progress(int64_t record, int64_t) override { progress.push_back(record); }
  int64_t ProgressStep() const override { return 4; }
};

// Everything written to a FIFO until its writer closes it.
std::string ReadPipe(const fs::path& fifo) {
  std::string text;
  FILE* f = std::fopen(fifo.c_str(), "rb");
  if (!f) return text;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
  std::fclose(f);
  return text;
}

TRunOptions Options(TOutputMode mode, bool userStarted = true) {
  TRunOptions o;
  o.Mode = mode;
  o.UserStarted = userStarted;
  o.DictFolder = KELVAST_DICT_DIR;
  return o;
}

TEST(GenerationRun, ValidationsShowMessagesOnlyForTheUser) {
  RecordingObserver observer;
  TGenModel empty;
  empty.SetSQLFile("x.sql");
  EXPECT_EQ(RunGeneration(empty, Options(omSqlScript), observer).Outcome, roNoColumns);
  TGenModel noFile;
  AddConst(noFile, "A", "a");
  noFile.SetSQLFile("   ");
  EXPECT_EQ(RunGeneration(noFile, Options(omCsv), observer).Outcome, roNoFileName);
  EXPECT_EQ(observer.messages,
            (std::vector<std::string>{"There's no column to export...", "Please specify an output file name!"}));

  RecordingObserver plan;
  EXPECT_EQ(RunGeneration(empty, Options(omSqlScript, false), plan).Outcome, roNoColumns);
  EXPECT_EQ(RunGeneration(noFile, Options(omCsv, false), plan).Outcome, roNoFileName);
  EXPECT_TRUE(plan.messages.empty());
}

TEST(GenerationRun, OutputPathTakesTheFormatsExtension) {
  EXPECT_EQ(OutputPathFor(" out.txt ", omXml), "out.xml");
  EXPECT_EQ(OutputPathFor("out", omCsv), "out.csv");
  EXPECT_EQ(OutputPathFor("dir.v2/out", omSqlScript), "dir.v2/out.sql");
  EXPECT_EQ(OutputPathFor("a.b.c", omSqlScript), "a.b.sql");
}

TEST(GenerationRun, ReplaceQuestionGuardsAnExistingFile) {
  TempDir dir;
  const auto path = dir / "out.csv";
  WriteFileBytes(path, "old content that is longer than the new one\r\n");
  TGenModel model;
  AddConst(model, "A", "a");
  model.SetSQLFile((dir / "out").string());
  model.SetRecNumber(1);

  RecordingObserver no;
  EXPECT_EQ(RunGeneration(model, Options(omCsv), no).Outcome, roNotReplaced);
  ASSERT_EQ(no.questions.size(), 1u);
  EXPECT_EQ(no.questions[0], "Replace existing file ?|\"" + path.string() +
                                 "\" already exists.\nThe next operation will REPLACE data by the "
                                 "new ones.\nDo you want to replace existing file ?");
  EXPECT_EQ(ReadFileBytes(path), "old content that is longer than the new one\r\n");

  RecordingObserver yes;
  yes.answer = true;
  EXPECT_EQ(RunGeneration(model, Options(omCsv), yes).Outcome, roDone);
  EXPECT_EQ(ReadFileBytes(path), "\"A\"\r\n\"a\"\r\n");
}

TEST(GenerationRun, ADanglingLinkIsFollowedOnlyWhenConfirmed) {
  // Writing through a link to nothing would create a file wherever the link points.
  TempDir dir;
  fs::create_directory(dir / "elsewhere");
  const fs::path target = dir / "elsewhere" / "made.csv";
  fs::create_symlink(target, dir / "out.csv");
  TGenModel model;
  AddConst(model, "A", "a");
  model.SetSQLFile((dir / "out").string());
  model.SetRecNumber(1);

  RecordingObserver no;
  EXPECT_EQ(RunGeneration(model, Options(omCsv), no).Outcome, roNotReplaced);
  EXPECT_EQ(no.questions.size(), 1u);
  EXPECT_FALSE(fs::exists(target));

  RecordingObserver yes;
  yes.answer = true;
  EXPECT_EQ(RunGeneration(model, Options(omCsv), yes).Outcome, roDone);
  EXPECT_EQ(ReadFileBytes(target), "\"A\"\r\n\"a\"\r\n");
}

TEST(GenerationRun, DevicesAndPipesAreWrittenAsTheyAreWithoutQuestion) {
  TempDir dir;
  const fs::path fifo = dir / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  TGenModel model;
  AddCounter(model, "id");
  model.SetRecNumber(3000);
  for (const std::string path : {std::string("/dev/null"), fifo.string()}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(OutputPathFor(path, omCsv), path);
    model.SetSQLFile(path);
    // The pipe's reader takes everything the run writes.
    std::future<std::string> read;
    if (path == fifo.string())
      read = std::async(std::launch::async, [&] { return ReadPipe(fifo); });
    RecordingObserver observer;  // answers No to any question
    const TRunResult result = RunGeneration(model, Options(omCsv), observer);
    EXPECT_EQ(result.Outcome, roDone);
    EXPECT_EQ(result.OutputPath, path);
    EXPECT_TRUE(observer.questions.empty());
    EXPECT_FALSE(fs::exists(path + ".csv"));
    if (read.valid()) {
      const std::vector<std::string> lines = SplitLines(read.get());
      ASSERT_EQ(lines.size(), 3001u);  // the header and the records
      EXPECT_EQ(lines[3000], "3000");
    }
  }
}

TEST(GenerationRun, MissingValueFileAndEmptyReferencedColumnStopTheRunBeforeAnyRecord) {
  TempDir dir;
  TMemoryDataAccess db;
  db.SetColumn("people", "name", {});
  struct Case {
    const char* name;
    std::function<void(TGenModel&)> add;
    std::string message;
  };
  const std::string missing = (dir / "names.txt").string();
  const Case cases[] = {
      {"value file",
       [&](TGenModel& m) {
         TColToGenItem& item = AddConst(m, "name", "x");
         item.Param().SetUseExternalFile(true);
         item.Param().SetExternalFile(missing);
       },
       missing},
      {"empty referenced column",
       [](TGenModel& m) {
         TColToGenItem& item = m.Cols().Add();
         item.SetColName("name");
         item.SetDBColName("name");
         item.SetColType(ctColRef);
         auto& ref = static_cast<TCPColRef&>(item.Param());
         ref.SetTable("people");
         ref.SetField("name");
       },
       "people.name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGenModel model;
    AddCounter(model, "id");
    c.add(model);
    model.SetRecNumber(10);
    model.SetSQLFile((dir / "out").string());
    TRunOptions options = Options(omSqlScript);
    options.Connection = &db;
    RecordingObserver observer;
    try {
      RunGeneration(model, options, observer);
      ADD_FAILURE() << "the run made do without its values";
    } catch (const EKelvastError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(dir / "out.sql"));
  }
}

TEST(GenerationRun, ZeroRecordsWriteHeaderAndFooterOnly) {
  TempDir dir;
  TGenModel model;
  AddConst(model, "A", "a");
  model.SetSQLFile((dir / "out").string());
  RecordingObserver observer;
  RunGeneration(model, Options(omSqlScript), observer);
  const std::string sql = ReadFileBytes(dir / "out.sql");
  EXPECT_EQ(std::count(sql.begin(), sql.end(), '\n'), 6 + 2 + 3);  // BEGIN; and COMMIT; too
  EXPECT_EQ(sql.find("INSERT"), std::string::npos);
  const std::string lastLine = "/* Generated data size:    Kb */\r\n";
  EXPECT_EQ(sql.substr(sql.size() - lastLine.size()), lastLine);
  RunGeneration(model, Options(omCsv), observer);
  EXPECT_EQ(ReadFileBytes(dir / "out.csv"), "\"A\"\r\n");
  EXPECT_TRUE(observer.progress.empty());
}

TEST(GenerationRun, RowsProgressAndSqlFrame) {
  TempDir dir;
  TGenModel model;
  model.SetTableName("people");
  AddCounter(model, "id");
  AddConst(model, "name", "Ann");
  model.SetSQLFile((dir / "out.sql").string());
  model.SetRecNumber(10);
  RecordingObserver observer;
  const TRunResult result = RunGeneration(model, Options(omSqlScript), observer);
  EXPECT_EQ(result.Records, 10);
  EXPECT_EQ(result.DataSize, 11 + 30);  // "1".."9" and "10", then ten times "Ann"
  // Progress comes with each block of records that passes a multiple of the step: one block here.
  EXPECT_EQ(observer.progress, (std::vector<int64_t>{10}));

  // The statements sit between BEGIN; and COMMIT; unless the run leaves the transaction out.
  for (const bool transaction : {true, false}) {
    SCOPED_TRACE(transaction);
    TRunOptions options = Options(omSqlScript);
    options.Transaction = transaction;
    const fs::path path = dir / (transaction ? "begin.sql" : "plain.sql");
    model.SetSQLFile(path.string());
    RunGeneration(model, options, observer);
    const std::vector<std::string> lines = SplitLines(ReadFileBytes(path));
    const size_t t = transaction ? 1 : 0;
    ASSERT_EQ(lines.size(), 6u + 10u + 3u + 2 * t);
    EXPECT_EQ(lines[0], "/* Data generated by Kelvast */");
    EXPECT_EQ(lines[1].size(), 51u);
    EXPECT_EQ(lines[2], "/* " + std::string(45, '-') + " */");
    EXPECT_EQ(lines[3].rfind("/* Generated at ", 0), 0u);
    EXPECT_EQ(lines[4], "/* Number of records : 10 */");
    if (transaction) EXPECT_EQ(lines[6], "BEGIN;");
    EXPECT_EQ(lines[6 + t], "INSERT INTO 'people' ('id', 'name') VALUES (1, 'Ann');");
    EXPECT_EQ(lines[15 + t], "INSERT INTO 'people' ('id', 'name') VALUES (10, 'Ann');");
    if (transaction) EXPECT_EQ(lines[17], "COMMIT;");
    EXPECT_EQ(lines[16 + 2 * t], "/* " + std::string(45, '-') + " */");
    EXPECT_EQ(lines[17 + 2 * t].find("/* End of generation at "), 0u);
    EXPECT_NE(lines[17 + 2 * t].find(" - Duration : 00:00:"), std::string::npos);
    EXPECT_EQ(lines[18 + 2 * t], "/* Generated data size:   .04 Kb */");
  }
}

TEST(GenerationRun, CleanUpRunsOnEveryPath) {
  TempDir dir;
  TGenModel model;
  AddConst(model, "A", "a");
  model.SetRecNumber(3);
  RecordingObserver observer;

  // A missing reference file stops the run before any output.
  fs::create_directory(dir / "Dict");
  model.SetSQLFile((dir / "out").string());
  TRunOptions broken = Options(omCsv);
  broken.DictFolder = dir / "Dict";
  try {
    RunGeneration(model, broken, observer);
    FAIL() << "expected a file error";
  } catch (const EFileError& e) {
    EXPECT_NE(std::string(e.what()).find((dir / "Dict" / "BoynamesUSA.txt").string()), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(dir / "out.csv"));
  EXPECT_EQ(WordCount(TWordList::BoyNames), 0);

  // A disk that fills up: the error names the file and the lists are emptied.
  fs::create_symlink("/dev/full", dir / "full.csv");
  model.SetSQLFile((dir / "full").string());
  observer.answer = true;
  model.SetRecNumber(200000);
  try {
    RunGeneration(model, Options(omCsv), observer);
    FAIL() << "expected a write error";
  } catch (const EFileError& e) {
    EXPECT_NE(std::string(e.what()).find((dir / "full.csv").string()), std::string::npos);
  }
  EXPECT_EQ(WordCount(TWordList::EnglishWords), 0);
}

TEST(GenerationRun, SampleGridShowsStealthInParentheses) {
  TGenModel model;
  AddCounter(model, "id");
  TColToGenItem& hidden = AddConst(model, "secret", "s");
  hidden.Param().SetStealth(true);
  TColToGenItem& unnamed = AddConst(model, "x", "v");
  unnamed.SetDBColName("  ");
  const auto grid = SampleModel(model, KELVAST_DICT_DIR);
  ASSERT_EQ(grid.size(), 11u);
  EXPECT_EQ(grid[0], (std::vector<std::string>{"", "id", "(secret)", "<Missing!>"}));
  EXPECT_EQ(grid[1], (std::vector<std::string>{"1", "1", "s", "v"}));
  EXPECT_EQ(grid[10], (std::vector<std::string>{"10", "10", "s", "v"}));
  // A second preview starts the counter again.
  EXPECT_EQ(SampleModel(model, KELVAST_DICT_DIR)[1][1], "1");
  EXPECT_EQ(WordCount(TWordList::GirlNames), 0);
}

// The sample previews the run: its ten rows are the first ten records the run started next
// writes, on one thread or several, with the file's number and date forms whatever the locale
// settings are; the columns a run does not write leave the written ones alone.
TEST(GenerationRun, SampleIsTheFirstTenRecordsOfTheNextRun) {
  TGenModel model;
  TColToGenItem& hidden = model.Cols().Add();
  hidden.SetColName("hidden");
  hidden.SetColType(ctInteger);
  hidden.Param().SetStealth(true);
  const TColType types[] = {ctInteger, ctFloat, ctDate, ctFirstName, ctFormatted, ctIncremental};
  for (const TColType type : types) {
    TColToGenItem& item = model.Cols().Add();
    item.SetColName("c" + std::to_string(static_cast<int>(type)));
    item.SetDBColName(item.ColName());
    item.SetColType(type);
    item.Param().InitNew();
  }
  static_cast<TCPFormatted&>(model.Cols()[5].Param()).SetMask("AA00");
  model.Cols()[5].Param().SetUnique(1);
  model.Cols()[1].Param().SetAllowNull(true);
  model.Cols()[1].Param().SetNullPercent(30);  // the NULL draws follow the run's too
  model.SetRecNumber(3000);

  TFormatSettings saved = FormatSettings();
  FormatSettings().DecimalSeparator = ',';
  FormatSettings().DateSeparator = '.';
  TempDir dir;
  model.SetSQLFile((dir / "out").string());
  for (const int threads : {1, 2}) {
    SCOPED_TRACE(testing::Message() << threads << " threads");
    RandSeed(7);
    const auto grid = SampleModel(model, KELVAST_DICT_DIR);
    TRunOptions options = Options(omCsv);
    options.Threads = threads;
    RecordingObserver observer;
    observer.answer = true;
    ASSERT_EQ(RunGeneration(model, options, observer).Outcome, roDone);
    const std::string file = ReadFileBytes(dir / "out.csv");
    size_t at = file.find("\r\n") + 2;  // after the title line
    for (size_t row = 1; row <= 10; ++row) {
      const size_t end = file.find("\r\n", at);
      std::string expected;
      for (size_t column = 2; column < grid[row].size(); ++column) {
        const std::string& value = grid[row][column];
        if (column > 2) expected += ',';
        const bool text = column == 4 || column == 5 || column == 6;  // date, name, mask
        expected += text && !value.empty() ? "\"" + value + "\"" : value;
      }
      EXPECT_EQ(file.substr(at, end - at), expected) << "row " << row;
      at = end + 2;
    }
    // The file's forms, not the locale's: a decimal point and the format's own separator.
    for (size_t row = 1; row <= 10; ++row) {
      EXPECT_EQ(grid[row][3].find(','), std::string::npos) << grid[row][3];
      EXPECT_EQ(grid[row][4].size(), 10u) << grid[row][4];
      EXPECT_EQ(grid[row][4][2], '/') << grid[row][4];
    }
  }
  FormatSettings() = saved;
}

}  // namespace
}  // namespace kelvast::test
