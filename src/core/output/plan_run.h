#pragma once
// Execution of a generation plan: each entry's model is read from the plan's folder, made
// current, connected, and run in the chosen output format.

#include <memory>
#include <string>
#include <vector>

#include "core/model/gen_model.h"
#include "core/output/generation_run.h"

namespace kelvast {

class TPlanObserver : public TRunObserver {
 public:
  // Entry index (0-based) of count is about to run.
  virtual void ModelStarting(int index, int count, const std::string& entry);
  // The entry's model could not be read; the plan goes on with the next entry.
  virtual void ModelSkipped(int index, const std::string& entry, const std::string& reason);
  // Applies the model's connection string; errors are the observer's to ignore.
  virtual void ApplyConnection(TGenModel& model);
};

struct TPlanResult {
  int Ran = 0;      // models whose run was started
  int Skipped = 0;  // entries whose model could not be read
};

// Runs every entry in order. `current` holds the current model: each step replaces it (an
// unreadable entry leaves a new empty model), and the last model read stays. An error that
// escapes a run ends the plan.
TPlanResult RunPlan(const std::string& planFile, const std::vector<std::string>& entries,
                    const TRunOptions& options, TPlanObserver& observer,
                    std::unique_ptr<TGenModel>& current);

}  // namespace kelvast
