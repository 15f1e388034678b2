// SPDX-License-Identifier: MIT
// kelvast-cli end to end: the real binary on temporary folders.

#include <gtest/gtest.h>

#include <future>
#include <algorithm>
#include <unistd.h>
#include <sys/wait.h>
#include <spawn.h>
#include <fcntl.h>
#include <csignal>
#include <cstdlib>
#include <sys/stat.h>

#include <filesystem>

#include "cli/cli_runner.h"
#include "core/database/odbc_connection.h"
#include "core/files/model_file.h"
#include "core/model/gen_model.h"
#include "support/test_support.h"

extern char** environ;

namespace kelvast::test {
namespace {

namespace fs = std::filesystem;

const std::string kExamples = KELVAST_EXAMPLES;

int CountLines(const std::string& s) { return static_cast<int>(std::count(s.begin(), s.end(), '\n')); }

TEST(Cli, UsageErrorsExitWithTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate", "x"},
      {"run"},
      {"run", "m.model", "--records", "many"},
      {"run", "m.model", "--format", "pdf"},
      {"sample", "m.model", "--yes"},
      {"import", "m.json"},
      {"scaffold", "--output", "d"},
      {"scaffold", "--connection", "x.db", "--output", "d", "--records", "0"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args.empty() ? "(none)" : args[0]);
    const TCliRun r = RunCli(args);
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Err.find("Usage:"), std::string::npos);
  }
}

TEST(Cli, HelpAndUsageMessages) {
  const struct {
    std::vector<std::string> args;
    int status;
    const char* text;  // in standard output for status 0, else in standard error
  } cases[] = {
      {{"--help"}, 0, "Exit status: 0 success"},
      {{"--help"}, 0, "sample"},
      {{"run", "--help"}, 0, "--on-errors TEXT:{rollback,commit}=rollback"},
      {{"help", "run"}, 0, "above 10,000,000 are accepted"},
      {{"help", "plan"}, 0, "Plan file"},
      {{"plan", "-h"}, 0, "Exit status"},
      {{"--help"}, 0, "scaffold"},
      {{"help", "scaffold"}, 0, "--tables"},
      {{"--version"}, 0, "kelvast-cli "},
      {{"help", "frobnicate"}, 2, "unknown command \"frobnicate\""},
      {{"run", "m.model", "--records=-3"}, 2, "not in range 0 to 2147483647"},
      {{"run", "m.model", "--bogus"}, 2, "--connection TEXT"},  // the command's own options
      {{"run", "m.model", "--format=pdf"}, 2, "pdf"},
      {{"run", "m.model", "--part", "0/3"}, 2, "takes K/N with 1 <= K <= N"},
      {{"run", "m.model", "--part", "4/3"}, 2, "takes K/N with 1 <= K <= N"},
      {{"run", "m.model", "--part", "1/3x"}, 2, "takes K/N with 1 <= K <= N"},
      {{"run", "m.model", "--threads", "0"}, 2, "--threads"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : ""));
    const TCliRun r = RunCli(c.args);
    EXPECT_EQ(r.Status, c.status) << r.Err;
    EXPECT_NE((c.status == 0 ? r.Out : r.Err).find(c.text), std::string::npos) << r.Out << r.Err;
  }
  // --opt=value is the same as --opt value.
  TempDir dir;
  const TCliRun r = RunCli({"run", kExamples + "/people.model", "--format=csv", "--records=7",
                            "--output=" + (dir / "p").string(), "--quiet"});
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(CountLines(ReadFileBytes(dir / "p.csv")), 8);
}

TEST(Cli, MissingOrCorruptModelExitsWithOne) {
  TempDir dir;
  WriteFileBytes(dir / "bad.model", "not a model");
  for (const std::string& path : {(dir / "missing.model").string(), (dir / "bad.model").string()}) {
    const TCliRun r = RunCli({"show", path});
    EXPECT_EQ(r.Status, 1) << path;
    EXPECT_EQ(r.Err.rfind("kelvast-cli: ", 0), 0u) << r.Err;
  }
}

TEST(Cli, ImportExportRoundTrip) {
  TempDir dir;
  const std::string model = (dir / "people.model").string();
  ASSERT_EQ(RunCli({"import", kExamples + "/people.json", "--output", model}).Status, 0);
  // The committed example model is what its JSON describes.
  EXPECT_EQ(ReadFileBytes(kExamples + "/people.model"), ReadFileBytes(model));

  // Model -> JSON -> model reaches a fixed point after one pass: the second pass changes nothing.
  auto pass = [&](const std::string& from, const std::string& name) {
    const std::string json = (dir / (name + ".json")).string();
    const std::string out = (dir / (name + ".model")).string();
    EXPECT_EQ(RunCli({"export", from, "--output", json}).Status, 0);
    EXPECT_EQ(RunCli({"import", json, "--output", out}).Status, 0);
    return std::make_pair(ReadFileBytes(json), ReadFileBytes(out));
  };
  const auto first = pass(model, "first");
  const auto second = pass((dir / "first.model").string(), "second");
  EXPECT_EQ(first.first, second.first);
  EXPECT_EQ(first.second, second.second);

  const TCliRun shown = RunCli({"show", model});
  EXPECT_EQ(shown.Status, 0);
  EXPECT_NE(shown.Out.find("Table: people"), std::string::npos);
  EXPECT_NE(shown.Out.find("  email\temail\te-mail"), std::string::npos);
}

TEST(Cli, SeededRunsAreReproducibleAndGuardExistingFiles) {
  TempDir dir;
  const std::vector<std::string> run = {"run", kExamples + "/people.model", "--format", "csv",
                                        "--records", "1000000", "--seed", "7", "--yes",
                                        "--output", (dir / "a").string()};
  ASSERT_EQ(RunCli(run).Status, 0);
  std::vector<std::string> second = run;
  second.back() = (dir / "b").string();
  ASSERT_EQ(RunCli(second).Status, 0);
  const std::string a = ReadFileBytes(dir / "a.csv");
  EXPECT_EQ(CountLines(a), 1000001);
  EXPECT_TRUE(a == ReadFileBytes(dir / "b.csv"));

  // Without --yes an existing file is left alone.
  std::vector<std::string> again = run;
  again.erase(std::find(again.begin(), again.end(), "--yes"));
  again.back() = (dir / "a").string();
  const TCliRun refused = RunCli(again);
  EXPECT_EQ(refused.Status, 1);
  EXPECT_NE(refused.Err.find("already exists"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(dir / "a.csv").size(), a.size());
}

TEST(Cli, SamplePrintsTheTenRecordGrid) {
  const TCliRun r = RunCli({"sample", kExamples + "/people.model", "--seed", "3"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(CountLines(r.Out), 11);
  EXPECT_EQ(r.Out.substr(0, r.Out.find('\n')),
            "\tid\tfirst_name\tlast_name\temail\tquantity\tprice\tsignup_date\tcity\tzip\tcode");
  EXPECT_EQ(RunCli({"sample", kExamples + "/people.model", "--seed", "3"}).Out, r.Out);
}

// The model's own output file chooses the format; --output, even without an extension, only
// names the file.
TEST(Cli, TheModelsOutputFileChoosesTheFormat) {
  TempDir dir;
  const TCliRun r = RunCli({"run", kExamples + "/orders.model", "--records", "3", "--seed", "2",
                            "--output", (dir / "o").string(), "--quiet"});
  EXPECT_EQ(r.Status, 0) << r.Err;
  // Six comment lines, BEGIN;, the statements, COMMIT; and three comment lines.
  EXPECT_EQ(SplitLines(ReadFileBytes(dir / "o.sql")).size(), 6u + 1u + 3u + 1u + 3u);
}

TEST(Cli, PlanSkipsAMissingModelAndRunsTheRest) {
  TempDir dir;
  fs::copy_file(kExamples + "/people.model", dir / "first.model");
  fs::copy_file(kExamples + "/orders.model", dir / "third.model");
  WriteFileBytes(dir / "p.plan", "ORVELA KELVAST PLAN\r\nfirst.model\r\nsecond.model\r\nthird.model\r\n");
  // The models' output files are relative: they land in the working folder.
  const TCliRun r = RunCli({"plan", (dir / "p.plan").string(), "--format", "csv", "--yes", "--seed", "1"},
                           dir.Path().string());
  EXPECT_EQ(r.Status, 1);
  // One line per model: what it wrote or why it did not, then the count.
  EXPECT_NE(r.Err.find("[1/3] first.model: 1000 records written to people.csv"), std::string::npos)
      << r.Err;
  EXPECT_NE(r.Err.find("[2/3] second.model: skipped: "), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("[3/3] third.model: 500 records written to orders.csv"), std::string::npos);
  EXPECT_NE(r.Err.find("plan done: 2 models run, 1 skipped, 0 failed"), std::string::npos);
  EXPECT_TRUE(fs::exists(dir / "people.csv"));
  EXPECT_TRUE(fs::exists(dir / "orders.csv"));

  // Without --yes existing outputs are kept, and the lines name them; a plan named without a
  // folder finds its models beside it.
  const TCliRun again = RunCli({"plan", "p.plan", "--format", "csv"}, dir.Path().string());
  EXPECT_EQ(again.Status, 1);
  EXPECT_NE(again.Err.find("[1/3] first.model: skipped: people.csv exists"), std::string::npos)
      << again.Err;
  EXPECT_NE(again.Err.find("plan done: 0 models run, 3 skipped, 0 failed"), std::string::npos)
      << again.Err;

  WriteFileBytes(dir / "bad.plan", "ORVELA KELVAST plan\r\nfirst.model\r\n");
  const TCliRun bad = RunCli({"plan", (dir / "bad.plan").string()});
  EXPECT_EQ(bad.Status, 1);
  EXPECT_NE(bad.Err.find("This is not a valid data generator plan!"), std::string::npos);
}

}  // namespace
}  // namespace kelvast::test

namespace kelvast::test {
namespace {

TEST(Cli, ImportAndExportWriteThroughSymbolicLinks) {
  // A model kept elsewhere and linked into a working folder stays linked after a save.
  TempDir dir;
  std::filesystem::create_directory(dir / "store");
  WriteFileBytes(dir / "store" / "p.model", "old");
  WriteFileBytes(dir / "store" / "p.json", "old");
  std::filesystem::create_symlink("store/p.model", dir / "p.model");
  std::filesystem::create_symlink("store/p.json", dir / "p.json");
  // An existing file is replaced only with --yes.
  const TCliRun refused =
      RunCli({"import", kExamples + "/people.json", "--output", (dir / "p.model").string()});
  EXPECT_EQ(refused.Status, 1);
  EXPECT_NE(refused.Err.find("already exists; add --yes"), std::string::npos) << refused.Err;
  EXPECT_EQ(ReadFileBytes(dir / "store" / "p.model"), "old");
  ASSERT_EQ(RunCli({"import", kExamples + "/people.json", "--output", (dir / "p.model").string(),
                    "--yes"}).Status, 0);
  ASSERT_EQ(RunCli({"export", kExamples + "/people.model", "--output", (dir / "p.json").string(),
                    "--yes"}).Status, 0);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "p.model"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "p.json"));
  EXPECT_EQ(ReadFileBytes(dir / "store" / "p.model"), ReadFileBytes(kExamples + "/people.model"));
  EXPECT_NE(ReadFileBytes(dir / "store" / "p.json").find("\"TableName\": \"people\""),
            std::string::npos);
}

TEST(Cli, OutputDashWritesToStandardOutput) {
  for (const char* format : {"csv", "sql", "xml"}) {
    SCOPED_TRACE(format);
    const TCliRun r = RunCli({"run", kExamples + "/people.model", "--format", format, "--records",
                              "100", "--output", "-"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Err.find("100 records written to standard output"), std::string::npos) << r.Err;
    const size_t lines = static_cast<size_t>(std::count(r.Out.begin(), r.Out.end(), '\n'));
    EXPECT_GE(lines, 100u);
    EXPECT_LE(lines, 130u);
  }
}

TEST(Cli, AnInterruptedRunEndsOnACompleteRecord) {
  TempDir dir;
  const std::string out = (dir / "big").string();
  for (const int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    std::filesystem::remove(out + ".csv");
    std::vector<std::string> args = {KELVAST_CLI, "run", kExamples + "/people.model", "--format",
                                     "csv", "--records", "10000000", "--output", out, "--yes"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string err = (dir / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    // Wait until records are being written, then interrupt.
    for (int i = 0; i < 200 && (!std::filesystem::exists(out + ".csv") ||
                                std::filesystem::file_size(out + ".csv") < 1000000); ++i)
      ::usleep(20000);
    ::kill(pid, signal);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    const std::string message = ReadFileBytes(err);
    const size_t at = message.find("interrupted after ");
    ASSERT_NE(at, std::string::npos) << message;
    const long long records = std::stoll(message.substr(at + 18));
    EXPECT_GT(records, 0);
    EXPECT_LT(records, 10000000);
    EXPECT_NE(message.find(out + ".csv holds them"), std::string::npos) << message;
    const std::string text = ReadFileBytes(out + ".csv");
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), records + 1);
  }
}

// A file-size limit (prlimit, as `ulimit -f` sets it) in the middle of a record: the program
// reports the error, and the file ends on a whole record followed by the format's closing lines,
// which the format's own readers accept.
TEST(Cli, AFileSizeLimitLeavesAFileThatReadersAccept) {
  TempDir dir;
  const std::string limit = "--fsize=200001";
  const struct {
    const char* format;
    std::string check;  // a command that exits 0 for a whole file; %s is the file
  } cases[] = {
      // Every row as many fields as the header: no record ends part way.
      {"csv", "python3 -c 'import csv,sys; r=list(csv.reader(open(sys.argv[1], newline=\"\", "
              "encoding=\"latin-1\"))); sys.exit(0 if len(r)>1 and all(len(x)==len(r[0]) for x "
              "in r) else 1)' %s"},
      {"xml", "xmllint --noout %s"},
      // Every statement whole, then the transaction's COMMIT and the closing comments.
      {"sql", "python3 -c 'import sys; t=open(sys.argv[1], encoding=\"latin-1\", newline=\"\").read(); "
              "s=t[:t.rindex(\"COMMIT;\\r\\n/* ----\")]; sys.exit(0 if s.endswith(\");\\r\\n\") and "
              "t.endswith(\"records: the run ended by an error */\\r\\n\") else 1)' %s"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    const std::string out = (dir / "cut").string();
    const TCliRun r = RunCli({"run", kExamples + "/people.model", "--format", c.format,
                              "--records", "100000", "--output", out, "--yes"},
                             "", "/dev/null", {"prlimit", limit, "--"});
    EXPECT_EQ(r.Status, 1) << r.Err;
    EXPECT_NE(r.Err.find("File too large"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("cut back to its last complete record"), std::string::npos) << r.Err;
    const std::string file = out + "." + c.format;
    EXPECT_LE(std::filesystem::file_size(file), 200001u);
    std::string command = c.check;
    command.replace(command.find("%s"), 2, file);
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    if (std::string(c.format) != "csv")
      EXPECT_NE(ReadFileBytes(file).find(" of 100,000 records: the run ended by an error"),
                std::string::npos);
  }
}

TEST(Cli, ADanglingLinkAtTheOutputIsFollowedOnlyWithYes) {
  TempDir dir;
  std::filesystem::create_directory(dir / "elsewhere");
  const fs::path target = dir / "elsewhere" / "made.csv";
  std::filesystem::create_symlink(target, dir / "out.csv");
  std::vector<std::string> run = {"run", kExamples + "/people.model", "--format", "csv",
                                  "--records", "10", "--output", (dir / "out").string()};
  const TCliRun refused = RunCli(run);
  EXPECT_EQ(refused.Status, 1);
  EXPECT_NE(refused.Err.find("add --yes"), std::string::npos) << refused.Err;
  EXPECT_FALSE(std::filesystem::exists(target));
  run.push_back("--yes");
  ASSERT_EQ(RunCli(run).Status, 0);
  EXPECT_EQ(CountLines(ReadFileBytes(target)), 11);
}

TEST(Cli, DevicesAndPipesAtTheOutputAreWrittenAsTheyAre) {
  TempDir dir;
  const TCliRun null = RunCli({"run", kExamples + "/people.model", "--format", "csv",
                               "--records", "1000", "--output", "/dev/null"});
  EXPECT_EQ(null.Status, 0) << null.Err;
  EXPECT_NE(null.Err.find("written to /dev/null\n"), std::string::npos) << null.Err;
  EXPECT_FALSE(std::filesystem::exists("/dev/null.csv"));

  const fs::path fifo = dir / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::future<std::string> read = std::async(std::launch::async, [&] {
    return ReadFileBytes(fifo);
  });
  const TCliRun piped = RunCli({"run", kExamples + "/people.model", "--format", "xml",
                                "--records", "1000", "--output", fifo.string()});
  EXPECT_EQ(piped.Status, 0) << piped.Err;
  const std::string text = read.get();
  EXPECT_NE(text.find("</RECORDS>"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(fifo.string() + ".xml"));
}

TEST(Cli, SourceDateEpochMakesEveryFormatByteIdentical) {
  TempDir dir;
  ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);  // 2023-11-14 22:13:20 UTC
  for (const char* format : {"sql", "csv", "xml"}) {
    SCOPED_TRACE(format);
    std::string first;
    for (int i = 0; i < 2; ++i) {
      const std::string out = (dir / ("run" + std::to_string(i))).string();
      const TCliRun r = RunCli({"run", kExamples + "/orders.model", "--format", format,
                                "--records", "2000", "--seed", "11", "--output", out, "--yes",
                                "--quiet"});
      ASSERT_EQ(r.Status, 0) << r.Err;
      const std::string bytes = ReadFileBytes(out + "." + format);
      if (i == 0) first = bytes;
      else EXPECT_TRUE(bytes == first);
    }
    if (std::string(format) == "sql") {
      EXPECT_NE(first.find("Generated at 11/14/2023 22:13:20"), std::string::npos)
          << first.substr(0, 400);
      EXPECT_NE(first.find("Duration : 00:00:00"), std::string::npos);
    }
  }
  ::unsetenv("SOURCE_DATE_EPOCH");
}

TEST(Cli, DirectInsertsStartedTogetherEachLandInTheirOwnDatabase) {
  // Every run writes its statements to a file of its own, so neither reads the other's.
  TempDir dir;
  const std::string create = "CREATE TABLE people (id integer, first_name text, last_name text, "
                             "email text, quantity integer, price real, signup_date text, "
                             "city text, zip text, code text)";
  const int records[] = {3000, 5000};
  std::vector<std::string> files;
  for (int i = 0; i < 2; ++i) {
    files.push_back((dir / ("db" + std::to_string(i) + ".db")).string());
    WriteFileBytes(files.back(), "");
    TOdbcConnection db(files.back());
    db.Open();
    db.Execute(create);
  }
  for (int round = 0; round < 3; ++round) {
    std::vector<std::future<TCliRun>> runs;
    for (int i = 0; i < 2; ++i)
      runs.push_back(std::async(std::launch::async, [&, i] {
        return RunCli({"run", kExamples + "/people.model", "--format", "db", "--connection",
                       files[static_cast<size_t>(i)], "--records",
                       std::to_string(records[i]), "--quiet"});
      }));
    for (auto& run : runs) {
      const TCliRun r = run.get();
      EXPECT_EQ(r.Status, 0) << r.Err;
    }
  }
  for (int i = 0; i < 2; ++i) {
    TOdbcConnection db(files[static_cast<size_t>(i)]);
    db.Open();
    EXPECT_EQ(db.Query("SELECT COUNT(*) FROM people"),
              std::vector<std::string>{std::to_string(3 * records[i])});
  }
}

TEST(Cli, SamplePreviewsColumnReferencesThroughTheConnection) {
  TempDir dir;
  const std::string db = (dir / "shop.db").string();
  WriteFileBytes(db, "");
  {
    TOdbcConnection c(db);
    c.Open();
    c.Execute("CREATE TABLE customers (name text)");
    c.Execute("INSERT INTO customers VALUES ('Ada'), ('Linus')");
  }
  const TCliRun r = RunCli({"sample", kExamples + "/all-types.json", "--connection", db});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_TRUE(r.Out.find("\tAda\t") != std::string::npos ||
              r.Out.find("\tLinus\t") != std::string::npos) << r.Out;
  const TCliRun none = RunCli({"sample", kExamples + "/all-types.json"});
  EXPECT_EQ(none.Status, 1);
  EXPECT_NE(none.Err.find("needs an open database connection"), std::string::npos) << none.Err;

  WriteFileBytes(dir / "empty.json", "{ \"TableName\": \"t\" }");
  const TCliRun empty = RunCli({"sample", (dir / "empty.json").string()});
  EXPECT_EQ(empty.Status, 1);
  EXPECT_NE(empty.Err.find("There's no column to export..."), std::string::npos) << empty.Err;
}

TEST(Cli, DirectInsertIntoSqlite) {
  TempDir dir;
  const std::string file = (dir / "people.db").string();
  WriteFileBytes(dir / "people.db", "");  // an empty file is an empty database
  {
    TOdbcConnection db(file);
    db.Open();
    db.Execute("CREATE TABLE people (id integer, first_name text, last_name text, email text, "
               "quantity integer, price real, signup_date text, city text, zip text, code text)");
  }
  const std::string model = kExamples + "/people.model";
  const TCliRun ok = RunCli({"run", model, "--format", "db", "--connection", file, "--records",
                             "250", "--seed", "5", "--quiet"});
  EXPECT_EQ(ok.Status, 0) << ok.Err;

  // Every statement fails on a missing table: the failures go to stderr, status 1, nothing kept.
  const TCliRun failed = RunCli({"run", kExamples + "/orders.model", "--format", "db",
                                 "--connection", file, "--records", "3", "--on-errors", "commit"});
  EXPECT_EQ(failed.Status, 1);
  EXPECT_NE(failed.Err.find(std::string(56, '-')), std::string::npos);
  EXPECT_NE(failed.Err.find("3 failed statements"), std::string::npos);

  const TCliRun none = RunCli({"run", model, "--format", "db", "--records", "5"});
  EXPECT_EQ(none.Status, 1);
  EXPECT_NE(none.Err.find("There's no active connection..."), std::string::npos);

  TOdbcConnection db(file);
  db.Open();
  EXPECT_EQ(db.Query("SELECT COUNT(*) FROM people"), (std::vector<std::string>{"250"}));
}

// A plan inserts each model into the database its file names, and a model whose database cannot
// be opened is reported and skipped while the others go on.
TEST(Cli, PlanInsertsThroughEachModelsConnection) {
  TempDir dir;
  const std::string file = (dir / "people.db").string();
  WriteFileBytes(file, "");
  {
    TOdbcConnection db(file);
    db.Open();
    db.Execute("CREATE TABLE people (id integer, first_name text, last_name text, email text, "
               "quantity integer, price real, signup_date text, city text, zip text, code text)");
  }
  const auto modelWith = [&](const std::string& name, const std::string& connection, int records) {
    std::unique_ptr<TGenModel> model = LoadModelFile(kExamples + "/people.model");
    model->SetConnectionString(connection);
    model->SetRecNumber(records);
    SaveModelFile(dir / name, *model);
  };
  modelWith("a.model", file, 30);
  modelWith("missing.model", (dir / "absent.db").string(), 5);
  modelWith("b.model", file, 12);
  WriteFileBytes(dir / "fill.plan", "ORVELA KELVAST PLAN\r\na.model\r\nmissing.model\r\nb.model\r\n");
  const TCliRun r = RunCli({"plan", (dir / "fill.plan").string(), "--format", "db"});
  EXPECT_EQ(r.Status, 1) << r.Err;
  EXPECT_NE(r.Err.find("absent.db"), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("plan done: 2 models run, 1 skipped, 0 failed"), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("a.model: 30 records, 0 failed statements, committed"), std::string::npos)
      << r.Err;
  TOdbcConnection db(file);
  db.Open();
  EXPECT_EQ(db.Query("SELECT COUNT(*) FROM people"), (std::vector<std::string>{"42"}));
}

TEST(Cli, DirectInsertFailuresOnATerminal) {
  TempDir dir;
  const std::string file = (dir / "odd.db").string();
  WriteFileBytes(file, "");
  {
    TOdbcConnection db(file);
    db.Open();
    // Odd order numbers are refused: every other statement fails.
    db.Execute("CREATE TABLE orders (order_id integer CHECK (order_id % 20 = 0), reference text, "
               "customer text, country text, quantity integer, ordered_at text, paid boolean, "
               "notes text)");
  }
  const std::string model = kExamples + "/orders.model";
  const std::string rule = std::string(56, '-');
  const auto count = [](const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  };
  // Ten failures shown, then a count; the file keeps all of them.
  const std::string errors = (dir / "errors.txt").string();
  const TCliRun all = RunCli({"run", model, "--format", "db", "--connection", file, "--records",
                              "50", "--errors-file", errors});
  EXPECT_EQ(all.Status, 1);
  EXPECT_EQ(count(all.Err, rule), 10u) << all.Err;
  EXPECT_NE(all.Err.find("... and 15 more failed statements"), std::string::npos) << all.Err;
  EXPECT_EQ(count(ReadFileBytes(errors), rule), 25u);
  EXPECT_NE(ReadFileBytes(errors).find("INSERT INTO \"orders\""), std::string::npos);

  // --max-errors stops the insert; --on-errors commit keeps what worked before it stopped.
  const TCliRun capped = RunCli({"run", model, "--format", "db", "--connection", file,
                                 "--records", "50", "--max-errors", "3", "--on-errors", "commit"});
  EXPECT_EQ(capped.Status, 1);
  EXPECT_NE(capped.Err.find("stopped after 3 failed statements"), std::string::npos) << capped.Err;
  TOdbcConnection db(file);
  db.Open();
  // 1010 fails, 1020 works, 1030 fails, 1040 works, 1050 fails: two rows kept.
  EXPECT_EQ(db.Query("SELECT COUNT(*) FROM orders"), (std::vector<std::string>{"2"}));
}

size_t CountOf(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// A plan whose model had failed statements ends with status 1 and says so, whatever
// --on-errors made of them; --max-errors stops each model's insert and the line then counts the
// records run and the rows kept; the models after it run all the same.
TEST(Cli, PlanReportsFailedStatementsAsFailure) {
  const std::string rule(56, '-');
  const struct {
    const char* name;
    bool check;  // odd order numbers are refused: every other statement fails
    std::vector<std::string> args;
    int status;
    const char* line;  // the orders model's line
    int kept;          // orders rows in the table after the plan
  } cases[] = {
      {"no failure", false, {}, 0, "orders.model: 50 records, 0 failed statements, committed", 50},
      {"rolled back", true, {}, 1, "orders.model: 50 records, 25 failed statements, rolled back", 0},
      {"committed", true, {"--on-errors", "commit"}, 1,
       "orders.model: 50 records, 25 failed statements, committed", 25},
      {"stopped, committed", true, {"--max-errors", "3", "--on-errors", "commit"}, 1,
       "orders.model: stopped at the --max-errors limit: 5 records made, 2 inserted, 3 failed "
       "statements, committed",
       2},
      {"stopped, rolled back", true, {"--max-errors", "3"}, 1,
       "orders.model: stopped at the --max-errors limit: 5 records made, 0 inserted, 3 failed "
       "statements, rolled back",
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string file = (dir / "shop.db").string();
    WriteFileBytes(file, "");
    {
      TOdbcConnection db(file);
      db.Open();
      db.Execute(std::string("CREATE TABLE orders (order_id integer") +
                 (c.check ? " CHECK (order_id % 20 = 0)" : "") +
                 ", reference text, customer text, country text, quantity integer, ordered_at "
                 "text, paid boolean, notes text)");
      db.Execute("CREATE TABLE people (id integer, first_name text, last_name text, email text, "
                 "quantity integer, price real, signup_date text, city text, zip text, code text)");
    }
    for (const auto& [name, records] : {std::pair{"orders", 50}, std::pair{"people", 12}}) {
      std::unique_ptr<TGenModel> model = LoadModelFile(kExamples + "/" + name + ".model");
      model->SetConnectionString(file);
      model->SetRecNumber(records);
      SaveModelFile(dir / (std::string(name) + ".model"), *model);
    }
    WriteFileBytes(dir / "fill.plan", "ORVELA KELVAST PLAN\r\norders.model\r\npeople.model\r\n");
    std::vector<std::string> args = {"plan", (dir / "fill.plan").string(), "--format", "db",
                                     "--errors-file", (dir / "errors.txt").string()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const TCliRun r = RunCli(args);
    EXPECT_EQ(r.Status, c.status) << r.Err;
    EXPECT_NE(r.Err.find(c.line), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("people.model: 12 records, 0 failed statements, committed"),
              std::string::npos) << r.Err;
    TOdbcConnection db(file);
    db.Open();
    EXPECT_EQ(db.Query("SELECT COUNT(*) FROM orders"),
              std::vector<std::string>{std::to_string(c.kept)});
    EXPECT_EQ(db.Query("SELECT COUNT(*) FROM people"), std::vector<std::string>{"12"});
    if (!c.check) {
      EXPECT_NE(r.Err.find("plan done: 2 models run, 0 skipped, 0 failed\n"), std::string::npos);
      EXPECT_FALSE(fs::exists(dir / "errors.txt"));
      continue;
    }
    EXPECT_NE(r.Err.find("plan done: 2 models run, 0 skipped, 0 failed, 1 with failed statements"),
              std::string::npos) << r.Err;
    // The model's first failures on the terminal, under its name; all of them in the file.
    EXPECT_NE(r.Err.find("[1/2] orders.model: failed statements"), std::string::npos) << r.Err;
    const size_t failures = c.args.empty() || c.args[0] != "--max-errors" ? 25 : 3;
    EXPECT_EQ(CountOf(r.Err, rule), std::min<size_t>(failures, 10));
    const std::string errors = ReadFileBytes(dir / "errors.txt");
    EXPECT_EQ(CountOf(errors, rule), failures);
    EXPECT_NE(errors.find("orders.model"), std::string::npos);
    EXPECT_NE(errors.find("INSERT INTO \"orders\""), std::string::npos);
  }
}

// Two models whose inserts both fail: the errors file keeps both, each under its model's name.
TEST(Cli, PlanErrorsFileKeepsEveryModelsFailures) {
  TempDir dir;
  const std::string file = (dir / "shop.db").string();
  WriteFileBytes(file, "");
  for (const char* name : {"a", "b"}) {
    std::unique_ptr<TGenModel> model = LoadModelFile(kExamples + "/orders.model");
    model->SetConnectionString(file);
    model->SetTableName("missing");
    model->SetRecNumber(4);
    SaveModelFile(dir / (std::string(name) + ".model"), *model);
  }
  WriteFileBytes(dir / "fill.plan", "ORVELA KELVAST PLAN\r\na.model\r\nb.model\r\n");
  const TCliRun r = RunCli({"plan", (dir / "fill.plan").string(), "--format", "db", "--quiet",
                            "--errors-file", (dir / "errors.txt").string()});
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("2 with failed statements"), std::string::npos) << r.Err;
  const std::string errors = ReadFileBytes(dir / "errors.txt");
  EXPECT_EQ(CountOf(errors, std::string(56, '-')), 8u);
  const size_t a = errors.find("[1/2] a.model: ");
  const size_t b = errors.find("[2/2] b.model: ");
  ASSERT_NE(a, std::string::npos) << errors;
  ASSERT_NE(b, std::string::npos) << errors;
  EXPECT_LT(a, b);
}

// Files that hold a password are their owner's only, also when they replace a looser one, and
// `show` masks it.
TEST(Cli, PasswordsStayPrivate) {
  TempDir dir;
  const mode_t savedMask = ::umask(022);  // the runs inherit it
  std::unique_ptr<TGenModel> model = LoadModelFile(kExamples + "/people.model");
  model->SetConnectionString("DRIVER={PostgreSQL Unicode};SERVER=db;UID=ada;PWD=s3cret");
  SaveModelFile(dir / "secret.model", *model);
  model->SetConnectionString("DRIVER={PostgreSQL Unicode};SERVER=db;UID=ada");
  SaveModelFile(dir / "plain.model", *model);
  WriteFileBytes(dir / "old.json", "{}");
  ASSERT_EQ(::chmod((dir / "old.json").c_str(), 0644), 0);

  const auto run = [&](std::vector<std::string> args) {
    const TCliRun r = RunCli(args);
    EXPECT_EQ(r.Status, 0) << args[0] << ": " << r.Err;
  };
  const std::string secret = (dir / "secret.model").string();
  run({"export", secret, "--output", (dir / "secret.json").string()});
  run({"export", secret, "--output", (dir / "old.json").string(), "--yes"});
  run({"import", (dir / "secret.json").string(), "--output", (dir / "back.model").string()});
  run({"export", (dir / "plain.model").string(), "--output", (dir / "plain.json").string()});
  ::umask(savedMask);
  const struct {
    const char* file;
    unsigned mode;
  } cases[] = {
      {"secret.model", 0600}, {"secret.json", 0600}, {"old.json", 0600},
      {"back.model", 0600},   {"plain.json", 0644},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(FileMode(dir / c.file), c.mode);
  }
  EXPECT_NE(ReadFileBytes(dir / "back.model").find("s3cret"), std::string::npos);

  const TCliRun shown = RunCli({"show", secret});
  EXPECT_EQ(shown.Status, 0);
  EXPECT_NE(shown.Out.find("Connection: DRIVER={PostgreSQL Unicode};SERVER=db;UID=ada;PWD=********"),
            std::string::npos) << shown.Out;
  EXPECT_EQ(shown.Out.find("s3cret"), std::string::npos);
}

}  // namespace
}  // namespace kelvast::test
