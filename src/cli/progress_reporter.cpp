// SPDX-License-Identifier: MIT
#include "cli/progress_reporter.h"

#include "core/output/batch_loader.h"
#include "core/platform/code_page.h"
#include "core/platform/errors.h"

#include <cstdio>
#include <unistd.h>

namespace kelvast::cli {

TProgressReporter::TProgressReporter(bool yes, bool quiet)
    : FYes(yes), FShow(!quiet && ::isatty(STDERR_FILENO)) {
  Start("");
}

TProgressReporter::~TProgressReporter() {
  Finish();
  if (FErrors) std::fclose(FErrors);
}

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

void TProgressReporter::DatabaseFailure(const std::string& entry) {
  static const std::string rule = std::string(56, '-') + "\r\n";
  if (entry.size() >= rule.size() && entry.compare(entry.size() - rule.size(), rule.size(), rule) == 0)
    ++FFailures;
  if (FErrorsFile.empty()) return;
  if (!FErrors) {
    FErrors = std::fopen(FErrorsFile.c_str(), FErrorsStarted ? "ab" : "wb");
    if (!FErrors) throw EFileError("Cannot write the errors file " + FErrorsFile + ".");
    FErrorsStarted = true;
    if (!FLabel.empty()) {
      const std::string heading = FLabel + "failed statements\r\n";
      if (std::fwrite(heading.data(), 1, heading.size(), FErrors) != heading.size())
        throw EFileError("Cannot write the errors file " + FErrorsFile + ".");
    }
  }
  const std::string text = AnsiToUtf8(entry);
  if (std::fwrite(text.data(), 1, text.size(), FErrors) != text.size())
    throw EFileError("Cannot write the errors file " + FErrorsFile + ".");
}

void TProgressReporter::DatabaseErrors(const std::string& memo) {
  // The errors file is complete: every entry went to it as it was made.
  if (FErrors) {
    const bool written = std::fclose(FErrors) == 0;
    FErrors = nullptr;
    if (!written) std::fprintf(stderr, "kelvast-cli: cannot write the errors file %s\n",
                               FErrorsFile.c_str());
  }
  const int64_t failures = FFailures;
  FFailures = 0;
  if (memo.empty()) return;
  Finish();
  // The memo (the first ten failures, a count of the others, closing lines) in UTF-8 with the
  // terminal's line ends.
  std::string lines;
  for (char c : AnsiToUtf8(memo))
    if (c != '\r') lines += c;
  // A plan's models are told apart by their labels ("[1/3] people.model: ").
  if (!FLabel.empty()) std::fprintf(stderr, "kelvast-cli: %sfailed statements\n", FLabel.c_str());
  std::fputs(lines.c_str(), stderr);
  if (FErrorsFile.empty() && failures > TBatchLoader::kKeptFailures)
    std::fputs("kelvast-cli: --errors-file FILE keeps every failed statement\n", stderr);
}

void TProgressReporter::ShowMessage(const std::string& text) {
  std::fprintf(stderr, "kelvast-cli: %s\n", AnsiToUtf8(text).c_str());
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
