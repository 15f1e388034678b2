// SPDX-License-Identifier: MIT
// Loading the twelve reference word lists, as every run and sample preview does once before it
// starts, from the real Dict folder (about 85,000 lines, 850 KB).

#include "core/generators/word_lists.h"

#include <benchmark/benchmark.h>

namespace {

void BM_LoadWordLists(benchmark::State& state) {
  size_t entries = 0;
  for (auto _ : state) {
    kelvast::LoadWordLists(KELVAST_DICT_DIR);
    entries = 0;
    for (int i = 0; i < kelvast::kWordListCount; ++i)
      entries += kelvast::WordList(static_cast<kelvast::TWordList>(i)).size();
    benchmark::DoNotOptimize(entries);
    // A run clears the lists at its end; the next load starts from empty lists again.
    kelvast::ClearWordLists();
  }
  state.counters["entries"] = static_cast<double>(entries);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(entries));
}
BENCHMARK(BM_LoadWordLists)->Unit(benchmark::kMillisecond);

}  // namespace
