#include "core/output/database_writer.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <unistd.h>

#include "core/platform/errors.h"

namespace kelvast {

namespace {

const std::string kErrorRule(56, '-');
const std::string kSavepoint = "SAVEPOINT kelvast_batch";
const std::string kReleaseSavepoint = "RELEASE SAVEPOINT kelvast_batch";
const std::string kRollbackToSavepoint = "ROLLBACK TO SAVEPOINT kelvast_batch";
const std::string kReplaySavepoint = "SAVEPOINT kelvast_replay";
const std::string kReleaseReplay = "RELEASE SAVEPOINT kelvast_replay";
const std::string kRollbackToReplay = "ROLLBACK TO SAVEPOINT kelvast_replay";
// A batch under one savepoint: kept small enough that a replay stays cheap and its statements
// fit in memory whatever their size.
constexpr size_t kBatchStatements = 256;
constexpr size_t kBatchBytes = 1 << 20;

}  // namespace

std::string RollbackQuestion(int errors) {
  return std::to_string(errors) +
         " errors has been detected. Cancel data insert (rollback transaction) ?";
}

std::filesystem::path NewDatabaseTempFile() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) exe = "kelvast";
  std::filesystem::path folder = exe.parent_path();
  if (folder.empty() || ::access(folder.c_str(), W_OK) != 0) {
    folder = std::filesystem::temp_directory_path(ec);
    if (ec) folder = "/tmp";
  }
  // A name of its own for every run, so runs at the same time never share their statements.
  std::string path = (folder / exe.filename()).string() + ".XXXXXX.TEMP";
  const int fd = ::mkstemps(path.data(), 5);
  if (fd < 0)
    throw EFileError("Cannot create a temporary file in \"" + folder.string() + "\": " +
                     std::strerror(errno));
  ::close(fd);
  return path;
}

// ---- the statement records ----

void WriteStatementRecord(TRowSink& file, std::string_view statement) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, statement.size()).ptr;
  file.Write(std::string_view(digits, static_cast<size_t>(end - digits)));
  file.Write(" ");
  file.WriteLine(statement);
}

TStatementReader::TStatementReader(const std::filesystem::path& path) : FPath(path) {
  FFile = std::fopen(path.c_str(), "rb");
  if (!FFile)
    throw EFileError("Cannot open the file " + path.string() + ": " + std::strerror(errno));
  std::setvbuf(FFile, nullptr, _IOFBF, 1 << 20);
}

TStatementReader::~TStatementReader() {
  if (FFile) std::fclose(FFile);
}

void TStatementReader::Damaged() const {
  throw EFormatError("The temporary file " + FPath.string() + " is damaged.");
}

bool TStatementReader::Next(std::string& statement) {
  int c = getc_unlocked(FFile);
  if (c == EOF) {
    if (std::ferror(FFile)) Damaged();
    return false;
  }
  size_t length = 0;
  int digits = 0;
  for (; c >= '0' && c <= '9'; c = getc_unlocked(FFile)) {
    if (++digits > 18) Damaged();
    length = length * 10 + static_cast<size_t>(c - '0');
  }
  if (digits == 0 || c != ' ') Damaged();
  statement.resize(length);
  if (std::fread(statement.data(), 1, length, FFile) != length) Damaged();
  if (getc_unlocked(FFile) != '\r' || getc_unlocked(FFile) != '\n') Damaged();
  return true;
}

// ---- the writer ----

TDatabaseWriter::TDatabaseWriter(TGenModel& model, TDataAccess* connection, TRunObserver& observer)
    : FSql(model, /*comments=*/false), FConnection(connection), FObserver(observer) {}

TDatabaseWriter::~TDatabaseWriter() { RemoveTempFile(); }

void TDatabaseWriter::RemoveTempFile() noexcept {
  if (FTempPath.empty()) return;
  std::error_code ec;
  std::filesystem::remove(FTempPath, ec);  // a file that cannot go simply stays
  FTempPath.clear();
}

void TDatabaseWriter::Header(TOutputFile& file, TDateTime) {
  FTempPath = file.Path();
  if (!FConnection || !FConnection->Connected()) {
    FStopped = true;
    FObserver.ShowMessage(std::string(kNoConnectionMessage));
    return;
  }
  // A connection that cannot start a transaction gets its statements committed one by one.
  FTransaction = true;
  try {
    FConnection->BeginTrans();
  } catch (const EKelvastError&) {
    FTransaction = false;
  }
}

void TDatabaseWriter::Row(TRowSink& file) {
  WriteStatementRecord(file, FSql.BuildStatement());
  FDataSize = FSql.DataSize();
  ++FStatements;
}

void TDatabaseWriter::AddRows(int64_t rows, int64_t dataSize) {
  FDataSize += dataSize;
  FStatements += rows;
}

void TDatabaseWriter::Footer(TOutputFile& file, TDateTime) {
  file.Close();
  FErrors.clear();
  FFailed = 0;
  FObserver.InsertProgress(0, FStatements);
  TDataAccess& db = *FConnection;
  try {
    if (FTransaction) {
      // The transaction begun at the header holds nothing; start afresh.
      if (db.InTransaction()) db.RollbackTrans();
      db.BeginTrans();
    }
    FSavepoints = FTransaction;
    ExecuteStatements();
    RemoveTempFile();
    if (FFailed > 0) {
      const bool rollback = FObserver.ConfirmRollback(RollbackQuestion(FFailed), FFailed);
      if (FTransaction) Finish(!rollback);
    } else if (FTransaction) {
      Finish(true);
    }
  } catch (...) {
    RemoveTempFile();
    if (FTransaction && db.InTransaction()) {
      try {
        db.RollbackTrans();
      } catch (const EKelvastError&) {
        // The error that brought us here is the one to report.
      }
    }
    FObserver.DatabaseErrors(FErrors);
    throw;
  }
  FObserver.DatabaseErrors(FErrors);
}

void TDatabaseWriter::ExecuteStatements() {
  TStatementReader reader(FTempPath);
  const int64_t step = std::max<int64_t>(1, FObserver.ProgressStep());
  FBatch.clear();
  FBatchBytes = 0;
  if (FSavepoints) OpenSavepoint();
  std::string statement;
  int64_t done = 0;
  while (reader.Next(statement)) {
    if (!statement.empty() && statement.back() == ';') statement.pop_back();
    try {
      RunStatement(statement);
    } catch (const EDatabaseError& e) {
      if (e.DatabaseLocked())
        throw EDatabaseError("The database is locked by another connection; the insert stopped at "
                             "statement " + std::to_string(done + 1) + " of " +
                                 std::to_string(FStatements) + " and was rolled back: " + e.what(),
                             e.SqlState(), e.NativeError());
      if (!e.ConnectionLost()) throw;
      throw EDatabaseError("The connection to the database was lost at statement " +
                               std::to_string(done + 1) + " of " + std::to_string(FStatements) +
                               ": " + e.what(),
                           e.SqlState(), e.NativeError());
    }
    ++done;
    if (done % step == 0 || done == FStatements) FObserver.InsertProgress(done, FStatements);
    const int limit = FObserver.MaxFailures();
    if (limit > 0 && FFailed >= limit) {
      // The statements not run are left out, whatever the answer to the rollback question.
      FErrors += "The insert stopped after " + std::to_string(FFailed) + " failed statements (" +
                 std::to_string(done) + " of " + std::to_string(FStatements) + " run).\r\n";
      break;
    }
  }
  if (FSavepoints) FConnection->Execute(kReleaseSavepoint);
}

void TDatabaseWriter::OpenSavepoint() {
  try {
    FConnection->Execute(kSavepoint);
  } catch (const EDatabaseError& e) {
    // An engine without savepoints runs the statements bare.
    if (e.ConnectionLost()) throw;
    FSavepoints = false;
  }
}

void TDatabaseWriter::RecordFailure(const EDatabaseError& e, const std::string& statement) {
  ++FFailed;
  FErrors += e.what();
  FErrors += "\r\n";
  FErrors += statement;
  FErrors += "\r\n";
  FErrors += kErrorRule;
  FErrors += "\r\n";
}

// One savepoint covers a batch of statements, so that the common case costs one round trip per
// statement. When a statement fails, the batch is rolled back with it and its good statements run
// again, each under a savepoint of its own: the transaction ends up holding exactly the
// statements that succeed, as if each had had its own savepoint from the start.
void TDatabaseWriter::RunStatement(const std::string& statement) {
  TDataAccess& db = *FConnection;
  try {
    db.Execute(statement);
  } catch (const EDatabaseError& e) {
    if (e.ConnectionLost() || e.DatabaseLocked()) throw;
    RecordFailure(e, statement);
    if (FSavepoints) {
      db.Execute(kRollbackToSavepoint);
      for (const std::string& good : FBatch)
        RunGuarded(good);
      NextBatch();
    }
    return;
  }
  if (!FSavepoints) return;
  FBatch.push_back(statement);
  FBatchBytes += statement.size();
  if (FBatch.size() >= kBatchStatements || FBatchBytes >= kBatchBytes) NextBatch();
}

void TDatabaseWriter::RunGuarded(const std::string& statement) {
  TDataAccess& db = *FConnection;
  db.Execute(kReplaySavepoint);
  try {
    db.Execute(statement);
  } catch (const EDatabaseError& e) {
    if (e.ConnectionLost() || e.DatabaseLocked()) throw;
    RecordFailure(e, statement);
    db.Execute(kRollbackToReplay);
  }
  db.Execute(kReleaseReplay);
}

void TDatabaseWriter::NextBatch() {
  FConnection->Execute(kReleaseSavepoint);
  FConnection->Execute(kSavepoint);
  FBatch.clear();
  FBatchBytes = 0;
}

void TDatabaseWriter::Finish(bool commit) {
  TDataAccess& db = *FConnection;
  try {
    if (commit)
      db.CommitTrans();
    else
      db.RollbackTrans();
    FRolledBack = !commit;
  } catch (const EKelvastError& e) {
    FErrors += e.what();
    FErrors += "\r\n";
    throw;  // the caller's handler attempts the rollback
  }
}

}  // namespace kelvast
