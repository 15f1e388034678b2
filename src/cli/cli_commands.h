// SPDX-License-Identifier: MIT
#pragma once
// The commands of kelvast-cli. Each returns the exit status: 0 success, 1 error.

#include "cli/cli_options.h"

namespace kelvast::cli {

int RunCommand(const TCliOptions& options);

}  // namespace kelvast::cli
