// SPDX-License-Identifier: MIT
// The cost of one value of each generator type, asked for the way a run asks: the record's value
// is forgotten, then drawn. Each benchmark holds a model with one generator of the type, with
// that type's default settings, and is named after the type's display name.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/generators/registry.h"
#include "core/database/data_access.h"
#include "core/generators/composite_gens.h"
#include "core/generators/word_lists.h"
#include "core/model/col_types.h"
#include "core/model/gen_model.h"

namespace kelvast {
namespace {

// A connection that answers every query with the same few values, so that a column reference
// measures its own draw and not a database.
class TMemoryConnection : public TDataAccess {
 public:
  bool Connected() const override { return true; }
  std::vector<std::string> Query(const std::string&) override {
    return {"Amsterdam", "Berlin", "Copenhagen", "Dublin", "Edinburgh", "Florence", "Geneva"};
  }
  void Execute(const std::string&) override {}
  std::vector<std::string> FieldNames(const std::string&) override { return {"name"}; }
  char IdentifierQuote() override { return '"'; }
  void BeginTrans() override {}
  void CommitTrans() override {}
  void RollbackTrans() override {}
  bool InTransaction() const override { return false; }
};

void GetValueOfType(benchmark::State& state, TColType type) {
  // Loaded once for the whole process: the dictionary and person types draw from the lists.
  static TWordListsLoaded lists(KELVAST_DICT_DIR);
  TMemoryConnection connection;

  TGenModel model;
  TColToGenItem& item = model.Cols().Add();
  item.SetColName("Generator 1");
  item.SetColType(type);
  if (auto* ref = dynamic_cast<TCPColRef*>(&item.Param())) {
    ref->SetTable("CITIES");
    ref->SetField("NAME");
  }
  model.PrepareAll(&connection);
  // Draws the record's courtesy title, which first names and the Sex type read.
  model.NewRecord();

  TColParams& param = item.Param();
  for (auto _ : state) {
    param.ClearLastValue();
    benchmark::DoNotOptimize(param.GetValue());
  }
  state.SetItemsProcessed(state.iterations());
}

const bool kRegistered = [] {
  // The types the generator choice offers: ordinals 1 to 25.
  for (int t = 1; t < kColTypeCount; ++t)
    benchmark::RegisterBenchmark(std::string(GeneratorTypeOf(static_cast<TColType>(t)).DisplayName).c_str(), GetValueOfType,
                                 static_cast<TColType>(t));
  return true;
}();

}  // namespace
}  // namespace kelvast
