// SPDX-License-Identifier: MIT
#include "fuzz_target.h"

#include <cstdio>
#include <cstdlib>

namespace kelvast::fuzz {

void Broken(const char* what) {
  std::fprintf(stderr, "fuzz target: %s\n", what);
  std::abort();
}

}  // namespace kelvast::fuzz
