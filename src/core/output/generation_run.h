// SPDX-License-Identifier: MIT
#pragma once
// The generation run: a model's RecNumber records through the writer of the chosen output
// format, with the reference lists loaded around it; and the ten-record sample preview.
//
//   TRunObserver quiet;
//   TRunResult r = RunGeneration(model, {.Mode = omCsv}, quiet);

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/database/data_access.h"
#include "core/generators/word_lists.h"
#include "core/model/gen_model.h"
#include "core/output/output_file.h"
#include "core/output/output_formats.h"
#include "core/platform/date_time.h"

namespace kelvast {


// SQLFile, trimmed, with its extension replaced by the format's (added when it has none); "-"
// (standard output) stays as it is.
std::string OutputPathFor(const std::string& sqlFile, TOutputMode mode);

// What the caller decides and sees during a run. The core never asks the user itself.
class TRunObserver {
 public:
  virtual ~TRunObserver() = default;
  // A Yes/No question before an existing output file is replaced; false stops the run.
  virtual bool ConfirmReplace(const std::string& caption, const std::string& text);
  // A validation message (only for runs the user started).
  virtual void ShowMessage(const std::string& text);
  // Record r of total has been written; called at the end of every block of records (1024) that
  // passes a multiple of ProgressStep, and at the last one.
  virtual void Progress(int64_t record, int64_t total);
  virtual int64_t ProgressStep() const { return 1024; }
  // Asked every kStopCheckRecords records: true ends the run after the record just written, with
  // the file's closing lines written (a direct insert is rolled back instead).
  virtual bool StopRequested() { return false; }

  // Direct insert. Statements failed: true rolls the transaction back, false commits what
  // succeeded. The default rolls back.
  virtual bool ConfirmRollback(const std::string& question, int errors);
  // Direct insert: the number of failed statements after which the insert stops (and the
  // rollback question is asked); 0 for no limit.
  virtual int MaxFailures() const { return 0; }
  // Direct insert: the error memo when the execution phase ends, also when it ends by an error;
  // empty when nothing failed. It holds the first ten failures and counts the others (see
  // TDatabaseWriter::Errors).
  virtual void DatabaseErrors(const std::string& memo);
  // Direct insert: each entry of the error memo as it is made (a failed row's message,
  // statement and rule, or a closing line), all of them however many fail. Called on the thread
  // that loads the rows, one call at a time, before DatabaseErrors.
  virtual void DatabaseFailure(const std::string& entry);
  // Direct insert: statement s of total has run; 0 before the first ("Writing to table..."),
  // then every ProgressStep statements and at the last one.
  virtual void InsertProgress(int64_t statement, int64_t total);
};

struct TRunOptions {
  TOutputMode Mode = omSqlScript;
  // A run the user started shows the validation messages; a plan step ends silently.
  bool UserStarted = true;
  std::filesystem::path DictFolder = DefaultDictFolder();
  // The database: the direct insert goes through it and column references read it; null for
  // none.
  TDataAccess* Connection = nullptr;
  // The encoding of SQL, CSV and XML files (a direct insert's statements stay in memory's).
  TTextEncoding Encoding = teWindows1252;
  // The moment the run's times are taken from (start and end alike) instead of the clock, so
  // that two runs with the same seed give the same bytes.
  std::optional<TDateTime> FixedTime;
  // The threads that make the records; 0 for every core. The records are the same bytes
  // whatever the number.
  int Threads = 0;
  // Part K of N (1 <= K <= N): only the K-th of N contiguous ranges of the records, written as a
  // complete file of its own. Taken in order, the parts' records are those of the whole run.
  int Part = 1;
  int Parts = 1;
  // An SQL script's statements between BEGIN; and COMMIT;, so that it loads as one transaction.
  bool Transaction = true;
};

enum TRunOutcome { roDone, roNoColumns, roNoFileName, roNotReplaced, roNoConnection,
                   roInterrupted };

// How often a run asks its observer whether to stop.
inline constexpr int64_t kStopCheckRecords = 1024;

// The output path that stands for standard output.
inline constexpr std::string_view kStandardOutput = "-";

struct TRunResult {
  TRunOutcome Outcome = roDone;
  std::string OutputPath;
  int64_t Records = 0;
  int64_t DataSize = 0;  // characters of generated values (SQL); 64-bit, so huge runs are exact
  int FailedStatements = 0;  // direct insert: statements that failed
  bool RolledBack = false;   // direct insert: the transaction was rolled back
  // Direct insert: the failure limit (MaxFailures) ended it early; Records then counts the
  // records run up to the failure that reached it, not the records asked for.
  bool LimitReached = false;
  int64_t Inserted = 0;  // direct insert: rows the table keeps (none when rolled back)
};

// The messages and question of a run.
inline constexpr std::string_view kNoColumnMessage = "There's no column to export...";
inline constexpr std::string_view kNoFileNameMessage = "Please specify an output file name!";
inline constexpr std::string_view kReplaceCaption = "Replace existing file ?";
std::string ReplaceQuestion(const std::string& path);

// Runs the model once. Errors (a missing reference file, an output file that cannot be created or
// written, a generator error) propagate as exceptions after the clean-up: the file is closed with
// what was written so far, and the word lists are emptied.
TRunResult RunGeneration(TGenModel& model, const TRunOptions& options, TRunObserver& observer);

// The sample grid: a title row (column 0 empty; "(ColName)" for a stealth generator, else its
// DBColName, or "<Missing!>" when that is blank) and ten rows numbered 1 to 10 holding every
// generator's value, stealth ones included. The rows are the first ten records that a run
// started now would write: the same seed, drawn from the calling thread's source without using
// it up, and the same formatting of values. Stealth values a run does not write are drawn for
// display only, leaving the written ones as the run draws them.
// Column references read `connection` (null: none).
std::vector<std::vector<std::string>> SampleModel(TGenModel& model,
                                                  const std::filesystem::path& dictFolder =
                                                      DefaultDictFolder(),
                                                  TDataAccess* connection = nullptr);

}  // namespace kelvast
