#pragma once
// The direct insert. While records are generated, each one's INSERT statement (the SQL script's
// record line) goes to a temporary file; after the last record the file is read back and every
// statement executed on the connection, inside one transaction, under savepoints, so that a failed
// statement leaves the others in place on every database (PostgreSQL would otherwise abort the
// whole transaction). The caller then decides whether a transaction with failures is committed
// or rolled back.
//
// The temporary file holds one record per statement, "<byte count> <statement>" CR LF, so a
// value holding a line break stays inside its statement and the statement runs whole.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/database/data_access.h"
#include "core/output/generation_run.h"
#include "core/output/record_writer.h"
#include "core/output/sql_writer.h"

namespace kelvast {

inline constexpr std::string_view kNoConnectionMessage = "There's no active connection...";
// What the progress label reads while the statements run.
inline constexpr std::string_view kWritingToTableMessage = "Writing to table...";

// "%d errors has been detected. Cancel data insert (rollback transaction) ?" with the count.
std::string RollbackQuestion(int errors);

// Creates a new, empty temporary file for one run's statements and returns its path: the
// executable's name, six random characters and ".TEMP", beside the executable when its folder is
// writable, else in the system temporary folder. EFileError when it cannot.
std::filesystem::path NewDatabaseTempFile();

// Appends one statement record to the temporary file.
void WriteStatementRecord(TRowSink& file, std::string_view statement);

// Reads the statement records of a temporary file back, in order.
class TStatementReader {
 public:
  // Raises EFileError when the file cannot be opened.
  explicit TStatementReader(const std::filesystem::path& path);
  ~TStatementReader();
  TStatementReader(const TStatementReader&) = delete;
  TStatementReader& operator=(const TStatementReader&) = delete;

  // The next statement; false at the end of the file. Raises EFormatError on a damaged record.
  bool Next(std::string& statement);

 private:
  [[noreturn]] void Damaged() const;

  std::filesystem::path FPath;
  std::FILE* FFile = nullptr;
};

// The writer of the direct insert. Header checks the connection and begins a transaction, Row
// appends a statement record, Footer runs the statements and commits or rolls back.
class TDatabaseWriter : public TRecordWriter {
 public:
  // `connection` may be null or closed: Header then shows kNoConnectionMessage and stops.
  TDatabaseWriter(TGenModel& model, TDataAccess* connection, TRunObserver& observer);
  // Removes the temporary file if a run ended before the footer did.
  ~TDatabaseWriter() override;

  void Header(TOutputFile& file, TDateTime start) override;
  void Row(TRowSink& file) override;
  // Closes the file, runs its statements, removes it, then commits, or asks the observer when
  // statements failed. Raises the error of a commit or rollback that fails, of a lost
  // connection, or of anything else outside a statement's own failure (after a rollback).
  void Footer(TOutputFile& file, TDateTime start) override;
  // Rows only: the statement records of another copy of the model.
  std::unique_ptr<TRecordWriter> RowWriter(TGenModel& copy) const override {
    return std::make_unique<TDatabaseWriter>(copy, nullptr, FObserver);
  }
  void AddRows(int64_t rows, int64_t dataSize) override;

  // Header found no open connection; the run stops.
  bool Stopped() const { return FStopped; }
  int FailedStatements() const { return FFailed; }
  bool RolledBack() const { return FRolledBack; }
  // The error memo: per failed statement the message, CR LF, the statement, CR LF, 56 hyphens,
  // CR LF; a failed commit or rollback adds its message and CR LF.
  const std::string& Errors() const { return FErrors; }

 private:
  void ExecuteStatements();
  void OpenSavepoint();
  void RunStatement(const std::string& statement);
  void RunGuarded(const std::string& statement);
  void NextBatch();
  void RecordFailure(const EDatabaseError& e, const std::string& statement);
  void Finish(bool commit);
  void RemoveTempFile() noexcept;

  TSqlWriter FSql;
  TDataAccess* FConnection;
  TRunObserver& FObserver;
  std::filesystem::path FTempPath;
  bool FStopped = false;
  bool FTransaction = false;  // the run works inside a transaction
  bool FSavepoints = false;   // statements run under savepoints (dropped if the engine has none)
  std::vector<std::string> FBatch;  // the statements since the last savepoint, all successful
  size_t FBatchBytes = 0;
  int64_t FStatements = 0;
  int FFailed = 0;
  bool FRolledBack = false;
  std::string FErrors;
};

}  // namespace kelvast
