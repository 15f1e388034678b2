#include "core/output/generation_run.h"

#include <memory>

#include "core/output/database_writer.h"
#include "core/output/output_file.h"
#include "core/output/record_blocks.h"
#include "core/output/table_check.h"
#include "core/output/unique_check.h"
#include "core/platform/date_time.h"
#include "core/platform/errors.h"
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

std::string OutputPathFor(const std::string& sqlFile, TOutputMode mode) {
  std::string path = Trim(sqlFile);
  if (path == kStandardOutput) return path;
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.resize(dot);
  path += OutputExtension(mode);
  return path;
}

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
  if (options.Mode != omDatabase && result.OutputPath != kStandardOutput &&
      std::filesystem::exists(result.OutputPath, ec) &&
      !observer.ConfirmReplace(std::string(kReplaceCaption), ReplaceQuestion(result.OutputPath))) {
    result.Outcome = roNotReplaced;
    return result;
  }

  // One draw of the calling thread's source seeds the whole run: every block's source comes
  // from it and the block's number.
  const uint64_t seed = GlobalRandom().Next();
  TPointDecimalScope point;
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
  // The direct insert streams into the table; every other format into its file.
  auto* insert = dynamic_cast<TDatabaseWriter*>(writer.get());
  std::unique_ptr<TOutputFile> file;
  if (insert) {
    if (!insert->Begin(range.Count)) {
      result.Outcome = roNoConnection;
      return result;
    }
  } else {
    file = std::make_unique<TOutputFile>(result.OutputPath, 1 << 20, options.Encoding);
  }
  TRowStream& out = insert ? insert->Stream() : *file;
  const TDateTime start = options.FixedTime.value_or(Now());
  writer->Header(out, start);

  TBlocksOutcome made;
  try {
    made = WriteRecordBlocks(model, *writer, out, observer, range, seed, options.Threads,
                             options.Connection);
  } catch (const EDatabaseError& e) {
    if (insert) insert->LoadFailed(e);
    throw;
  }
  if (made.Interrupted) result.Outcome = roInterrupted;
  result.Records = made.Written;
  if (result.Outcome == roInterrupted && insert) {
    // The rows loaded so far are given up with the transaction.
    insert->Abandon();
    result.RolledBack = true;
    return result;
  }
  writer->Footer(out, start);
  out.Close();
  result.DataSize = writer->DataSize();
  if (insert) {
    result.FailedStatements = insert->FailedStatements();
    result.RolledBack = insert->RolledBack();
  }
  return result;
}

std::vector<std::vector<std::string>> SampleModel(TGenModel& model,
                                                  const std::filesystem::path& dictFolder,
                                                  TDataAccess* connection) {
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
  for (int row = 1; row <= 10; ++row) {
    model.NewRecord();
    for (int i = 0; i < columns; ++i)
      grid[static_cast<size_t>(row)][static_cast<size_t>(i) + 1] = model.Cols()[i].Param().GetValue();
  }
  return grid;
}

}  // namespace kelvast
