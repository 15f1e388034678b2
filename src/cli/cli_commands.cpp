// SPDX-License-Identifier: MIT
#include "cli/cli_commands.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "core/generators/registry.h"
#include "cli/interrupt.h"
#include "cli/progress_reporter.h"
#include "core/database/connection_secrets.h"
#include "core/database/odbc_connection.h"
#include "core/platform/file_io.h"
#include "core/files/model_file.h"
#include "core/files/model_json.h"
#include "core/files/plan_file.h"
#include "core/output/generation_run.h"
#include "core/output/plan_run.h"
#include "core/platform/code_page.h"
#include "core/platform/errors.h"
#include "core/platform/random.h"
#include "core/platform/text_utils.h"
#include "core/scaffold/scaffold.h"

namespace kelvast::cli {

namespace {

bool EndsWith(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() &&
         SameTextAscii(std::string_view(s).substr(s.size() - suffix.size()), suffix);
}

// A model file, or its JSON form when the name ends in .json.
std::unique_ptr<TGenModel> ReadModel(const std::string& path) {
  if (EndsWith(path, ".json")) return ModelFromJson(ReadWholeFile(path));
  return LoadModelFile(path);
}

// The format --format names; the option's values are checked by the parser.
TOutputMode ModeFromName(const std::string& name) {
  const TOutputFormat* format = OutputFormatNamed(name);
  return format ? format->Mode : omSqlScript;
}

// Without --format, the output file's extension decides, as in the desktop program.
TOutputMode DefaultMode(const TGenModel& model) { return FormatForFile(model.SQLFile()); }

bool UsesColumnReference(const TGenModel& model) {
  for (const auto& item : model.Cols())
    if (item->ColType() == ctColRef) return true;
  return false;
}

// Opens the model's connection (or --connection) when the run needs a database: a direct insert,
// or column references to read. Null when no database is needed or no string is given. The
// model's own string came with its file and is held to the rules for strings read from files.
std::unique_ptr<TOdbcConnection> OpenConnectionFor(const TGenModel& model, TOutputMode mode,
                                                   bool fromFile) {
  const std::string text = Trim(model.ConnectionString());
  if (text.empty() || (mode != omDatabase && !UsesColumnReference(model))) return nullptr;
  auto connection = std::make_unique<TOdbcConnection>(text);
  connection->SetFromFile(fromFile);
  connection->Open();
  return connection;
}

// SOURCE_DATE_EPOCH, the reproducible-builds convention: seconds since 1970-01-01 UTC that
// stand for every time a run writes. Nothing when it is unset or not a number.
std::optional<TDateTime> SourceDateEpoch() {
  const char* text = std::getenv("SOURCE_DATE_EPOCH");
  if (!text || !*text) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long seconds = std::strtoll(text, &end, 10);
  if (*end != '\0' || errno != 0) return std::nullopt;
  constexpr double kUnixEpochDay = 25569.0;  // 1970-01-01 counted from 1899-12-30
  return kUnixEpochDay + static_cast<double>(seconds) / 86400.0;
}

TRunOptions RunOptionsFrom(const TCliOptions& o, TOutputMode mode) {
  TRunOptions options;
  options.Mode = mode;
  options.UserStarted = true;
  options.FixedTime = SourceDateEpoch();
  options.Encoding = o.Encoding == "utf-8" ? teUtf8 : teWindows1252;
  options.Transaction = o.Transaction;
  options.Threads = o.Threads;
  options.Part = o.Part;
  options.Parts = o.Parts;
  if (o.Dict) options.DictFolder = *o.Dict;
  return options;
}

// --connection as the terminal gave it (UTF-8) in the in-memory form of connection strings
// (Windows-1252), which the connection turns back into the same UTF-8 bytes for the driver and
// the file system.
std::string ConnectionArgument(const std::string& utf8) {
  std::string ansi;
  if (!Utf8ToAnsi(utf8, ansi))
    throw EKelvastError("The connection string \"" + utf8 +
                        "\" holds characters that Windows-1252 cannot hold; connection strings "
                        "are kept in Windows-1252.");
  return ansi;
}

// How messages name an output path: "-" is standard output.
std::string OutputName(const std::string& path) {
  return path == kStandardOutput ? "standard output" : path;
}

// What a direct insert does with failed statements (--on-errors, --errors-file, --max-errors),
// the same for a run and for each model of a plan.
void ApplyFailureOptions(TProgressReporter& reporter, const TCliOptions& o) {
  reporter.SetRollbackAnswer(o.OnErrors == "rollback");
  if (o.ErrorsFile) reporter.SetErrorsFile(*o.ErrorsFile);
  reporter.SetMaxFailures(o.MaxErrors);
}

// The line that ends a direct insert. After the failure limit stopped it, the records counted
// are those run up to that failure, and the rows the table keeps are told apart.
std::string InsertSummary(const TRunResult& result) {
  const std::string end = result.RolledBack ? "rolled back" : "committed";
  const std::string failed = std::to_string(result.FailedStatements) + " failed statements, ";
  if (!result.LimitReached)
    return std::to_string(result.Records) + " records, " + failed + end;
  return "stopped at the --max-errors limit: " + std::to_string(result.Records) +
         " records made, " + std::to_string(result.Inserted) + " inserted, " + failed + end;
}

// The line of a run stopped by a signal.
std::string InterruptedSummary(const TRunResult& result) {
  const std::string made = "interrupted after " + std::to_string(result.Records) + " records; ";
  if (result.OutputPath.empty()) return made + "the insert was rolled back";
  return made + OutputName(result.OutputPath) + " holds them";
}

// Text in memory is Windows-1252; the terminal speaks UTF-8.
void PrintLine(const std::string& ansi) { std::cout << AnsiToUtf8(ansi) << '\n'; }

int Run(const TCliOptions& o) {
  std::unique_ptr<TGenModel> model = ReadModel(o.Operand);
  // The model's own output file chooses the format; --output only names the file, whose
  // extension the format then sets.
  const TOutputMode mode = o.Format ? ModeFromName(*o.Format) : DefaultMode(*model);
  if (o.Records) model->SetRecNumber(*o.Records);
  if (o.Output) model->SetSQLFile(*o.Output);
  if (o.Connection) model->SetConnectionString(ConnectionArgument(*o.Connection));
  if (o.Seed) RandSeed(*o.Seed);
  const std::unique_ptr<TOdbcConnection> connection = OpenConnectionFor(*model, mode, !o.Connection);
  TProgressReporter reporter(o.Yes, o.Quiet);
  ApplyFailureOptions(reporter, o);
  TRunOptions options = RunOptionsFrom(o, mode);
  options.Connection = connection.get();
  const TRunResult result = RunGeneration(*model, options, reporter);
  reporter.Finish();
  switch (result.Outcome) {
    case roDone:
      if (mode == omDatabase) {
        if (!o.Quiet || result.FailedStatements > 0)
          std::fprintf(stderr, "kelvast-cli: %s\n", InsertSummary(result).c_str());
        return result.FailedStatements > 0 ? 1 : 0;
      }
      if (!o.Quiet)
        std::fprintf(stderr, "kelvast-cli: %lld records written to %s\n",
                     static_cast<long long>(result.Records), OutputName(result.OutputPath).c_str());
      return 0;
    case roInterrupted:
      std::fprintf(stderr, "kelvast-cli: %s\n", InterruptedSummary(result).c_str());
      return 128 + InterruptSignal();
    case roNoConnection:
      return 1;  // the reporter has printed the message
    case roNotReplaced:
      std::fprintf(stderr, "kelvast-cli: \"%s\" already exists; add --yes to replace it\n",
                   result.OutputPath.c_str());
      return 1;
    case roNoColumns:
    case roNoFileName:
      return 1;  // the reporter has printed the message
  }
  return 1;
}

int Sample(const TCliOptions& o) {
  std::unique_ptr<TGenModel> model = ReadModel(o.Operand);
  if (model->Cols().Count() == 0) {
    std::fprintf(stderr, "kelvast-cli: %s\n", std::string(kNoColumnMessage).c_str());
    return 1;
  }
  if (o.Connection) model->SetConnectionString(ConnectionArgument(*o.Connection));
  if (o.Seed) RandSeed(*o.Seed);
  // Column references preview what they will draw: the model's own connection, or --connection.
  const std::unique_ptr<TOdbcConnection> connection =
      OpenConnectionFor(*model, omSqlScript, !o.Connection);
  const std::vector<std::vector<std::string>> grid =
      SampleModel(*model, o.Dict ? std::filesystem::path(*o.Dict) : DefaultDictFolder(),
                  connection.get());
  for (const auto& row : grid) {
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) {
      if (i > 0) line += '\t';
      line += row[i];
    }
    PrintLine(line);
  }
  return 0;
}

int Show(const TCliOptions& o) {
  std::unique_ptr<TGenModel> model = ReadModel(o.Operand);
  PrintLine("Description: " + model->Description());
  PrintLine("Database: " + model->Database());
  PrintLine("Table: " + model->TableName());
  PrintLine("Output: " + model->SQLFile());
  PrintLine("Records: " + std::to_string(model->RecNumber()));
  PrintLine("Delimiters: " + model->Delimiter() + " " + model->StringDelimiter());
  PrintLine("Connection: " + MaskPassword(model->ConnectionString()));
  PrintLine("Generators: " + std::to_string(model->Cols().Count()));
  for (const auto& item : model->Cols()) {
    const TColParams& p = item->Param();
    std::string line = "  " + item->ColName() + "\t" + item->DBColName() + "\t" +
                       std::string(GeneratorTypeOf(item->ColType()).DisplayName);
    if (p.Stealth()) line += "\tstealth";
    if (p.AllowNull()) line += "\tnulls " + std::to_string(p.NullPercent()) + "%";
    if (p.UseExternalFile()) line += "\tfrom " + p.ExternalFile();
    PrintLine(line);
  }
  return 0;
}

// An existing file is replaced only with --yes.
void RefuseToReplace(const std::string& path, bool yes) {
  std::error_code ec;
  if (!yes && std::filesystem::exists(path, ec))
    throw EFileError("\"" + path + "\" already exists; add --yes to replace it");
}

int Export(const TCliOptions& o) {
  std::unique_ptr<TGenModel> model = ReadModel(o.Operand);
  const std::string json = ModelToJson(*model);
  if (!o.Output || *o.Output == kStandardOutput) {
    std::cout << json << '\n';
    return 0;
  }
  RefuseToReplace(*o.Output, o.Yes);
  SaveModelJsonFile(*o.Output, *model);
  return 0;
}

// Standard input's bytes to its end, at most as many as a file's.
std::string ReadStandardInput() {
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EFileError(std::string("Cannot read standard input: ") + std::strerror(errno));
    if (n == 0) return bytes;
    bytes.append(buffer, static_cast<size_t>(n));
    if (bytes.size() > kMaxReadBytes) throw EFileError("Standard input is too large.");
  }
}

int Import(const TCliOptions& o) {
  // "-" and /dev/stdin, which may be a pipe, read standard input.
  const bool standardInput = o.Operand == kStandardOutput || o.Operand == "/dev/stdin";
  std::unique_ptr<TGenModel> model =
      ModelFromJson(standardInput ? ReadStandardInput() : ReadWholeFile(o.Operand));
  RefuseToReplace(*o.Output, o.Yes);
  SaveModelFile(*o.Output, *model);
  return 0;
}

// One line per model of the plan on standard error: the file it wrote, the outcome of its
// insert, or why it was skipped or failed. Each model's run reports as `run` does.
class TCliPlanObserver : public TProgressReporter {
 public:
  TCliPlanObserver(bool yes, bool quiet, TOutputMode mode, int count,
                   std::optional<std::filesystem::path> outputDir)
      : TProgressReporter(yes, quiet), FQuiet(quiet), FMode(mode), FCount(count),
        FOutputDir(std::move(outputDir)) {}
  // Each model runs on its own connection, opened when it inserts or reads column references;
  // one that cannot be opened leaves the model without, which its run reports. With
  // --output-dir the model's output file moves there under its own name first.
  TDataAccess* ApplyConnection(TGenModel& model) override {
    if (FOutputDir && !Trim(model.SQLFile()).empty()) {
      // The name after the last folder, of a Windows path too.
      const std::string file = Trim(model.SQLFile());
      const size_t slash = file.find_last_of("/\\");
      model.SetSQLFile((*FOutputDir / file.substr(slash == std::string::npos ? 0 : slash + 1))
                           .string());
    }
    FConnection.reset();
    try {
      FConnection = OpenConnectionFor(model, FMode, /*fromFile=*/true);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kelvast-cli: %s\n", AnsiToUtf8(e.what()).c_str());
    }
    return FConnection.get();
  }
  void ModelStarting(int index, int, const std::string& entry) override {
    Finish();
    Start(Label(index, entry));
  }
  void ModelSkipped(int index, const std::string& entry, const std::string& reason) override {
    std::fprintf(stderr, "kelvast-cli: %sskipped: %s\n", Label(index, entry).c_str(), reason.c_str());
  }
  void ModelFinished(int index, const std::string& entry, const TRunResult& result) override {
    Finish();
    const std::string label = Label(index, entry);
    switch (result.Outcome) {
      case roDone:
        // A direct insert has no file: its line says what happened to the transaction.
        if (result.OutputPath.empty()) {
          if (!FQuiet || result.FailedStatements > 0)
            std::fprintf(stderr, "kelvast-cli: %s%s\n", label.c_str(), InsertSummary(result).c_str());
        } else if (!FQuiet) {
          std::fprintf(stderr, "kelvast-cli: %s%lld records written to %s\n", label.c_str(),
                       static_cast<long long>(result.Records),
                       OutputName(result.OutputPath).c_str());
        }
        break;
      case roNotReplaced:
        ++FNotReplaced;
        std::fprintf(stderr, "kelvast-cli: %sskipped: %s exists (add --yes to replace it)\n",
                     label.c_str(), result.OutputPath.c_str());
        break;
      case roInterrupted:
        std::fprintf(stderr, "kelvast-cli: %s%s\n", label.c_str(),
                     InterruptedSummary(result).c_str());
        break;
      default:
        ++FNotReplaced;  // no columns, no file name, no connection: the reporter said why
        std::fprintf(stderr, "kelvast-cli: %sskipped\n", label.c_str());
        break;
    }
    Start("");
  }
  bool ModelFailed(int index, const std::string& entry, const std::exception& error) override {
    Finish();
    std::fprintf(stderr, "kelvast-cli: %sfailed: %s\n", Label(index, entry).c_str(), error.what());
    Start("");
    return true;
  }
  // Runs that ended without writing: their model was run but its output kept or not possible.
  int NotWritten() const { return FNotReplaced; }

 private:
  std::string Label(int index, const std::string& entry) const {
    return "[" + std::to_string(index + 1) + "/" + std::to_string(FCount) + "] " +
           AnsiToUtf8(entry) + ": ";
  }
  bool FQuiet;
  TOutputMode FMode;
  std::unique_ptr<TOdbcConnection> FConnection;
  int FCount;
  std::optional<std::filesystem::path> FOutputDir;
  int FNotReplaced = 0;
};

int Plan(const TCliOptions& o) {
  const TPlanFileContent plan = ReadPlanFile(o.Operand);
  if (plan.Status == TPlanFileContent::psNotAPlan) {
    std::fprintf(stderr, "kelvast-cli: %s\n", std::string(kNotAPlanMessage).c_str());
    return 1;
  }
  const std::vector<std::string>& entries = plan.Entries;
  if (o.Seed) RandSeed(*o.Seed);
  const TOutputMode mode = o.Format ? ModeFromName(*o.Format) : omSqlScript;
  std::optional<std::filesystem::path> outputDir;
  if (o.OutputDir) outputDir = *o.OutputDir;
  TCliPlanObserver observer(o.Yes, o.Quiet, mode, static_cast<int>(entries.size()), outputDir);
  ApplyFailureOptions(observer, o);
  std::unique_ptr<TGenModel> current = std::make_unique<TGenModel>();
  const TPlanResult result = RunPlan(o.Operand, entries, RunOptionsFrom(o, mode), observer, current);
  observer.Finish();
  if (InterruptSignal() != 0) {
    std::fprintf(stderr, "kelvast-cli: plan interrupted\n");
    return 128 + InterruptSignal();
  }
  const int ran = result.Ran - result.Failed - observer.NotWritten();
  const int skipped = result.Skipped + observer.NotWritten();
  const bool failed = skipped + result.Failed + result.WithFailures > 0;
  if (!o.Quiet || failed) {
    std::string line = "plan done: " + std::to_string(ran) + " models run, " +
                       std::to_string(skipped) + " skipped, " + std::to_string(result.Failed) +
                       " failed";
    if (result.WithFailures > 0)
      line += ", " + std::to_string(result.WithFailures) + " with failed statements";
    std::fprintf(stderr, "kelvast-cli: %s\n", line.c_str());
  }
  return failed ? 1 : 0;
}

int ScaffoldCommand(const TCliOptions& o) {
  TScaffoldOptions options;
  for (const std::string& table : o.Tables) {
    std::string name;
    if (!Utf8ToAnsi(Trim(table), name))
      throw EKelvastError("The table name \"" + table +
                          "\" holds characters that Windows-1252 cannot hold; models store names "
                          "in Windows-1252.");
    if (!name.empty()) options.Tables.push_back(name);
  }
  options.Records = o.Records.value_or(1000);
  options.OutputDir = *o.Output;
  options.Json = o.Json;
  if (o.Dict) options.DictFolder = *o.Dict;
  // Files that exist already are replaced only with --yes.
  if (o.Yes) options.ConfirmReplace = [](const std::vector<std::string>&) { return true; };
  TOdbcConnection db(ConnectionArgument(*o.Connection));
  db.Open();
  const TScaffoldResult result = Scaffold(db, options);
  if (!result.NotReplaced.empty()) {
    std::fprintf(stderr, "kelvast-cli: nothing written; these files exist already (add --yes to "
                         "replace them):\n");
    for (const std::string& file : result.NotReplaced)
      std::fprintf(stderr, "  %s\n", file.c_str());
    return 1;
  }
  for (const std::string& note : result.Notes)
    std::fprintf(stderr, "kelvast-cli: note: %s\n", AnsiToUtf8(note).c_str());
  if (!o.Quiet)
    std::fprintf(stderr, "kelvast-cli: %zu models and the plan %s written\n", result.Models.size(),
                 result.PlanPath.c_str());
  return 0;
}

}  // namespace

int RunCommand(const TCliOptions& o) {
  if (o.Command == "run") return Run(o);
  if (o.Command == "sample") return Sample(o);
  if (o.Command == "plan") return Plan(o);
  if (o.Command == "show") return Show(o);
  if (o.Command == "export") return Export(o);
  if (o.Command == "scaffold") return ScaffoldCommand(o);
  return Import(o);
}

}  // namespace kelvast::cli
