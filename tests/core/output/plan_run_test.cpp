// SPDX-License-Identifier: MIT
// Plan execution: each step generates from a copy of the current model, so a caller that edits
// or replaces the current model while the step reports progress changes nothing in its file.

#include <gtest/gtest.h>

#include "core/files/model_file.h"
#include "core/output/output_fixture.h"
#include "core/output/plan_run.h"
#include "support/test_support.h"

namespace kelvast::test {
namespace {

// Empties and then replaces the current model at the first progress report of each step.
struct TMeddlingObserver : TPlanObserver {
  explicit TMeddlingObserver(std::unique_ptr<TGenModel>& current) : FCurrent(current) {}
  void ModelStarting(int, int, const std::string&) override { FMeddled = false; }
  void Progress(int64_t, int64_t) override {
    if (FMeddled) return;
    FMeddled = true;
    FCurrent->Cols().Clear();
    FCurrent = std::make_unique<TGenModel>();
  }
  int64_t ProgressStep() const override { return 1; }
  std::unique_ptr<TGenModel>& FCurrent;
  bool FMeddled = false;
};

TEST(PlanRun, StepsRunACopyOfTheCurrentModel) {
  TempDir dir;
  for (const char* name : {"a", "b"}) {
    TGenModel model;
    AddConst(model, "A", name);
    AddCounter(model, "B");
    model.SetRecNumber(50);
    model.SetSQLFile((dir / (std::string(name) + ".csv")).string());
    SaveModelFile(dir / (std::string(name) + ".model"), model);
  }
  TRunOptions options;
  options.Mode = omCsv;
  options.DictFolder = KELVAST_DICT_DIR;
  std::unique_ptr<TGenModel> current = std::make_unique<TGenModel>();
  TMeddlingObserver observer(current);
  const TPlanResult result =
      RunPlan((dir / "p.plan").string(), {"a.model", "b.model"}, options, observer, current);
  EXPECT_EQ(result.Ran, 2);
  for (const char* name : {"a", "b"}) {
    std::string expected = "\"A\",\"B\"\r\n";
    for (int r = 1; r <= 50; ++r) expected += "\"" + std::string(name) + "\"," + std::to_string(r) + "\r\n";
    EXPECT_EQ(ReadFileBytes(dir / (std::string(name) + ".csv")), expected) << name;
  }
}

}  // namespace
}  // namespace kelvast::test
