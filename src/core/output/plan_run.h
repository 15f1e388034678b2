// SPDX-License-Identifier: MIT
#pragma once
// Execution of a generation plan: each entry's model is read from the plan's folder, made
// current, connected, and run in the chosen output format.

#include <memory>
#include <string>
#include <vector>

#include "core/database/data_access.h"
#include "core/model/gen_model.h"
#include "core/output/generation_run.h"

namespace kelvast {

class TPlanObserver : public TRunObserver {
 public:
  // Entry index (0-based) of count is about to run.
  virtual void ModelStarting(int index, int count, const std::string& entry);
  // The entry's model could not be read; the plan goes on with the next entry.
  virtual void ModelSkipped(int index, const std::string& entry, const std::string& reason);
  // Applies the model's connection string and returns the connection its run uses (null: the
  // plan's options say); errors are the observer's to ignore.
  virtual TDataAccess* ApplyConnection(TGenModel& model);
  // The entry's run has ended (its outcome says how).
  virtual void ModelFinished(int index, const std::string& entry, const TRunResult& result);
  // The entry's run raised an error: true goes on with the next entry, false (the default) ends
  // the plan with that error.
  virtual bool ModelFailed(int index, const std::string& entry, const std::exception& error);
};

struct TPlanResult {
  int Ran = 0;      // models whose run was started
  int Skipped = 0;  // entries whose model could not be read
  int Failed = 0;   // runs that ended with an error the observer let the plan go past
  int WithFailures = 0;  // direct inserts that ended with failed statements
};

// Record counts a plan step runs with: the model's own, kept within 1 to 10,000,000.
inline constexpr int32_t kPlanMinRecords = 1;
inline constexpr int32_t kPlanMaxRecords = 10000000;

// Runs every entry in order. `current` holds the current model: each step replaces it (an
// unreadable entry leaves a new empty model), runs a copy of it, and the last model read stays. An error that
// escapes a run ends the plan unless the observer's ModelFailed goes on; an interrupted run
// ends it.
TPlanResult RunPlan(const std::string& planFile, const std::vector<std::string>& entries,
                    const TRunOptions& options, TPlanObserver& observer,
                    std::unique_ptr<TGenModel>& current);

}  // namespace kelvast
