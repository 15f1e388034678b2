#pragma once
// The rows of a direct insert on their way into the table: value records (value_batch.h) made
// on the run's threads gather into a batch, and every full batch goes to the table through a
// batch loader while the run goes on, so memory holds one batch whatever the number of records.

#include <cstdint>
#include <functional>

#include "core/database/value_batch.h"
#include "core/output/batch_loader.h"
#include "core/output/row_sink.h"

namespace kelvast {

class TInsertStream final : public TRowStream {
 public:
  // A batch is loaded at kBatchRows rows or kBatchBytes bytes of values, whichever comes first.
  static constexpr size_t kBatchRows = 8192;
  static constexpr size_t kBatchBytes = 4 << 20;

  // loaded is called after every batch with the rows run so far.
  TInsertStream(TBatchLoader& loader, size_t columns, std::function<void(int64_t)> loaded)
      : TRowStream(1 << 18, 1 << 18), FLoader(loader), FBatch(columns), FLoaded(std::move(loaded)) {}

  void WriteLines(TBlockSink& block) override {
    Add(block.Lines());
    block.Clear();
  }
  // Loads the rows not loaded yet.
  void Close() override {
    Full();
    LoadBatch();
  }

 private:
  void Full() override {
    Add({FBuffer.data(), FLineEnd});
    FBuffer.clear();
    FLineEnd = 0;
  }
  void Add(std::string_view records) {
    FBatch.AddRecords(records);
    if (FBatch.Rows() >= kBatchRows || FBatch.Bytes() >= kBatchBytes) LoadBatch();
  }
  void LoadBatch() {
    if (FBatch.Empty()) return;
    FLoader.Load(FBatch);
    FBatch.Clear();
    FLoaded(FLoader.Rows());
  }

  TBatchLoader& FLoader;
  TValueBatch FBatch;
  std::function<void(int64_t)> FLoaded;
};

}  // namespace kelvast
