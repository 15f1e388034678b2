// SPDX-License-Identifier: MIT
#include "cli/cli_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "support/test_support.h"

extern char** environ;

namespace kelvast::test {

TCliRun RunCli(const std::vector<std::string>& args, const std::string& workingDir,
               const std::string& input, const std::vector<std::string>& prefix) {
  TempDir capture;
  const std::string outPath = (capture / "out").string();
  const std::string errPath = (capture / "err").string();

  std::vector<std::string> all = prefix;
  all.push_back(KELVAST_CLI);
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!workingDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingDir.c_str());
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + all[0]);
  int status = 0;
  waitpid(pid, &status, 0);

  TCliRun run;
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.Out = ReadFileBytes(outPath);
  run.Err = ReadFileBytes(errPath);
  return run;
}

}  // namespace kelvast::test
