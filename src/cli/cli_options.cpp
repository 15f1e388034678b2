#include "cli/cli_options.h"

#include <charconv>
#include <set>

namespace kelvast::cli {

const char* UsageText() {
  return "usage:\n"
         "  kelvast-cli run MODEL [--format sql|csv|xml|db] [--records N] [--output PATH]\n"
         "                        [--connection STRING] [--seed N] [--dict DIR] [--yes] [--quiet]\n"
         "                        [--on-errors rollback|commit]\n"
         "  kelvast-cli sample MODEL [--seed N] [--dict DIR]\n"
         "  kelvast-cli plan PLAN [--format sql|csv|xml|db] [--seed N] [--dict DIR] [--yes] [--quiet]\n"
         "  kelvast-cli show MODEL\n"
         "  kelvast-cli export MODEL [--output FILE.json]\n"
         "  kelvast-cli import FILE.json --output MODEL\n"
         "MODEL is a model file (.model) or its JSON form (.json).\n";
}

namespace {

// The options each command accepts.
const std::set<std::string>& Allowed(const std::string& command) {
  static const std::set<std::string> kRun{"--format", "--records", "--output", "--connection",
                                          "--seed",   "--dict",    "--yes",    "--quiet",
                                          "--on-errors"};
  static const std::set<std::string> kSample{"--seed", "--dict"};
  static const std::set<std::string> kPlan{"--format", "--seed", "--dict", "--yes", "--quiet"};
  static const std::set<std::string> kShow{};
  static const std::set<std::string> kOutput{"--output"};
  if (command == "run") return kRun;
  if (command == "sample") return kSample;
  if (command == "plan") return kPlan;
  if (command == "show") return kShow;
  if (command == "export" || command == "import") return kOutput;
  throw TUsageError{"unknown command \"" + command + "\""};
}

template <class T>
T Number(const std::string& option, const std::string& text) {
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size())
    throw TUsageError{option + " needs a whole number, not \"" + text + "\""};
  return value;
}

}  // namespace

TCliOptions ParseArguments(const std::vector<std::string>& args) {
  if (args.empty()) throw TUsageError{"no command given"};
  TCliOptions o;
  o.Command = args[0];
  const std::set<std::string>& allowed = Allowed(o.Command);
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) != 0) {
      if (!o.Operand.empty()) throw TUsageError{"unexpected argument \"" + a + "\""};
      o.Operand = a;
      continue;
    }
    if (!allowed.count(a)) throw TUsageError{"option " + a + " does not apply to " + o.Command};
    if (a == "--yes") { o.Yes = true; continue; }
    if (a == "--quiet") { o.Quiet = true; continue; }
    if (i + 1 >= args.size()) throw TUsageError{"option " + a + " needs a value"};
    const std::string& v = args[++i];
    if (a == "--format") {
      if (v != "sql" && v != "csv" && v != "xml" && v != "db")
        throw TUsageError{"--format must be sql, csv, xml or db"};
      o.Format = v;
    } else if (a == "--records") {
      o.Records = Number<int32_t>(a, v);
      if (*o.Records < 0) throw TUsageError{"--records cannot be negative"};
    } else if (a == "--output") {
      o.Output = v;
    } else if (a == "--connection") {
      o.Connection = v;
    } else if (a == "--seed") {
      o.Seed = Number<uint64_t>(a, v);
    } else if (a == "--dict") {
      o.Dict = v;
    } else if (a == "--on-errors") {
      if (v != "rollback" && v != "commit") throw TUsageError{"--on-errors must be rollback or commit"};
      o.OnErrors = v;
    }
  }
  if (o.Operand.empty()) throw TUsageError{o.Command + " needs a file"};
  if (o.Command == "import" && !o.Output) throw TUsageError{"import needs --output MODEL"};
  return o;
}

}  // namespace kelvast::cli
