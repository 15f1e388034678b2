// SPDX-License-Identifier: MIT
// The run driver: validations, the replace question, the clean-up on every path, file names,
// zero records, write failures, and the sample grid.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/generators/word_lists.h"
#include "core/output/generation_run.h"
#include "core/output/output_file.h"
#include "core/platform/errors.h"
#include "core/platform/text_utils.h"
#include "core/output/output_fixture.h"
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

}  // namespace
}  // namespace kelvast::test
