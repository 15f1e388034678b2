// SPDX-License-Identifier: MIT
#pragma once
// Runs the real kelvast-cli binary and captures its exit status and output.

#include <string>
#include <vector>

namespace kelvast::test {

struct TCliRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

// Standard input reads the file `input` (by default an empty one); prefix: a program that runs
// kelvast-cli, with its arguments (say {"prlimit", "--fsize=9", "--"}).
TCliRun RunCli(const std::vector<std::string>& args, const std::string& workingDir = "",
               const std::string& input = "/dev/null",
               const std::vector<std::string>& prefix = {});

}  // namespace kelvast::test
