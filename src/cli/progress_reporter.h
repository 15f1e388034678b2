// SPDX-License-Identifier: MIT
#pragma once
// The command line's run observer: answers the replace question from --yes, and shows progress
// with a rate and the time left on stderr when stderr is a terminal. A plan's observer builds on
// it, so that each of its models reports as a run does.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "cli/interrupt.h"
#include "core/output/plan_run.h"

namespace kelvast::cli {

class TProgressReporter : public TPlanObserver {
 public:
  TProgressReporter(bool yes, bool quiet);
  ~TProgressReporter() override;

  bool ConfirmReplace(const std::string& caption, const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  void Progress(int64_t record, int64_t total) override;
  int64_t ProgressStep() const override { return FShow ? 4096 : INT64_MAX; }
  bool StopRequested() override { return InterruptSignal() != 0; }

  // Starts the clock of a new run, labelled (the plan shows the model's name).
  void Start(std::string label);
  // Ends the progress line.
  void Finish();

  // Direct insert: the answer to the rollback question (--on-errors); failures go to stderr.
  void SetRollbackAnswer(bool rollback) { FRollback = rollback; }
  // Every failure also goes to this file (empty: none), written as it happens; the terminal
  // shows the first ten of each run. The first run that fails replaces the file, later ones (a
  // plan's models) add to it, each under its label.
  void SetErrorsFile(std::string path) { FErrorsFile = std::move(path); }
  void SetMaxFailures(int n) { FMaxFailures = n; }
  int MaxFailures() const override { return FMaxFailures; }
  bool ConfirmRollback(const std::string& question, int errors) override;
  void DatabaseErrors(const std::string& memo) override;
  void DatabaseFailure(const std::string& entry) override;

  // True when the replace question was answered No.
  bool Refused() const { return FRefused; }

 private:
  bool FYes;
  bool FShow;
  bool FRefused = false;
  bool FRollback = true;
  bool FLineOpen = false;
  std::string FErrorsFile;
  std::FILE* FErrors = nullptr;   // the errors file while a run writes to it
  bool FErrorsStarted = false;    // the errors file has been replaced once
  int64_t FFailures = 0;          // failed statements of the current run
  int FMaxFailures = 0;
  std::string FLabel;
  std::chrono::steady_clock::time_point FStart;
  std::chrono::steady_clock::time_point FLastShown;
};

}  // namespace kelvast::cli
