#pragma once
// The generation run: a model's RecNumber records through the writer of the chosen output
// format, with the reference lists loaded around it; and the ten-record sample preview.
//
//   TRunObserver quiet;
//   TRunResult r = RunGeneration(model, {.Mode = omCsv}, quiet);

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/generators/word_lists.h"
#include "core/model/gen_model.h"

namespace kelvast {

// The output formats, in the order the program offers them.
enum TOutputMode : int { omSqlScript = 0, omCsv = 1, omXml = 2, omDatabase = 3 };

// The file extension of a file format (".sql", ".csv", ".xml").
std::string_view OutputExtension(TOutputMode mode);

// SQLFile, trimmed, with its extension replaced by the format's (added when it has none).
std::string OutputPathFor(const std::string& sqlFile, TOutputMode mode);

// What the caller decides and sees during a run. The core never asks the user itself.
class TRunObserver {
 public:
  virtual ~TRunObserver() = default;
  // A Yes/No question before an existing output file is replaced; false stops the run.
  virtual bool ConfirmReplace(const std::string& caption, const std::string& text);
  // A validation message (only for runs the user started).
  virtual void ShowMessage(const std::string& text);
  // Record r of total has been written; called every ProgressStep records and at the last one.
  virtual void Progress(int64_t record, int64_t total);
  virtual int64_t ProgressStep() const { return 1024; }
};

struct TRunOptions {
  TOutputMode Mode = omSqlScript;
  // A run the user started shows the validation messages; a plan step ends silently.
  bool UserStarted = true;
  std::filesystem::path DictFolder = DefaultDictFolder();
};

enum TRunOutcome { roDone, roNoColumns, roNoFileName, roNotReplaced };

struct TRunResult {
  TRunOutcome Outcome = roDone;
  std::string OutputPath;
  int64_t Records = 0;
  int64_t DataSize = 0;  // characters of generated values (SQL); 64-bit, so huge runs are exact
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
// generator's value, stealth ones included.
std::vector<std::vector<std::string>> SampleModel(TGenModel& model,
                                                  const std::filesystem::path& dictFolder =
                                                      DefaultDictFolder());

}  // namespace kelvast
