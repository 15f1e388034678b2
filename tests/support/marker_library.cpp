// SPDX-License-Identifier: MIT
// A shared library that leaves a mark when it is loaded: the file KELVAST_MARKER_FILE names is
// created as the library is mapped, and again each time SQLite calls it as an extension (a
// library stays mapped after its first load, so later loads show only there).

#include <cstdio>
#include <cstdlib>

namespace {

void Mark() {
  const char* path = std::getenv("KELVAST_MARKER_FILE");
  if (path == nullptr) return;
  if (std::FILE* file = std::fopen(path, "w")) std::fclose(file);
}

struct TMarkOnLoad {
  TMarkOnLoad() { Mark(); }
} markOnLoad;

}  // namespace

extern "C" int sqlite3_extension_init(void*, char**, const void*) {
  Mark();
  return 0;
}
