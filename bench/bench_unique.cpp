// SPDX-License-Identifier: MIT
// The cost of unique values: the same models run with and without their unique keys (argument
// 1 and 0), on one thread to a CSV file, so the ratio of the two is what Unique costs a run: a
// model made mostly of keys, and the people example with two keys among its columns.
//   bench_unique --benchmark_filter=Run

#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/files/model_file.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/string_gens.h"
#include "core/generators/temporal_gens.h"
#include "core/model/gen_model.h"
#include "core/output/generation_run.h"
#include "core/platform/random.h"

namespace kelvast {
namespace {

constexpr int32_t kRecords = 500000;

// A key of its own for an integer id, another for a code made of a mask and a string, and a
// date alone in a third; a counter and a float beside them.
void BuildModel(TGenModel& model, bool unique, const std::string& file) {
  auto add = [&](const std::string& name, TColType type, int32_t key) -> TColParams& {
    TColToGenItem& item = model.Cols().Add();
    item.SetColName(name);
    item.SetDBColName(name);
    item.SetColType(type);
    item.Param().SetUnique(unique ? key : 0);
    return item.Param();
  };
  auto& id = static_cast<TCPInteger&>(add("id", ctInteger, 1));
  id.SetMinValue(1);
  id.SetMaxValue(10000000);
  static_cast<TCPFormatted&>(add("region", ctFormatted, 2)).SetMask("AA-00");
  auto& code = static_cast<TCPString&>(add("code", ctstring, 2));
  code.SetMinSize(8);
  code.SetDataLength(8);
  auto& day = static_cast<TCPDate&>(add("day", ctDate, 3));
  day.SetMinDate(1);
  day.SetMaxDate(2000000);
  add("seq", ctIncremental, 0);
  auto& price = static_cast<TCPFloat&>(add("price", ctFloat, 0));
  price.SetMinValue(1);
  price.SetMaxValue(10000);
  model.SetRecNumber(kRecords);
  model.SetSQLFile(file);
}

void Run(benchmark::State& state) {
  const bool unique = state.range(0) != 0;
  const auto file = std::filesystem::temp_directory_path() / "kelvast-bench-unique.csv";
  TGenModel model;
  BuildModel(model, unique, file.string());
  TRunOptions options;
  options.Mode = omCsv;
  options.Threads = 1;
  options.DictFolder = KELVAST_DICT_DIR;
  struct : TRunObserver {
    bool ConfirmReplace(const std::string&, const std::string&) override { return true; }
  } observer;
  for (auto _ : state) {
    RandSeed(7);
    benchmark::DoNotOptimize(RunGeneration(model, options, observer).Records);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  std::filesystem::remove(file);
}
BENCHMARK(Run)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The people example, its quantity (1 to 100,000) and its code (a mask) each a key of its own,
// beside names, e-mail, a city and dates that stay as they are.
void People(benchmark::State& state) {
  const auto file = std::filesystem::temp_directory_path() / "kelvast-bench-people.csv";
  const std::unique_ptr<TGenModel> model =
      LoadModelFile(std::filesystem::path(KELVAST_EXAMPLES) / "people.model");
  if (state.range(0) != 0) {
    model->FindGenerator("quantity")->SetUnique(1);
    model->FindGenerator("code")->SetUnique(2);
  }
  model->SetRecNumber(100000);
  model->SetSQLFile(file.string());
  TRunOptions options;
  options.Mode = omCsv;
  options.Threads = 1;
  options.DictFolder = KELVAST_DICT_DIR;
  struct : TRunObserver {
    bool ConfirmReplace(const std::string&, const std::string&) override { return true; }
  } observer;
  for (auto _ : state) {
    RandSeed(7);
    benchmark::DoNotOptimize(RunGeneration(*model, options, observer).Records);
  }
  state.SetItemsProcessed(state.iterations() * 100000);
  std::filesystem::remove(file);
}
BENCHMARK(People)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace kelvast
