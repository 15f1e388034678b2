// SPDX-License-Identifier: MIT
#pragma once
// The rows of a direct insert on their way into the table: value records (value_batch.h) made
// on the run's threads gather into a batch, and every full batch goes to the table through a
// batch loader on a thread of its own while the run makes the next one, so memory holds two
// batches whatever the number of records. An error of a load is raised at the next hand-over or
// at Close, and nothing more is loaded after it.

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "core/database/value_batch.h"
#include "core/output/batch_loader.h"
#include "core/output/row_sink.h"

namespace kelvast {

class TInsertStream final : public TRowStream {
 public:
  // A batch is loaded at kBatchRows rows or kBatchBytes bytes of values, whichever comes first.
  static constexpr size_t kBatchRows = 8192;
  static constexpr size_t kBatchBytes = 4 << 20;

  // loaded is called on the calling thread at every hand-over with the rows run so far.
  TInsertStream(TBatchLoader& loader, size_t columns, std::function<void(int64_t)> loaded)
      : TRowStream(1 << 18, 1 << 18),
        FLoader(loader),
        FBatch(columns),
        FPending(columns),
        FLoaded(std::move(loaded)) {}
  // Waits for the load under way; its error, if any, is dropped.
  ~TInsertStream() override { Stop(); }

  void WriteLines(TBlockSink& block) override {
    Add(block.Lines());
    block.Clear();
  }
  // Loads the rows not loaded yet and waits for them; raises the error of any load.
  void Close() override;
  // Waits for the load under way and ends the loading thread; loads nothing more.
  void Stop() noexcept;

 private:
  void Full() override {
    Add({FBuffer.data(), FLineEnd});
    ClearLines();
  }
  void Add(std::string_view records) {
    FBatch.AddRecords(records);
    if (FBatch.Rows() >= kBatchRows || FBatch.Bytes() >= kBatchBytes) HandOver();
  }
  // Waits until the loading thread is idle; raises the error of its last load.
  void WaitForLoader();
  void HandOver();
  void LoaderLoop();

  TBatchLoader& FLoader;
  TValueBatch FBatch;    // being filled by the run
  TValueBatch FPending;  // being loaded, while FBusy
  std::function<void(int64_t)> FLoaded;
  std::thread FThread;
  std::mutex FMutex;
  std::condition_variable FChanged;
  bool FBusy = false;
  bool FStop = false;
  std::exception_ptr FError;
  int64_t FRows = 0;  // the loader's rows after its last load
};

}  // namespace kelvast
