#include "cli/progress_reporter.h"

#include <cstdio>
#include <unistd.h>

namespace kelvast::cli {

TProgressReporter::TProgressReporter(bool yes, bool quiet)
    : FYes(yes), FShow(!quiet && ::isatty(STDERR_FILENO)) {
  Start("");
}

TProgressReporter::~TProgressReporter() { Finish(); }

void TProgressReporter::Start(std::string label) {
  FLabel = std::move(label);
  FStart = std::chrono::steady_clock::now();
  FLastShown = FStart;
}

void TProgressReporter::Finish() {
  if (FLineOpen) std::fputc('\n', stderr);
  FLineOpen = false;
}

bool TProgressReporter::ConfirmReplace(const std::string&, const std::string&) {
  FRefused = !FYes;
  return FYes;
}

bool TProgressReporter::ConfirmRollback(const std::string&, int) { return FRollback; }

void TProgressReporter::DatabaseErrors(const std::string& memo) {
  if (memo.empty()) return;
  Finish();
  std::fprintf(stderr, "%s\n", memo.c_str());
}

void TProgressReporter::ShowMessage(const std::string& text) {
  std::fprintf(stderr, "kelvast-cli: %s\n", text.c_str());
}

void TProgressReporter::Progress(int64_t record, int64_t total) {
  if (!FShow) return;
  const auto now = std::chrono::steady_clock::now();
  if (record != total && now - FLastShown < std::chrono::milliseconds(200)) return;
  FLastShown = now;
  const double seconds = std::chrono::duration<double>(now - FStart).count();
  const double rate = seconds > 0 ? static_cast<double>(record) / seconds : 0;
  const double left = rate > 0 ? static_cast<double>(total - record) / rate : 0;
  std::fprintf(stderr, "\r%s%lld/%lld (%.2f%%)  %.0f records/s  %.0f s left   ", FLabel.c_str(),
               static_cast<long long>(record), static_cast<long long>(total),
               total > 0 ? 100.0 * static_cast<double>(record) / static_cast<double>(total) : 100.0,
               rate, left);
  FLineOpen = true;
}

}  // namespace kelvast::cli
