// SPDX-License-Identifier: MIT
#include "cli/interrupt.h"

#include <csignal>

namespace kelvast::cli {

namespace {

volatile std::sig_atomic_t gSignal = 0;

extern "C" void OnInterrupt(int signal) {
  if (gSignal != 0) {
    // Asked twice: the user wants out now.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  gSignal = signal;
}

}  // namespace

void CatchInterruptions() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
  // A file that reaches the size limit (ulimit -f) fails its write, which the run reports after
  // ending the file on a whole record, instead of the signal ending the program mid-record.
  std::signal(SIGXFSZ, SIG_IGN);
}

int InterruptSignal() { return gSignal; }

}  // namespace kelvast::cli
