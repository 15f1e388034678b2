// SPDX-License-Identifier: MIT
#include "cli/cli_options.h"

#include "cli/cli_docs.h"
#include "core/output/output_formats.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <climits>
#include <cstdio>
#include <optional>
#include <tuple>
#include <utility>

namespace kelvast::cli {

namespace {

// "K/N" with 1 <= K <= N <= 1,000,000; nothing else.
std::optional<std::pair<int32_t, int32_t>> ReadPart(const std::string& text) {
  int32_t part = 0, parts = 0;
  char rest = 0;
  if (std::sscanf(text.c_str(), "%d/%d%c", &part, &parts, &rest) != 2) return std::nullopt;
  if (part < 1 || parts < part || parts > 1000000) return std::nullopt;
  return std::pair{part, parts};
}

// Option values that name one of a fixed set are taken in any case, as file extensions are.
std::string LowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

constexpr const char* kExitCodes =
    "\nExit status: 0 success; 1 any error (the message goes to standard error); 2 a usage\n"
    "error; 130 or 143 a run stopped by SIGINT (Ctrl-C) or SIGTERM, its file holding the\n"
    "complete records written so far.\n"
    "MODEL is a model file (.model) or its JSON form (.json).";

// The command line as CLI11 describes it, filling `o`.
class TCommandLine {
 public:
  explicit TCommandLine(TCliOptions& o) : FApp("Test data for relational databases: runs models "
                                               "and plans without a window.", "kelvast-cli") {
    FApp.footer(kExitCodes);
    FApp.set_version_flag("--version", std::string("kelvast-cli ") + KELVAST_VERSION);
    FApp.require_subcommand(1);

    CLI::App* run = Command("run", "Write a model's records to a file, or insert them into its "
                                   "table (--format db).");
    Model(run, o);
    Format(run, o, "from the model's output file: .sql, .csv or .xml, any other extension or none db");
    Encoding(run, o);
    NoTransaction(run, o);
    run->add_option("--records", FRecords,
                    "Records to make (default: the model's count). Runs stream, so counts above "
                    "10,000,000 are accepted.")
        ->check(CLI::Range(0, INT32_MAX));
    run->add_option("--output", FOutput,
                    "Output file; its extension is replaced by the format's; - writes to standard "
                    "output (default: the model's output file)");
    run->add_option("--connection", FConnection,
                    "ODBC connection string, or an SQLite file's path (default: the model's)");
    Seed(run);
    Threads(run, o);
    run->add_option("--part", FPart,
                    "K/N: write only the K-th of N contiguous ranges of the records, as a "
                    "complete file; taken in order, the N parts hold the records of the whole run")
        ->check(CLI::Validator(
            [](std::string& text) {
              return ReadPart(text) ? std::string() : "takes K/N with 1 <= K <= N";
            },
            "K/N"));
    Dict(run);
    Yes(run, o);
    Quiet(run, o);
    Failures(run, o, "");

    CLI::App* sample = Command("sample", "Print ten records of a model as tab-separated lines, "
                                         "title row first.");
    Model(sample, o);
    sample->add_option("--connection", FConnection,
                       "ODBC connection string, or an SQLite file's path, that column references "
                       "read (default: the model's)");
    Seed(sample);
    Dict(sample);

    CLI::App* plan = Command("plan", "Run every model of a plan, one after another.");
    plan->add_option("PLAN", o.Operand, "Plan file (.plan)")->required();
    Format(plan, o, "sql");
    Encoding(plan, o);
    NoTransaction(plan, o);
    plan->add_option("--output-dir", FOutputDir,
                     "Folder that receives every model's output file, under the file's own name "
                     "(default: each model's output file as it stands; relative names are taken "
                     "from the current folder)")
        ->check(CLI::ExistingDirectory);
    Seed(plan);
    Threads(plan, o);
    Dict(plan);
    Yes(plan, o);
    Quiet(plan, o);
    Failures(plan, o, " (each model's)");

    CLI::App* show = Command("show", "Print a model's information and one line per generator.");
    Model(show, o);

    CLI::App* exportCommand = Command("export", "Write a model as JSON.");
    Model(exportCommand, o);
    exportCommand->add_option("--output", FOutput, "JSON file (default: standard output)");
    Yes(exportCommand, o);

    CLI::App* import = Command("import", "Build a model file from its JSON form.");
    import->add_option("FILE", o.Operand, "JSON file")->required();
    import->add_option("--output", FOutput, "Model file to write")->required();
    Yes(import, o);

    CLI::App* scaffold =
        Command("scaffold", "Write one model per table of a live database, with a plan that "
                            "fills the tables in foreign-key order (run it with plan --format db).");
    scaffold
        ->add_option("--connection", FConnection,
                     "ODBC connection string, or an SQLite file's path. The password may come "
                     "from the driver's own sources instead (PostgreSQL: PGPASSWORD, ~/.pgpass)")
        ->required();
    scaffold->add_option("--tables", o.Tables, "Tables to model, comma-separated (default: all)")
        ->delimiter(',');
    scaffold->add_option("--records", FRecords, "Records of each table (default: 1000)")
        ->check(CLI::Range(1, INT32_MAX));
    scaffold->add_option("--output", FOutput,
                         "Folder of the models and of database.plan; created when missing")
        ->required();
    scaffold->add_flag("--json", o.Json, "Also write each model as JSON (TABLE.json)");
    scaffold->add_flag("--yes", o.Yes,
                       "Replace files that exist in the folder (without it nothing is written "
                       "and they are listed)");
    Dict(scaffold);
    Quiet(scaffold, o);

    FHelp = FApp.add_subcommand("help", "Describe a command: kelvast-cli help COMMAND.");
    FHelp->add_option("COMMAND", FHelpTopic, "The command to describe");
  }

  TParseResult Parse(const std::vector<std::string>& args, TCliOptions& o) {
    TParseResult result;
    // Hidden: the manual page and the shell completions, from these very definitions.
    if (args.size() == 1 && args[0] == "--man-page") {
      result.Text = ManPage(FApp);
      return result;
    }
    if (!args.empty() && args[0] == "--completion") {
      const std::string shell = args.size() == 2 ? args[1] : "";
      if (shell == "bash" || shell == "zsh") {
        result.Text = shell == "bash" ? BashCompletion(FApp) : ZshCompletion(FApp);
      } else {
        result.Text = "kelvast-cli: --completion takes bash or zsh\n";
        result.Status = 2;
      }
      return result;
    }
    // A first word that is neither an option nor a command is named, rather than reported as a
    // missing command.
    if (!args.empty() && !args[0].empty() && args[0][0] != '-' &&
        !IsCommand(args[0])) {
      result.Text = "kelvast-cli: unknown command " + args[0] + "\n" + HelpFor(&FApp);
      result.Status = 2;
      return result;
    }
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them backwards
    try {
      FApp.parse(reversed);
    } catch (const CLI::CallForHelp&) {
      result.Text = HelpFor(FApp.get_subcommands().empty() ? &FApp : FApp.get_subcommands()[0]);
      return result;
    } catch (const CLI::CallForVersion& e) {
      result.Text = std::string(e.what()) + "\n";
      return result;
    } catch (const CLI::ParseError& e) {
      // The failing command's own help: its options and their defaults.
      const auto used = FApp.get_subcommands();
      result.Text = "kelvast-cli: " + std::string(e.what()) + "\n" +
                    HelpFor(used.empty() ? &FApp : used[0]);
      result.Status = 2;
      return result;
    }
    CLI::App* used = FApp.get_subcommands().at(0);
    if (used == FHelp) {
      CLI::App* topic = &FApp;
      if (!FHelpTopic.empty()) {
        try {
          topic = FApp.get_subcommand(FHelpTopic);
        } catch (const CLI::OptionNotFound&) {
          result.Text = "kelvast-cli: unknown command \"" + FHelpTopic + "\"\n" + HelpFor(&FApp);
          result.Status = 2;
          return result;
        }
      }
      result.Text = HelpFor(topic);
      return result;
    }
    o.Command = used->get_name();
    const auto given = [used](const char* name) {
      const CLI::Option* option = used->get_option_no_throw(name);
      return option && option->count() > 0;
    };
    if (given("--records")) o.Records = FRecords;
    if (given("--output")) o.Output = FOutput;
    if (given("--output-dir")) o.OutputDir = FOutputDir;
    if (given("--connection")) o.Connection = FConnection;
    if (given("--seed")) o.Seed = FSeed;
    if (given("--dict")) o.Dict = FDict;
    if (given("--format")) o.Format = FFormat;
    if (given("--errors-file")) o.ErrorsFile = FErrorsFile;
    if (given("--part")) std::tie(o.Part, o.Parts) = *ReadPart(FPart);
    result.Options = o;
    return result;
  }

 private:
  bool IsCommand(const std::string& name) const {
    try {
      FApp.get_subcommand(name);
      return true;
    } catch (const CLI::OptionNotFound&) {
      return false;
    }
  }
  CLI::App* Command(const char* name, const char* description) {
    CLI::App* command = FApp.add_subcommand(name, description);
    command->footer(kExitCodes);
    return command;
  }
  static void Model(CLI::App* command, TCliOptions& o) {
    command->add_option("MODEL", o.Operand, "Model file (.model) or its JSON form (.json)")
        ->required();
  }
  // The option names of the output formats, as the catalogue holds them.
  static std::vector<std::string> FormatNames() {
    std::vector<std::string> names;
    for (const TOutputFormat& format : OutputFormats()) names.emplace_back(format.OptionName);
    return names;
  }
  void Format(CLI::App* command, TCliOptions&, const std::string& byDefault) {
    command->add_option("--format", FFormat,
                        "Output format: sql, csv, xml, or db for a direct insert (default: " +
                            byDefault + ")")
        ->transform(LowerCase)
        ->check(CLI::IsMember(FormatNames()));
  }
  static void Encoding(CLI::App* command, TCliOptions& o) {
    command->add_option("--encoding", o.Encoding,
                        "Character encoding of SQL, CSV and XML files (the XML declaration "
                        "follows it)")
        ->transform(LowerCase)
        ->check(CLI::IsMember({"windows-1252", "utf-8"}))
        ->capture_default_str();
  }
  static void NoTransaction(CLI::App* command, TCliOptions& o) {
    command->add_flag("!--no-transaction", o.Transaction,
                      "Leave BEGIN; and COMMIT; out of SQL scripts: each statement then commits "
                      "on its own when the script is loaded");
  }
  void Seed(CLI::App* command) {
    // Digits only: the number parser would take -1 as 2^64-1.
    command
        ->add_option("--seed", FSeed,
                     "Seed of the random values: the same model, seed and word lists give the "
                     "same records (default: from the clock)")
        ->check(CLI::Validator(
            [](std::string& text) {
              const bool digits = !text.empty() && text.find_first_not_of("0123456789") ==
                                                       std::string::npos;
              return digits ? std::string() : "takes a whole number from 0 to 2^64-1";
            },
            "UINT"));
  }
  static void Threads(CLI::App* command, TCliOptions& o) {
    command
        ->add_option("--threads", o.Threads,
                     "Threads that make the records; the records are the same whatever the "
                     "number (default: every core)")
        ->check(CLI::Range(1, 1024));
  }
  void Dict(CLI::App* command) {
    command->add_option("--dict", FDict,
                        "Folder of the word lists (default: Dict beside the program, or "
                        "../share/kelvast/Dict)");
  }
  // What a direct insert does with failed statements; `each` says whose insert a plan means.
  void Failures(CLI::App* command, TCliOptions& o, const std::string& each) {
    command
        ->add_option("--on-errors", o.OnErrors,
                     "When statements of a direct insert" + each +
                         " fail: roll the whole insert back, or commit the statements that worked")
        ->transform(LowerCase)
        ->check(CLI::IsMember({"rollback", "commit"}))
        ->capture_default_str();
    command->add_option("--errors-file", FErrorsFile,
                        "Direct insert: write every failed statement with its message to this "
                        "file (the terminal shows the first ten" + each + ")");
    command
        ->add_option("--max-errors", o.MaxErrors,
                     "Direct insert" + each + ": stop after this many failed statements, then "
                     "roll back or commit as --on-errors says (default: no limit)")
        ->check(CLI::Range(1, INT32_MAX));
  }
  static void Yes(CLI::App* command, TCliOptions& o) {
    command->add_flag("--yes", o.Yes, "Replace existing output files without asking");
  }
  static void Quiet(CLI::App* command, TCliOptions& o) {
    command->add_flag("--quiet", o.Quiet, "Print nothing but errors");
  }
  std::string HelpFor(CLI::App* command) { return command->help(); }

  CLI::App FApp;
  CLI::App* FHelp = nullptr;
  std::string FHelpTopic;
  int32_t FRecords = 0;
  std::string FOutput, FOutputDir, FConnection, FDict, FFormat, FErrorsFile, FPart;
  uint64_t FSeed = 0;
};

}  // namespace

TParseResult ParseArguments(const std::vector<std::string>& args) {
  TCliOptions o;
  TCommandLine line(o);
  return line.Parse(args, o);
}

}  // namespace kelvast::cli
