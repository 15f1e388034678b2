// SPDX-License-Identifier: MIT
// Direct-insert throughput into SQLite and PostgreSQL, beside each engine's own command-line
// tool running the same INSERT statements from a script in one transaction (sqlite3 with BEGIN
// and COMMIT, psql -1 -f). The PostgreSQL server is a throwaway one on loopback
// (scripts/test-postgres), durable writes off, so the figures show client-side cost and round
// trips rather than the disk.
//
//   bench_insert [ROWS]      default 20000 rows per run; each figure is the median of five runs
//
// "direct insert" is the whole run: generation, temporary file, execution with a savepoint per
// statement. "no savepoints" is the same run with the savepoint statements skipped, to show
// what they cost. The tool figures count only the tool's execution of the finished script.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/database/odbc_connection.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/string_gens.h"
#include "core/output/generation_run.h"
#include "core/platform/code_page.h"
#include "core/platform/errors.h"
#include "core/platform/random.h"

namespace kelvast {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Passes everything through but the savepoint statements.
class TWithoutSavepoints : public TDataAccess {
 public:
  explicit TWithoutSavepoints(TDataAccess& inner) : FInner(inner) {}
  bool Connected() const override { return FInner.Connected(); }
  std::vector<std::string> Query(const std::string& sql) override { return FInner.Query(sql); }
  void Execute(const std::string& sql) override {
    if (sql.find("SAVEPOINT") == std::string::npos) FInner.Execute(sql);
  }
  std::vector<std::string> FieldNames(const std::string& table) override {
    return FInner.FieldNames(table);
  }
  char IdentifierQuote() override { return FInner.IdentifierQuote(); }
  void BeginTrans() override { FInner.BeginTrans(); }
  void CommitTrans() override { FInner.CommitTrans(); }
  void RollbackTrans() override { FInner.RollbackTrans(); }
  bool InTransaction() const override { return FInner.InTransaction(); }

 private:
  TDataAccess& FInner;
};

void BuildModel(TGenModel& model, int rows, const std::string& scriptPath) {
  model.SetTableName("people");
  model.SetDelimiter("\"\"");
  model.SetRecNumber(rows);
  model.SetSQLFile(scriptPath);
  auto add = [&](const char* name, TColType type) -> TColParams& {
    TColToGenItem& item = model.Cols().Add();
    item.SetColName(name);
    item.SetDBColName(name);
    item.SetColType(type);
    return item.Param();
  };
  add("id", ctIncremental);
  add("code", ctInteger);
  static_cast<TCPConst&>(add("name", ctConst)).SetConstValue("O'Brien Smith");
  static_cast<TCPConst&>(add("city", ctConst)).SetConstValue("Saint-\xC9tienne");
}

constexpr int kRuns = 5;

constexpr const char* kCreateTable =
    "CREATE TABLE people (id integer, code integer, name varchar(40), city varchar(40))";

double Seconds(const std::function<void()>& run) {
  const auto start = Clock::now();
  run();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Shell(const std::string& command) {
  if (std::system(command.c_str()) != 0) throw EKelvastError("failed: " + command);
}

struct TEngine {
  std::string Name;
  std::string Connection;
  std::function<void(const std::string& script)> RunTool;  // the tool on the finished script
  std::string ToolName;
};

void Measure(const TEngine& engine, int rows, const fs::path& folder) {
  TOdbcConnection db(engine.Connection);
  db.Open();
  auto freshTable = [&] {
    db.Execute("DROP TABLE IF EXISTS people");
    db.Execute(kCreateTable);
  };
  auto checkCount = [&] {
    const std::string count = db.Query("SELECT COUNT(*) FROM people").at(0);
    if (count != std::to_string(rows))
      throw EKelvastError(engine.Name + " holds " + count + " rows, not " + std::to_string(rows));
  };
  TRunObserver quiet;
  const std::string script = (folder / "people.sql").string();

  auto directInsert = [&](TDataAccess& through) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
      freshTable();
      TGenModel model;
      BuildModel(model, rows, script);
      RandSeed(1);
      TRunOptions options;
      options.DictFolder = KELVAST_DICT_DIR;
      options.Mode = omDatabase;
      options.Connection = &through;
      times.push_back(Seconds([&] { RunGeneration(model, options, quiet); }));
      checkCount();
    }
    return Median(times);
  };
  const double direct = directInsert(db);
  TWithoutSavepoints bare(db);
  const double noSavepoints = directInsert(bare);

  // The same statements as a script, then the tool on it. Both tools read UTF-8.
  {
    TGenModel model;
    BuildModel(model, rows, script);
    RandSeed(1);
    TRunOptions options;
    options.DictFolder = KELVAST_DICT_DIR;
    options.Mode = omSqlScript;
    RunGeneration(model, options, quiet);
    std::ifstream in(script, std::ios::binary);
    const std::string ansi((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::ofstream(script, std::ios::binary | std::ios::trunc) << AnsiToUtf8(ansi);
  }
  std::vector<double> times;
  for (int i = 0; i < kRuns; ++i) {
    freshTable();
    times.push_back(Seconds([&] { engine.RunTool(script); }));
    checkCount();
  }
  const double tool = Median(times);

  auto line = [&](const char* method, double seconds) {
    std::printf("%-11s %-22s %8d %9.3f %11.0f %9.2f\n", engine.Name.c_str(), method, rows, seconds,
                rows / seconds, seconds / tool);
  };
  line("direct insert", direct);
  line("no savepoints", noSavepoints);
  line(engine.ToolName.c_str(), tool);
}

// A throwaway PostgreSQL server for the duration of the benchmark.
class TPostgresServer {
 public:
  explicit TPostgresServer(const fs::path& state) : FState(state) {
    Shell(std::string(KELVAST_PG_SCRIPT) + " start " + state.string() + " >/dev/null 2>&1");
    std::ifstream in(state / "connection");
    std::getline(in, FConnection);
    std::ifstream st(state / "state");
    for (std::string l; std::getline(st, l);)
      if (l.rfind("PGPORT=", 0) == 0) FPort = l.substr(7);
  }
  ~TPostgresServer() {
    std::system((std::string(KELVAST_PG_SCRIPT) + " clean " + FState.string() + " >/dev/null 2>&1")
                    .c_str());
  }
  const std::string& Connection() const { return FConnection; }
  const std::string& Port() const { return FPort; }

 private:
  fs::path FState;
  std::string FConnection;
  std::string FPort;
};

// Removes the benchmark's folder however the benchmark ends.
struct TFolder {
  fs::path Path;
  ~TFolder() {
    std::error_code ec;
    fs::remove_all(Path, ec);
  }
};

int Main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 20000;
  const TFolder scratch{fs::temp_directory_path() / ("kelvast-bench-" + std::to_string(getpid()))};
  const fs::path& folder = scratch.Path;
  fs::create_directories(folder);
  std::printf("%-11s %-22s %8s %9s %11s %9s\n", "engine", "method", "rows", "seconds", "rows/s",
              "vs. tool");

  const std::string sqliteFile = (folder / "bench.db").string();
  Measure({"SQLite", "DRIVER=SQLite3;Database=" + sqliteFile,
           [&](const std::string& script) {
             Shell("sqlite3 -bail " + sqliteFile + " BEGIN '.read " + script + "' COMMIT");
           },
           "sqlite3 BEGIN/COMMIT"},
          rows, folder);

  {
    TPostgresServer server(folder / "postgres");
    Measure({"PostgreSQL", server.Connection(),
             [&](const std::string& script) {
               Shell("psql -X -q -1 -v ON_ERROR_STOP=1 -h 127.0.0.1 -p " + server.Port() +
                     " -U postgres -d kelvast_test -f " + script + " >/dev/null");
             },
             "psql -1 -f"},
            rows, folder);
  }
  return 0;
}

}  // namespace
}  // namespace kelvast

int main(int argc, char** argv) {
  try {
    return kelvast::Main(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_insert: %s\n", e.what());
    return 1;
  }
}
