// SPDX-License-Identifier: MIT
// The connection-file reader on arbitrary bytes: a string it accepts writes back to a file that
// reads to the same string, and trimming leaves no blank or control character at either end.

#include "core/files/connection_file.h"
#include "fuzz_target.h"

using namespace kelvast;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TConnectionFileContent con = ParseConnection(fuzz::AsText(data, size));
  if (con.Status != TConnectionFileContent::csOk) return 0;
  const TConnectionFileContent back = ParseConnection(FormatConnection(con.ConnectionString));
  if (back.Status != TConnectionFileContent::csOk || back.ConnectionString != con.ConnectionString)
    fuzz::Broken("a written connection file reads back differently");
  const std::string applied = TrimConnectionString(con.ConnectionString);
  if (!applied.empty() && (static_cast<unsigned char>(applied.front()) <= 32 ||
                           static_cast<unsigned char>(applied.back()) <= 32))
    fuzz::Broken("a trimmed string keeps a blank or control character at an end");
  return 0;
}
