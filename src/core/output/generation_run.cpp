#include "core/output/generation_run.h"

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
  if (options.Mode != omDatabase && result.OutputPath != kStandardOutput &&
      std::filesystem::exists(result.OutputPath, ec) &&
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
  std::optional<TInsertLimitObserver> limit;
  if (insert) limit.emplace(observer, *insert);
  try {
    made = WriteRecordBlocks(model, *writer, out, limit ? *limit : observer, range, seed,
                             options.Threads, options.Connection);
  } catch (const EDatabaseError& e) {
    if (insert) insert->LoadFailed(e);
    throw;
  }
  if (made.Interrupted && !(limit && limit->LimitReached())) result.Outcome = roInterrupted;
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
    result.Inserted = insert->RowsKept();
    result.LimitReached = insert->LimitReached();
    if (result.LimitReached) result.Records = insert->RowsRun();
  }
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
