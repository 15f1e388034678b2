// SPDX-License-Identifier: MIT
#pragma once
// Command-line parsing of kelvast-cli: one command, its operand and its options, with help for
// every command (`--help`, `COMMAND --help`, `help COMMAND`).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvast::cli {

struct TCliOptions {
  std::string Command;  // run, sample, plan, show, export, import, scaffold
  std::string Operand;  // MODEL, PLAN or FILE.json
  std::optional<std::string> Format;      // sql, csv, xml, db
  std::optional<int32_t> Records;
  std::optional<std::string> Output;
  std::optional<std::string> OutputDir;   // plan --output-dir
  std::optional<std::string> Connection;
  std::optional<uint64_t> Seed;
  std::optional<std::string> Dict;
  std::string OnErrors = "rollback";
  std::optional<std::string> ErrorsFile;
  std::string Encoding = "windows-1252";  // or utf-8
  int32_t MaxErrors = 0;  // 0: no limit
  int32_t Threads = 0;    // 0: every core
  int32_t Part = 1;       // --part K/N: K
  int32_t Parts = 1;      //             N
  bool Yes = false;
  bool Quiet = false;
  bool Transaction = true;          // --no-transaction: false
  std::vector<std::string> Tables;  // scaffold --tables
  bool Json = false;                // scaffold --json
};

// What parsing decided: options to run, or text to print and an exit status.
struct TParseResult {
  std::optional<TCliOptions> Options;
  std::string Text;    // help (to stdout, status 0) or the usage error (to stderr, status 2)
  int Status = 0;
};

// Parses argv without the program name.
TParseResult ParseArguments(const std::vector<std::string>& args);

}  // namespace kelvast::cli
