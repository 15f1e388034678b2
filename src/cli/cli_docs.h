// SPDX-License-Identifier: MIT
#pragma once
// The manual page and the shell completions of kelvast-cli, written from the parser's own
// definitions, so that they name every command and option the parser knows.
//
//   kelvast-cli --man-page > kelvast-cli.1
//   kelvast-cli --completion bash > /usr/share/bash-completion/completions/kelvast-cli

#include <CLI/CLI.hpp>

#include <string>

namespace kelvast::cli {

// The kelvast-cli(1) page in roff: every command with every option, then the environment, the
// exit status, the files and examples.
std::string ManPage(const CLI::App& app);

// A bash (programmable completion) or zsh (compsys) completion script.
std::string BashCompletion(const CLI::App& app);
std::string ZshCompletion(const CLI::App& app);

}  // namespace kelvast::cli
