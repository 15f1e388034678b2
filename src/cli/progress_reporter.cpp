// SPDX-License-Identifier: MIT
#include "cli/progress_reporter.h"

#include "core/platform/file_io.h"
#include "core/platform/code_page.h"

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
  // The memo in UTF-8 with the terminal's line ends; entries end with a rule of hyphens.
  std::string text = AnsiToUtf8(memo);
  std::string lines;
  for (char c : text)
    if (c != '\r') lines += c;
  // A plan's models are told apart by their labels ("[1/3] people.model: ").
  if (!FLabel.empty()) {
    text = FLabel + "failed statements\r\n" + text;
    std::fprintf(stderr, "kelvast-cli: %sfailed statements\n", FLabel.c_str());
  }
  if (!FErrorsFile.empty()) {
    if (FErrorsFileStarted)
      AppendToFile(FErrorsFile, text);
    else
      WriteWholeFile(FErrorsFile, text);
    FErrorsFileStarted = true;
  }
  const std::string rule = std::string(56, '-') + "\n";
  constexpr int kShown = 10;
  size_t at = 0;
  int entries = 0;
  for (size_t end; (end = lines.find(rule, at)) != std::string::npos; at = end + rule.size()) {
    if (++entries <= kShown) std::fputs(lines.substr(at, end + rule.size() - at).c_str(), stderr);
  }
  if (entries > kShown)
    std::fprintf(stderr, "... and %d more failed statements%s\n", entries - kShown,
                 FErrorsFile.empty() ? " (--errors-file FILE keeps them all)" : "");
  std::fputs(lines.substr(at).c_str(), stderr);  // a closing note, if any
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
