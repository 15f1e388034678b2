// SPDX-License-Identifier: MIT
// kelvast-cli: runs models and plans without a window, for scripts and CI.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/interrupt.h"
#include "core/platform/random.h"

int main(int argc, char** argv) {
  using namespace kelvast::cli;
  // Runs without --seed differ from one another.
  kelvast::Randomize();
  const TParseResult parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.Options) {
    std::fputs(parsed.Text.c_str(), parsed.Status == 0 ? stdout : stderr);
    return parsed.Status;
  }
  CatchInterruptions();
  try {
    return RunCommand(*parsed.Options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kelvast-cli: %s\n", e.what());
    return 1;
  }
}
