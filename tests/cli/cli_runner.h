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

TCliRun RunCli(const std::vector<std::string>& args, const std::string& workingDir = "");

}  // namespace kelvast::test
