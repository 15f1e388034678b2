// SPDX-License-Identifier: MIT
#include "cli/cli_docs.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace kelvast::cli {

namespace {

std::vector<const CLI::App*> Commands(const CLI::App& app) {
  return app.get_subcommands([](const CLI::App*) { return true; });
}

// The option's names as typed: long names first, then short ones.
std::vector<std::string> Names(const CLI::Option& option) {
  std::vector<std::string> names;
  for (const std::string& name : option.get_lnames()) names.push_back("--" + name);
  for (const std::string& name : option.get_snames()) names.push_back("-" + name);
  return names;
}

// Flags (--yes, --help) expect no value.
bool TakesValue(const CLI::Option& option) { return option.get_expected_max() != 0; }

// The fixed values of an option checked against a set: "TEXT:{sql,csv}" gives sql and csv.
std::vector<std::string> FixedValues(const CLI::Option& option) {
  const std::string type = option.get_type_name();
  const size_t open = type.find('{');
  const size_t close = type.find('}', open);
  std::vector<std::string> values;
  if (open == std::string::npos || close == std::string::npos) return values;
  std::string_view list(type.data() + open + 1, close - open - 1);
  while (!list.empty()) {
    const size_t comma = list.find(',');
    values.emplace_back(list.substr(0, comma));
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return values;
}

// What the page shows for the value: the set, a validator's short name (K/N, DIR) or the type.
std::string Metavariable(const CLI::Option& option) {
  const std::string type = option.get_type_name();
  const size_t colon = type.find(':');
  if (colon == std::string::npos) return type;
  const std::string check = type.substr(colon + 1);
  if (check.front() == '{' || check.find(' ') == std::string::npos) return check;
  return type.substr(0, colon);
}

enum TValueKind { vkNone, vkFile, vkFolder };

// What a value names, for the shells to complete: files, folders, or nothing they can list.
TValueKind ValueKind(const CLI::App& command, const CLI::Option& option) {
  const std::string name = option.get_lnames().empty() ? "" : option.get_lnames()[0];
  if (name == "dict" || name == "output-dir") return vkFolder;
  if (name == "output") return command.get_name() == "scaffold" ? vkFolder : vkFile;
  if (name == "errors-file") return vkFile;
  return vkNone;
}

// The operand's files, as a glob of extensions.
std::string OperandExtensions(const CLI::App& command) {
  const std::string name = command.get_name();
  if (name == "plan") return "plan";
  if (name == "import") return "json";
  return "model|json";
}

// Roff text: backslashes and hyphens escaped, a leading full stop or apostrophe guarded.
std::string Roff(std::string_view text) {
  std::string out;
  bool lineStart = true;
  for (const char c : text) {
    if (lineStart && (c == '.' || c == '\'')) out += "\\&";
    if (c == '\\') out += "\\e";
    else if (c == '-') out += "\\-";
    else out += c;
    lineStart = c == '\n';
  }
  return out;
}

constexpr const char* kManHead = R"(.TH KELVAST\-CLI 1 "" "kelvast\-cli @VERSION@" "User Commands"
.SH NAME
kelvast\-cli \- generate test data for relational databases
.SH SYNOPSIS
.B kelvast\-cli
.I COMMAND
.RI [ OPTIONS ]
.RI [ OPERAND ]
.br
.B kelvast\-cli
.RB [ \-\-help | \-\-version ]
.br
.B kelvast\-cli help
.RI [ COMMAND ]
.SH DESCRIPTION
.B kelvast\-cli
runs Kelvast models and plans without a window. A model describes one target table as an
ordered list of typed column generators; a run writes its records as an SQL script, a CSV file or
an XML file, or inserts them into the table through ODBC. A plan runs several models one after
another. Models and plans are made in the desktop program,
.BR kelvast (1),
or from a live database with
.BR "kelvast\-cli scaffold" .
.PP
MODEL is a model file (.model) or its JSON form (.json). Each command has its own options, listed
below with their defaults;
.B kelvast\-cli COMMAND \-\-help
prints them too. An option's value may follow it as the next word or after an equals sign
(\fB\-\-records=10\fR). Values from a fixed set are taken in any case.
.SH COMMANDS
)";

constexpr const char* kManTail = R"(.SH ENVIRONMENT
.TP
.B SOURCE_DATE_EPOCH
Seconds since 1970\-01\-01 00:00 UTC. When set, the times written in SQL comments (start, end and
duration) are that moment, so that runs with the same model, seed and word lists give identical
files in every format (the reproducible\-builds convention).
.TP
.B PGPASSWORD
The PostgreSQL password, when a connection string leaves it out. The PostgreSQL ODBC driver reads
it, and
.I ~/.pgpass
(or the file
.B PGPASSFILE
names) too, so that no password needs to stand on the command line.
.TP
.BR ODBCSYSINI ", " ODBCINI
Where unixODBC looks for its driver list
.RI ( odbcinst.ini )
and its data sources
.RI ( odbc.ini ).
.SH EXIT STATUS
.TP
.B 0
Success.
.TP
.B 1
Any error: the message goes to standard error. A direct insert with failed statements, and a plan
with a model skipped or failed, end with 1 too.
.TP
.B 2
A usage error: an unknown command or option, a missing operand, a value out of range.
.TP
.BR 130 ", " 143
A run stopped by SIGINT (Ctrl\-C) or SIGTERM. The output file holds the complete records written
so far; a direct insert is rolled back.
.SH FILES
.TP
.I Dict
The word lists that name, town, country and word generators draw from: the folder
.I Dict
beside the program, else
.I ../share/kelvast/Dict
relative to the program's folder
.RI ( /usr/share/kelvast/Dict
for an installed package), unless
.B \-\-dict
names another.
.TP
.IR *.model ", " *.json
Models: the binary model file of the desktop program, or its JSON form
.RB ( export ", " import ).
.TP
.I *.plan
Plans: a first line
.B ORVELA KELVAST PLAN
then one model file per line, relative to the plan's folder unless it starts with /.
.TP
.I *.con
Connection files of the desktop program, whose string a model may hold.
.SH EXAMPLES
Ten records of a model, as tab\-separated lines:
.PP
.RS
.nf
kelvast\-cli sample people.model \-\-seed 7
.fi
.RE
.PP
A million records as CSV, the same bytes on every run:
.PP
.RS
.nf
kelvast\-cli run people.model \-\-format csv \-\-records 1000000 \e
    \-\-seed 7 \-\-output /tmp/people \-\-yes
.fi
.RE
.PP
An SQL script loaded by sqlite3 and psql; it runs as one transaction:
.PP
.RS
.nf
kelvast\-cli run people.model \-\-format sql \-\-output /tmp/people \-\-yes
sqlite3 people.db < /tmp/people.sql
psql \-v ON_ERROR_STOP=1 \-f /tmp/people.sql
.fi
.RE
.PP
CSV piped into PostgreSQL:
.PP
.RS
.nf
kelvast\-cli run people.model \-\-format csv \-\-encoding utf\-8 \-\-output \- |
    psql \-c "\ecopy people from stdin csv header"
.fi
.RE
.PP
Straight into an SQLite database, then into PostgreSQL with the password from the environment:
.PP
.RS
.nf
kelvast\-cli run people.model \-\-format db \-\-connection /tmp/people.db
PGPASSWORD=secret kelvast\-cli run people.model \-\-format db \e
    \-\-connection "DRIVER={PostgreSQL Unicode};Server=localhost;Database=test;Uid=me;"
.fi
.RE
.PP
Models for every table of a database, then a plan that fills them in foreign\-key order:
.PP
.RS
.nf
kelvast\-cli scaffold \-\-connection /tmp/shop.db \-\-output /tmp/shop
kelvast\-cli plan /tmp/shop/database.plan \-\-format db
.fi
.RE
.PP
A plan's outputs gathered in one folder:
.PP
.RS
.nf
kelvast\-cli plan nightly.plan \-\-format csv \-\-output\-dir /tmp/out \-\-yes
.fi
.RE
.PP
A model reviewed as JSON and built again:
.PP
.RS
.nf
kelvast\-cli export people.model \-\-output \- | kelvast\-cli import \- \-\-output copy.model
.fi
.RE
.SH SEE ALSO
.BR kelvast (1),
.BR sqlite3 (1),
.BR psql (1),
.BR odbcinst (1)
)";

std::string ReplaceVersion(std::string text) {
  const std::string_view marker = "@VERSION@";
  const size_t at = text.find(marker);
  if (at != std::string::npos) text.replace(at, marker.size(), KELVAST_VERSION);
  return text;
}

}  // namespace

std::string ManPage(const CLI::App& app) {
  std::string page = ReplaceVersion(kManHead);
  for (const CLI::App* command : Commands(app)) {
    std::string synopsis = command->get_name();
    for (const CLI::Option* option : command->get_options())
      if (option->get_positional()) synopsis += " " + option->get_name(true);
    page += ".SS \"" + Roff(synopsis) + "\"\n" + Roff(command->get_description()) + "\n";
    for (const CLI::Option* option : command->get_options()) {
      page += ".TP\n";
      if (option->get_positional()) {
        page += ".I " + Roff(option->get_name(true)) + "\n";
      } else {
        std::string names;
        for (const std::string& name : Names(*option))
          names += (names.empty() ? "" : ", ") + ("\\fB" + Roff(name) + "\\fR");
        if (TakesValue(*option)) names += " \\fI" + Roff(Metavariable(*option)) + "\\fR";
        page += names + "\n";
      }
      std::string text = option->get_description();
      if (!option->get_default_str().empty())
        text += " (default: " + option->get_default_str() + ")";
      if (option->get_required() && !option->get_positional()) text += " Required.";
      page += Roff(text) + "\n";
    }
  }
  return page + kManTail;
}

std::string BashCompletion(const CLI::App& app) {
  std::string commands;
  for (const CLI::App* command : Commands(app))
    commands += (commands.empty() ? "" : " ") + command->get_name();
  std::string out =
      "# bash completion for kelvast-cli, written by kelvast-cli --completion bash.\n"
      "_kelvast_cli() {\n"
      "  local cur prev words cword\n"
      "  _init_completion || return\n"
      "  local commands=\"" + commands + "\"\n"
      "  if [[ $cword -eq 1 ]]; then\n"
      "    COMPREPLY=($(compgen -W \"$commands --help --version\" -- \"$cur\"))\n"
      "    return\n"
      "  fi\n"
      "  local command=${words[1]} options=\"\"\n"
      "  case $command in\n";
  for (const CLI::App* command : Commands(app)) {
    std::string options, values, operands;
    for (const CLI::Option* option : command->get_options()) {
      if (option->get_positional()) continue;
      for (const std::string& name : Names(*option)) options += (options.empty() ? "" : " ") + name;
      if (!TakesValue(*option)) continue;
      const std::string pattern = [&] {
        std::string p;
        for (const std::string& name : Names(*option)) p += (p.empty() ? "" : "|") + name;
        return p;
      }();
      const std::vector<std::string> fixed = FixedValues(*option);
      std::string action;
      if (!fixed.empty()) {
        std::string words;
        for (const std::string& v : fixed) words += (words.empty() ? "" : " ") + v;
        action = "COMPREPLY=($(compgen -W \"" + words + "\" -- \"$cur\"))";
      } else if (ValueKind(*command, *option) == vkFolder) {
        action = "_filedir -d";
      } else if (ValueKind(*command, *option) == vkFile) {
        action = "_filedir";
      } else {
        action = ":";
      }
      values += "        " + pattern + ") " + action + "; return ;;\n";
    }
    if (command->get_name() == "help")
      operands = "COMPREPLY=($(compgen -W \"$commands\" -- \"$cur\"))";
    else if (command->get_name() == "scaffold")
      operands = ":";
    else
      operands = "_filedir '@(" + OperandExtensions(*command) + ")'";
    out += "    " + command->get_name() + ")\n      options=\"" + options + "\"\n" +
           "      case $prev in\n" + values + "      esac\n" +
           "      [[ $cur == -* ]] || { " + operands + "; return; }\n      ;;\n";
  }
  out +=
      "  esac\n"
      "  COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
      "}\n"
      "complete -F _kelvast_cli kelvast-cli\n";
  return out;
}

namespace {

// A zsh _arguments description: the first sentence, brackets and colons escaped, quotes for a
// single-quoted word.
std::string ZshText(std::string_view text) {
  text = text.substr(0, text.find(". "));
  if (!text.empty() && text.back() == '.') text.remove_suffix(1);
  std::string out;
  for (const char c : text) {
    if (c == '\'') {
      out += "'\\''";  // a quote ends and restarts the single-quoted word
      continue;
    }
    if (c == '[' || c == ']' || c == ':' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::string ZshCompletion(const CLI::App& app) {
  std::string out =
      "#compdef kelvast-cli\n"
      "# zsh completion for kelvast-cli, written by kelvast-cli --completion zsh.\n"
      "_kelvast_cli() {\n"
      "  local -a commands\n"
      "  commands=(\n";
  for (const CLI::App* command : Commands(app))
    out += "    '" + command->get_name() + ":" + ZshText(command->get_description()) + "'\n";
  out +=
      "  )\n"
      "  if (( CURRENT == 2 )); then\n"
      "    _describe -t commands 'kelvast-cli command' commands\n"
      "    _arguments '--help[print help]' '--version[print the version]'\n"
      "    return\n"
      "  fi\n"
      "  local command=$words[2]\n"
      "  shift words; (( CURRENT-- ))\n"
      "  case $command in\n";
  for (const CLI::App* command : Commands(app)) {
    out += "    " + command->get_name() + ")\n      _arguments -s \\\n";
    for (const CLI::Option* option : command->get_options()) {
      if (option->get_positional()) continue;
      std::string action;
      if (TakesValue(*option)) {
        const std::vector<std::string> fixed = FixedValues(*option);
        if (!fixed.empty()) {
          action = ":" + Metavariable(*option) + ":(";
          for (size_t i = 0; i < fixed.size(); ++i) action += (i ? " " : "") + fixed[i];
          action += ")";
        } else if (ValueKind(*command, *option) == vkFolder) {
          action = ":folder:_files -/";
        } else if (ValueKind(*command, *option) == vkFile) {
          action = ":file:_files";
        } else {
          action = ":" + Metavariable(*option) + ": ";
        }
      }
      const std::string text = "[" + ZshText(option->get_description()) + "]";
      for (const std::string& name : Names(*option))
        out += "        '" + name + text + action + "' \\\n";
    }
    if (command->get_name() == "help")
      out += "        ':command:(" + [&] {
        std::string names;
        for (const CLI::App* c : Commands(app)) names += (names.empty() ? "" : " ") + c->get_name();
        return names;
      }() + ")'\n";
    else if (command->get_name() == "scaffold")
      out += "        \n";
    else
      out += "        ':file:_files -g \"*.(" + OperandExtensions(*command) + ")(-.)\"'\n";
    out += "      ;;\n";
  }
  out +=
      "  esac\n"
      "}\n"
      "_kelvast_cli \"$@\"\n";
  return out;
}

}  // namespace kelvast::cli
