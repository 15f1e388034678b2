// SPDX-License-Identifier: MIT
// kelvast-cli as a user types it: standard streams, option values, plans that name their models
// and output folders, and connection paths beyond ASCII.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli/cli_runner.h"
#include "core/database/odbc_connection.h"
#include "core/files/model_file.h"
#include "core/platform/code_page.h"
#include "core/model/gen_model.h"
#include "support/test_support.h"

namespace kelvast::test {
namespace {

namespace fs = std::filesystem;

const std::string kExamples = KELVAST_EXAMPLES;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(CommandLine, UsageErrorsNameWhatIsWrong) {
  const struct {
    std::vector<std::string> args;
    const char* text;
  } cases[] = {
      {{"frobnicate"}, "unknown command frobnicate"},
      {{"frobnicate", "x.model"}, "unknown command frobnicate"},
      // Not taken as 2^64-1.
      {{"run", "m.model", "--seed", "-1"}, "--seed"},
      {{"run", "m.model", "--seed=-1"}, "--seed"},
      {{"run", "m.model", "--seed", "12x"}, "--seed"},
      {{"plan", "p.plan", "--output-dir", "/nonexistent/folder"}, "--output-dir"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args.back());
    const TCliRun r = RunCli(c.args);
    EXPECT_EQ(r.Status, 2);
    EXPECT_TRUE(Has(r.Err, c.text)) << r.Err;
    EXPECT_TRUE(Has(r.Err, "Usage:")) << r.Err;
  }
  // The largest seed is still a seed.
  TempDir dir;
  const TCliRun r = RunCli({"run", kExamples + "/people.model", "--seed", "18446744073709551615",
                            "--records", "2", "--format", "csv", "--output",
                            (dir / "p").string(), "--quiet"});
  EXPECT_EQ(r.Status, 0) << r.Err;
}

// Values from a fixed set are taken in any case, as file extensions are.
TEST(CommandLine, ValuesOfFixedSetsInAnyCase) {
  TempDir dir;
  const struct {
    std::vector<std::string> args;
    const char* file;
  } cases[] = {
      {{"--format", "CSV"}, "a.csv"},
      {{"--format", "Xml", "--encoding", "UTF-8"}, "a.xml"},
      {{"--format", "SQL", "--encoding", "Windows-1252"}, "a.sql"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<std::string> args = {"run", kExamples + "/people.model", "--records", "3",
                                     "--output", (dir / "a").string(), "--yes", "--quiet"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const TCliRun r = RunCli(args);
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_TRUE(fs::exists(dir / c.file));
  }
  EXPECT_TRUE(Has(ReadFileBytes(dir / "a.xml"), "encoding=\"UTF-8\""));
}

// "-" is standard output for export and standard input for import, as is /dev/stdin; no file
// named "-" is made.
TEST(CommandLine, ExportAndImportThroughStandardStreams) {
  TempDir dir;
  const TCliRun exported = RunCli({"export", kExamples + "/people.model", "--output", "-"},
                                  dir.Path().string());
  ASSERT_EQ(exported.Status, 0) << exported.Err;
  EXPECT_TRUE(Has(exported.Out, "\"TableName\": \"people\"")) << exported.Out;
  EXPECT_FALSE(fs::exists(dir / "-"));
  WriteFileBytes(dir / "exported.json", exported.Out);
  ASSERT_EQ(RunCli({"import", (dir / "exported.json").string(), "--output",
                    (dir / "from-file.model").string()}).Status, 0);
  const std::string fromFile = ReadFileBytes(dir / "from-file.model");

  for (const std::string input : {"-", "/dev/stdin"}) {
    SCOPED_TRACE(input);
    const fs::path model = dir / "imported.model";
    const TCliRun r = RunCli({"import", input, "--output", model.string(), "--yes"}, "",
                             (dir / "exported.json").string());
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_TRUE(ReadFileBytes(model) == fromFile);
    EXPECT_FALSE(fs::exists(dir / "-"));
  }
  // An empty standard input is no model.
  const TCliRun empty = RunCli({"import", "-", "--output", (dir / "e.model").string()});
  EXPECT_EQ(empty.Status, 1);
  EXPECT_FALSE(fs::exists(dir / "e.model"));
}

// Plans: every line of the report names its place among all the plan's entries, an absolute
// entry is taken as it stands, and --output-dir gathers the output files.
TEST(CommandLine, PlanEntriesAndOutputFolder) {
  TempDir dir;
  fs::create_directories(dir / "plans");
  fs::create_directories(dir / "models" / "sub");
  fs::create_directories(dir / "out");
  fs::create_directories(dir / "work");
  // people.model writes "people.sql", a relative name; this one an absolute one elsewhere.
  std::unique_ptr<TGenModel> orders = LoadModelFile(kExamples + "/orders.model");
  orders->SetSQLFile((dir / "models" / "sub" / "orders.sql").string());
  orders->SetRecNumber(20);
  SaveModelFile(dir / "models" / "orders.model", *orders);
  std::unique_ptr<TGenModel> people = LoadModelFile(kExamples + "/people.model");
  people->SetRecNumber(10);
  SaveModelFile(dir / "plans" / "people.model", *people);
  WriteFileBytes(dir / "plans" / "p.plan",
                 "ORVELA KELVAST PLAN\r\nmissing.model\r\npeople.model\r\n" +
                     (dir / "models" / "orders.model").string() + "\r\n");
  const std::string plan = (dir / "plans" / "p.plan").string();

  const TCliRun gathered = RunCli({"plan", plan, "--format", "csv", "--output-dir",
                                   (dir / "out").string(), "--quiet"},
                                  (dir / "work").string());
  EXPECT_EQ(gathered.Status, 1) << gathered.Err;  // the missing model
  EXPECT_TRUE(Has(gathered.Err, "[1/3] missing.model: skipped")) << gathered.Err;
  EXPECT_FALSE(Has(gathered.Err, "/0]")) << gathered.Err;
  EXPECT_EQ(SplitLines(ReadFileBytes(dir / "out" / "people.csv")).size(), 11u);
  EXPECT_EQ(SplitLines(ReadFileBytes(dir / "out" / "orders.csv")).size(), 21u);
  EXPECT_TRUE(fs::is_empty(dir / "work"));

  // Without it, a relative output name is taken from the current folder; an absolute one stays.
  const TCliRun asStored = RunCli({"plan", plan, "--format", "csv"}, (dir / "work").string());
  EXPECT_EQ(asStored.Status, 1) << asStored.Err;
  EXPECT_TRUE(Has(asStored.Err, "[3/3] " + (dir / "models" / "orders.model").string() + ": 20 "))
      << asStored.Err;
  EXPECT_TRUE(fs::exists(dir / "work" / "people.csv"));
  EXPECT_FALSE(fs::exists(dir / "plans" / "people.csv"));
  EXPECT_TRUE(fs::exists(dir / "models" / "sub" / "orders.csv"));
  EXPECT_TRUE(Has(asStored.Err, "plan done: 2 models run, 1 skipped, 0 failed")) << asStored.Err;
}

// A connection path beyond ASCII reaches the file system as the terminal spelled it.
TEST(CommandLine, SqlitePathBeyondAscii) {
  TempDir dir;
  for (const std::string name : {"caf\xC3\xA9.db", "na\xC3\xAFve d\xC3\xB6rfer.db"}) {
    SCOPED_TRACE(name);
    const std::string file = (dir / name).string();
    WriteFileBytes(file, "");
    std::string ansi;  // connection strings are Windows-1252 in memory
    ASSERT_TRUE(Utf8ToAnsi(file, ansi));
    TOdbcConnection db(ansi);
    db.Open();
    db.Execute("CREATE TABLE people (id integer, first_name text, last_name text, email text, "
               "quantity integer, price real, signup_date text, city text, zip text, code text)");
    const TCliRun r = RunCli({"run", kExamples + "/people.model", "--format", "db",
                              "--connection", file, "--records", "5", "--quiet"});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(db.Query("SELECT COUNT(*) FROM people"), (std::vector<std::string>{"5"}));
  }
  // A path whose characters Windows-1252 cannot hold is refused by name, not mistaken for
  // another.
  const TCliRun refused = RunCli({"run", kExamples + "/people.model", "--format", "db",
                                  "--connection", (dir / "\xE6\x97\xA5.db").string()});
  EXPECT_EQ(refused.Status, 1);
  EXPECT_TRUE(Has(refused.Err, "Windows-1252")) << refused.Err;
}

}  // namespace
}  // namespace kelvast::test

namespace kelvast::test {
namespace {

// The first word of each line of `text` that starts with two blanks and then a character that
// `starts` accepts.
std::vector<std::string> FirstWords(const std::string& text, bool (*starts)(char)) {
  std::vector<std::string> words;
  for (const std::string& line : SplitLines(text))
    if (line.size() > 2 && line.rfind("  ", 0) == 0 && starts(line[2]))
      words.push_back(line.substr(2, line.find(' ', 2) - 2));
  return words;
}

// The long option names a command's help lists: "-h,--help" and "--no-transaction{false}" give
// --help and --no-transaction.
std::vector<std::string> LongOptions(const std::string& help) {
  std::vector<std::string> names;
  for (const std::string& word : FirstWords(help, [](char c) { return c == '-'; })) {
    const size_t at = word.find("--");
    if (at != std::string::npos) names.push_back(word.substr(at, word.find_first_of("{=", at) - at));
  }
  return names;
}

// Every command and option the parser describes in its help appears in the manual page and in
// both shell completions, which kelvast-cli writes from the same definitions.
TEST(CommandLine, ManualPageAndCompletionsNameEveryOption) {
  const TCliRun man = RunCli({"--man-page"});
  const TCliRun bash = RunCli({"--completion", "bash"});
  const TCliRun zsh = RunCli({"--completion", "zsh"});
  ASSERT_EQ(man.Status, 0) << man.Err;
  ASSERT_EQ(bash.Status, 0) << bash.Err;
  ASSERT_EQ(zsh.Status, 0) << zsh.Err;
  EXPECT_EQ(RunCli({"--completion", "fish"}).Status, 2);

  const TCliRun top = RunCli({"--help"});
  const std::vector<std::string> commands = FirstWords(
      top.Out.substr(top.Out.find("Subcommands:")), [](char c) { return c >= 'a' && c <= 'z'; });
  ASSERT_GE(commands.size(), 8u) << top.Out;
  size_t options = 0;
  for (const std::string& command : commands) {
    SCOPED_TRACE(command);
    EXPECT_TRUE(Has(man.Out, ".SS \"" + command)) << command;
    EXPECT_TRUE(Has(bash.Out, "    " + command + ")\n"));
    EXPECT_TRUE(Has(zsh.Out, "    " + command + ")\n"));
    const TCliRun help = RunCli({command, "--help"});
    for (const std::string& option : LongOptions(help.Out)) {
      SCOPED_TRACE(option);
      ++options;
      std::string roff;
      for (const char c : option) roff += c == '-' ? std::string("\\-") : std::string(1, c);
      EXPECT_TRUE(Has(man.Out, "\\fB" + roff + "\\fR"));
      EXPECT_TRUE(Has(bash.Out, option));
      EXPECT_TRUE(Has(zsh.Out, "'" + option + "["));
    }
  }
  EXPECT_GE(options, 40u);
  // The run command's options that an older hand-written completion lacked.
  for (const char* option : {"--threads", "--part", "--no-transaction"})
    EXPECT_TRUE(Has(bash.Out.substr(bash.Out.find("    run)")), option)) << option;
  for (const char* section : {".SH ENVIRONMENT", "SOURCE_DATE_EPOCH", "PGPASSWORD",
                              ".SH EXIT STATUS", ".SH EXAMPLES", ".SH FILES"})
    EXPECT_TRUE(Has(man.Out, section)) << section;
}

}  // namespace
}  // namespace kelvast::test
