#pragma once
// Command-line parsing of kelvast-cli: one command, its operand and its options.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvast::cli {

struct TCliOptions {
  std::string Command;  // run, sample, plan, show, export, import
  std::string Operand;  // MODEL, PLAN or FILE.json
  std::optional<std::string> Format;      // sql, csv, xml, db
  std::optional<int32_t> Records;
  std::optional<std::string> Output;
  std::optional<std::string> Connection;
  std::optional<uint64_t> Seed;
  std::optional<std::string> Dict;
  std::string OnErrors = "rollback";
  bool Yes = false;
  bool Quiet = false;
};

// A usage error: the message is printed with the usage text and the exit status is 2.
struct TUsageError {
  std::string Message;
};

// Parses argv (without the program name); throws TUsageError.
TCliOptions ParseArguments(const std::vector<std::string>& args);

// The usage text.
const char* UsageText();

}  // namespace kelvast::cli
