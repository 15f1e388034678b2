// SPDX-License-Identifier: MIT
#include "core/output/plan_run.h"

#include <algorithm>

#include "core/files/model_file.h"
#include "core/files/plan_file.h"
#include "core/model/model_copy.h"

namespace kelvast {

void TPlanObserver::ModelStarting(int, int, const std::string&) {}
void TPlanObserver::ModelSkipped(int, const std::string&, const std::string&) {}
TDataAccess* TPlanObserver::ApplyConnection(TGenModel&) { return nullptr; }
void TPlanObserver::ModelFinished(int, const std::string&, const TRunResult&) {}
bool TPlanObserver::ModelFailed(int, const std::string&, const std::exception&) { return false; }

TPlanResult RunPlan(const std::string& planFile, const std::vector<std::string>& entries,
                    const TRunOptions& options, TPlanObserver& observer,
                    std::unique_ptr<TGenModel>& current) {
  TPlanResult result;
  const int count = static_cast<int>(entries.size());
  for (int i = 0; i < count; ++i) {
    const std::string& entry = entries[static_cast<size_t>(i)];
    current.reset();
    try {
      current = LoadModelFile(PlanEntryPath(planFile, entry));
    } catch (const std::exception& e) {
      current = std::make_unique<TGenModel>();
      ++result.Skipped;
      observer.ModelSkipped(i, entry, e.what());
      continue;
    }
    observer.ModelStarting(i, count, entry);
    TDataAccess* connection = observer.ApplyConnection(*current);
    current->SetRecNumber(std::clamp(current->RecNumber(), kPlanMinRecords, kPlanMaxRecords));
    current->SetModified(false);
    TRunOptions step = options;
    step.UserStarted = false;
    if (connection) step.Connection = connection;
    ++result.Ran;
    TRunResult run;
    try {
      // The step generates from a copy, so that nothing done to the current model while the run
      // lets its caller work can change or free what it writes.
      const std::unique_ptr<TGenModel> running = CopyModel(*current);
      run = RunGeneration(*running, step, observer);
    } catch (const std::exception& e) {
      if (!observer.ModelFailed(i, entry, e)) throw;
      ++result.Failed;
      continue;
    }
    if (run.FailedStatements > 0) ++result.WithFailures;
    observer.ModelFinished(i, entry, run);
    if (run.Outcome == roInterrupted) break;
  }
  return result;
}

}  // namespace kelvast
