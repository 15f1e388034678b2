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

// prefix: a program that runs kelvast-cli, with its arguments (say {"prlimit", "--fsize=9", "--"}).
TCliRun RunCli(const std::vector<std::string>& args, const std::string& workingDir = "",
               const std::vector<std::string>& prefix = {});

}  // namespace kelvast::test
