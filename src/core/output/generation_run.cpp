// SPDX-License-Identifier: MIT
#include "core/output/generation_run.h"

#include <sys/stat.h>

#include <exception>
#include <memory>
#include <optional>

#include "core/output/database_writer.h"
#include "core/output/output_file.h"
#include "core/output/record_blocks.h"
#include "core/output/table_check.h"
#include "core/output/unique_check.h"
#include "core/platform/date_time.h"
#include "core/platform/errors.h"
#include "core/platform/packed_texts.h"
#include "core/platform/format_settings.h"
#include "core/platform/random.h"
#include "core/platform/text_utils.h"

namespace kelvast {

bool TRunObserver::ConfirmReplace(const std::string&, const std::string&) { return false; }
void TRunObserver::ShowMessage(const std::string&) {}
void TRunObserver::Progress(int64_t, int64_t) {}
bool TRunObserver::ConfirmRollback(const std::string&, int) { return true; }
void TRunObserver::DatabaseErrors(const std::string&) {}
void TRunObserver::DatabaseFailure(const std::string&) {}
void TRunObserver::InsertProgress(int64_t, int64_t) {}

namespace {

// A device, a pipe or a socket that exists at path: written to as it is.
bool IsExistingSpecialFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

// A symbolic link whose target does not exist: writing would create a file elsewhere.
bool IsDanglingLink(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
         ::stat(path.c_str(), &info) != 0;
}

// The closing text of a file cut short holding `records` records, CR LF ended.
std::string ClosingText(TRecordWriter& writer, const TRunEnd& end) {
  std::string text;
  for (const std::string& line : writer.ClosingLines(end)) text += line + "\r\n";
  return text;
}

// The message of a file error; empty for any other error.
std::string FileErrorMessage(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const EFileError& e) {
    return e.what();
  } catch (...) {
    return {};
  }
}

// Writes the records of range into file after the writer's header and closes it with the
// writer's closing lines. A run that ends early, by a stop or an error, still ends the file on
// a whole record followed by the closing lines, cut back as far as they need on a full disk or
// at a size limit; a failed write is raised with what the file then holds.
TBlocksOutcome WriteFile(TGenModel& model, TRecordWriter& writer, TOutputFile& file,
                         TRunObserver& observer, TRecordRange range, uint64_t seed,
                         const TRunOptions& options, TDateTime start) {
  TRunEnd end{start, 0, range.Count, rkComplete};
  uint64_t first = 0;
  uint64_t last = UINT64_MAX;
  TBlocksOutcome made;
  try {
    writer.Header(file, start);
    first = file.Lines();
    made = WriteRecordBlocks(model, writer, file, observer, range, seed, options.Threads,
                             options.Connection);
    last = file.Lines();
    end.Records = made.Written;
    if (made.Interrupted) end.Kind = rkStopped;
    writer.Footer(file, end);
    file.Close();
    return made;
  } catch (...) {
    const std::exception_ptr error = std::current_exception();
    end.Kind = rkFailed;
    const TCutEnd cut = file.CloseCut(first, last, [&](uint64_t lines) {
      end.Records = static_cast<int64_t>(lines);
      return ClosingText(writer, end);
    });
    // A failed write is the run's error: its message says where the file was left. Any other
    // error (a generator's) is raised as it was.
    std::string message = FileErrorMessage(error);
    if (cut.WriteError == 0 || message.empty()) std::rethrow_exception(error);
    if (message.back() != '.') message += '.';
    const std::string holds = GroupedCount(static_cast<int64_t>(cut.Lines)) + " of " +
                              GroupedCount(range.Count) + " records";
    const bool hasClosing = !writer.ClosingLines(end).empty();
    if (cut.Closed)
      message += " The file was cut back to its last complete record: it holds " + holds +
                 (hasClosing ? ", followed by its closing lines." : ".");
    else if (cut.CutBack)
      message += " The file was cut back to its last complete record: it holds " + holds +
                 ", without its closing lines, for which there was no room.";
    throw EFileError(message);
  }
}

}  // namespace

std::string OutputPathFor(const std::string& sqlFile, TOutputMode mode) {
  std::string path = Trim(sqlFile);
  if (path == kStandardOutput || IsExistingSpecialFile(path)) return path;
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.resize(dot);
  path += OutputExtension(mode);
  return path;
}

namespace {

// The run's questions during the making of records, passed on to its observer, except that a
// direct insert whose failure limit was reached stops the run as well: the records after it
// would not be loaded.
class TInsertLimitObserver final : public TRunObserver {
 public:
  TInsertLimitObserver(TRunObserver& observer, const TDatabaseWriter& insert)
      : FObserver(observer), FInsert(insert) {}
  void Progress(int64_t record, int64_t total) override { FObserver.Progress(record, total); }
  int64_t ProgressStep() const override { return FObserver.ProgressStep(); }
  bool StopRequested() override {
    if (FObserver.StopRequested()) return true;
    FLimitReached = FInsert.LimitReached();
    return FLimitReached;
  }
  // The last stop asked for was the limit's, not the observer's.
  bool LimitReached() const { return FLimitReached; }

 private:
  TRunObserver& FObserver;
  const TDatabaseWriter& FInsert;
  bool FLimitReached = false;
};

}  // namespace

std::string ReplaceQuestion(const std::string& path) {
  return "\"" + path + "\" already exists.\nThe next operation will REPLACE data by the new " +
         "ones.\nDo you want to replace existing file ?";
}

TRunResult RunGeneration(TGenModel& model, const TRunOptions& options, TRunObserver& observer) {
  TRunResult result;
  if (model.Cols().Count() == 0) {
    if (options.UserStarted) observer.ShowMessage(std::string(kNoColumnMessage));
    result.Outcome = roNoColumns;
    return result;
  }
  if (options.Mode != omDatabase && IsBlank(model.SQLFile())) {
    if (options.UserStarted) observer.ShowMessage(std::string(kNoFileNameMessage));
    result.Outcome = roNoFileName;
    return result;
  }
  if (options.Mode != omDatabase) result.OutputPath = OutputPathFor(model.SQLFile(), options.Mode);
  std::error_code ec;
  // An existing file, or a link to none (writing would create its target), is replaced only
  // when the observer says so; devices and pipes are written as they are.
  if (options.Mode != omDatabase && result.OutputPath != kStandardOutput &&
      !IsExistingSpecialFile(result.OutputPath) &&
      (std::filesystem::exists(result.OutputPath, ec) || IsDanglingLink(result.OutputPath)) &&
      !observer.ConfirmReplace(std::string(kReplaceCaption), ReplaceQuestion(result.OutputPath))) {
    result.Outcome = roNotReplaced;
    return result;
  }

  // One draw of the calling thread's source seeds the whole run: every block's source comes
  // from it and the block's number.
  const uint64_t seed = GlobalRandom().Next();
  TFileFormatScope fileFormat;
  TWordListsLoaded lists(options.DictFolder);
  model.PrepareAll(options.Connection);
  // Before any file is made: a run that cannot keep its unique keys is refused.
  CheckUniqueKeys(model, model.RecNumber());
  // A direct insert starts only when the model fits its table: every problem is listed at once,
  // before the first row goes in.
  if (options.Mode == omDatabase && options.Connection && options.Connection->Connected())
    RequireTableFits(model, *options.Connection, model.RecNumber());
  std::unique_ptr<TRecordWriter> writer =
      OutputFormatOf(options.Mode).MakeWriter(model, options, observer);
  const TRecordRange range = PartRange(model.RecNumber(), options.Part, options.Parts);
  const TDateTime start = options.FixedTime.value_or(Now());
  // The direct insert streams into the table; every other format into its file.
  auto* insert = dynamic_cast<TDatabaseWriter*>(writer.get());
  if (!insert) {
    TOutputFile file(result.OutputPath, 1 << 20, options.Encoding);
    const TBlocksOutcome made =
        WriteFile(model, *writer, file, observer, range, seed, options, start);
    if (made.Interrupted) result.Outcome = roInterrupted;
    result.Records = made.Written;
    result.DataSize = writer->DataSize();
    return result;
  }
  if (!insert->Begin(range.Count)) {
    result.Outcome = roNoConnection;
    return result;
  }
  TRowStream& out = insert->Stream();
  writer->Header(out, start);

  TBlocksOutcome made;
  std::optional<TInsertLimitObserver> limit;
  limit.emplace(observer, *insert);
  try {
    made = WriteRecordBlocks(model, *writer, out, limit ? *limit : observer, range, seed,
                             options.Threads, options.Connection);
  } catch (const EDatabaseError& e) {
    insert->LoadFailed(e);
    throw;
  }
  if (made.Interrupted && !(limit && limit->LimitReached())) result.Outcome = roInterrupted;
  result.Records = made.Written;
  if (result.Outcome == roInterrupted) {
    // The rows loaded so far are given up with the transaction.
    insert->Abandon();
    result.RolledBack = true;
    return result;
  }
  writer->Footer(out, {start, made.Written, range.Count, rkComplete});
  out.Close();
  result.DataSize = writer->DataSize();
  result.FailedStatements = insert->FailedStatements();
  result.RolledBack = insert->RolledBack();
  result.Inserted = insert->RowsKept();
  result.LimitReached = insert->LimitReached();
  if (result.LimitReached) result.Records = insert->RowsRun();
  return result;
}

std::vector<std::vector<std::string>> SampleModel(TGenModel& model,
                                                  const std::filesystem::path& dictFolder,
                                                  TDataAccess* connection) {
  // The calling thread's source is left as it was: the next run draws the same seed.
  const TRandomSource saved = GlobalRandom();
  struct TRestore {
    const TRandomSource& Saved;
    ~TRestore() { GlobalRandom() = Saved; }
  } restore{saved};
  const uint64_t seed = GlobalRandom().Next();
  TFileFormatScope fileFormat;
  TWordListsLoaded lists(dictFolder);
  const int columns = model.Cols().Count();
  std::vector<std::vector<std::string>> grid(11, std::vector<std::string>(columns + 1));
  for (int i = 0; i < columns; ++i) {
    const TColToGenItem& item = model.Cols()[i];
    std::string& title = grid[0][static_cast<size_t>(i) + 1];
    if (item.Param().Stealth()) title = "(" + item.ColName() + ")";
    else if (!IsBlank(item.DBColName())) title = item.DBColName();
    else title = "<Missing!>";
  }
  for (int row = 1; row <= 10; ++row) grid[static_cast<size_t>(row)][0] = std::to_string(row);
  model.PrepareAll(connection);
  // Block 0 of the run, as the run's blocks start.
  GlobalRandom() = BlockRandom(seed, 0);
  NewDrawEpoch();
  model.SeedUniqueKeys(seed);
  for (int row = 1; row <= 10; ++row) {
    model.NewRecord(row);
    std::vector<std::string>& line = grid[static_cast<size_t>(row)];
    for (int i = 0; i < columns; ++i)
      if (!model.Cols()[i].Param().Stealth())
        line[static_cast<size_t>(i) + 1] = model.Cols()[i].Param().GetValue();
    const TRandomSource written = GlobalRandom();
    for (int i = 0; i < columns; ++i)
      if (model.Cols()[i].Param().Stealth())
        line[static_cast<size_t>(i) + 1] = model.Cols()[i].Param().GetValue();
    GlobalRandom() = written;
  }
  return grid;
}

}  // namespace kelvast
