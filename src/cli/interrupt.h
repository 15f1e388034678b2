// SPDX-License-Identifier: MIT
#pragma once
// Ctrl-C and `kill`: SIGINT and SIGTERM ask the run to stop at the next record boundary, where
// it closes its file properly; the program then exits with 128 + the signal's number.

namespace kelvast::cli {

// Installs the handlers; a second signal of either kind ends the program at once. SIGXFSZ is
// ignored: a write past the file-size limit fails with EFBIG instead.
void CatchInterruptions();
// The signal received, or 0.
int InterruptSignal();

}  // namespace kelvast::cli
