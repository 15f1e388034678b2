// kelvast-cli: runs models and plans without a window, for scripts and CI.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/interrupt.h"

int main(int argc, char** argv) {
  using namespace kelvast::cli;
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  if (args.size() == 1 && args[0] == "--version") {
    std::printf("kelvast-cli %s\n", KELVAST_VERSION);
    return 0;
  }
  TCliOptions options;
  try {
    options = ParseArguments(args);
  } catch (const TUsageError& e) {
    std::fprintf(stderr, "kelvast-cli: %s\n%s", e.Message.c_str(), UsageText());
    return 2;
  }
  CatchInterruptions();
  try {
    return RunCommand(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kelvast-cli: %s\n", e.what());
    return 1;
  }
}
