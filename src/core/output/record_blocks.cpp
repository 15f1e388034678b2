// SPDX-License-Identifier: MIT
#include "core/output/record_blocks.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "core/model/model_copy.h"
#include "core/platform/packed_texts.h"
#include "core/platform/random.h"

namespace kelvast {

namespace {

// The numbers of block b's records within the run's range.
TRecordRange BlockRange(const TRecordRange& range, int64_t block) {
  const int64_t first = range.First + block * kBlockRecords;
  const int64_t end = range.First + range.Count;
  return {first, std::min(kBlockRecords, end - first)};
}

// Block b of a run whose blocks are numbered from the range's first record: block numbers count
// from record 1, so a part of a run makes the same blocks as the whole run.
uint64_t BlockNumber(const TRecordRange& block) {
  return static_cast<uint64_t>((block.First - 1) / kBlockRecords);
}

// Makes the records of one block into sink; returns how many were completed before an error
// (which `error` then holds), or the block's count.
int64_t MakeBlock(TGenModel& model, TRecordWriter& writer, TRowSink& sink,
                  const TRecordRange& block, uint64_t seed, std::exception_ptr& error) {
  GlobalRandom() = BlockRandom(seed, BlockNumber(block));
  NewDrawEpoch();
  // Unique values follow the run's seed, the same on every thread.
  model.SeedUniqueKeys(seed);
  int64_t done = 0;
  try {
    for (; done < block.Count; ++done) {
      model.NewRecord(block.First + done);
      writer.Row(sink);
    }
  } catch (...) {
    error = std::current_exception();
  }
  return done;
}

// Progress is reported whenever a multiple of the observer's step is passed, and at the end.
class TProgress {
 public:
  TProgress(TRunObserver& observer, int64_t total)
      : FObserver(observer), FTotal(total), FStep(std::max<int64_t>(1, observer.ProgressStep())) {}
  void Written(int64_t before, int64_t now) {
    if (now / FStep != before / FStep || now == FTotal) FObserver.Progress(now, FTotal);
  }

 private:
  TRunObserver& FObserver;
  int64_t FTotal;
  int64_t FStep;
};

TBlocksOutcome WriteOnThisThread(TGenModel& model, TRecordWriter& writer, TRowStream& file,
                                 TRunObserver& observer, TRecordRange range, uint64_t seed) {
  TBlocksOutcome outcome;
  TProgress progress(observer, range.Count);
  const int64_t blocks = (range.Count + kBlockRecords - 1) / kBlockRecords;
  for (int64_t b = 0; b < blocks; ++b) {
    const TRecordRange block = BlockRange(range, b);
    std::exception_ptr error;
    const int64_t done = MakeBlock(model, writer, file, block, seed, error);
    const int64_t before = outcome.Written;
    outcome.Written += done;
    if (error) std::rethrow_exception(error);
    progress.Written(before, outcome.Written);
    if (outcome.Written < range.Count && observer.StopRequested()) {
      outcome.Interrupted = true;
      break;
    }
  }
  return outcome;
}

// The blocks in flight: worker threads claim blocks in order and fill the slot of each; the
// calling thread takes the slots in order. A block may start only when the block that last used
// its slot has been taken, so memory holds at most kSlotsPerThread blocks per thread.
class TBlockPipeline {
 public:
  static constexpr int kSlotsPerThread = 2;

  TBlockPipeline(TGenModel& model, TRecordWriter& writer, TRecordRange range, uint64_t seed,
                 int threads, TDataAccess* connection)
      : FRange(range),
        FSeed(seed),
        FBlocks((range.Count + kBlockRecords - 1) / kBlockRecords),
        FSlots(static_cast<size_t>(threads * kSlotsPerThread)) {
    // Copies are made and prepared here, on the calling thread: preparing may read the database.
    for (int t = 0; t < threads; ++t) {
      TWorker& worker = FWorkers.emplace_back();
      worker.Model = CopyModel(model);
      worker.Model->PrepareAll(connection);
      worker.Writer = writer.RowWriter(*worker.Model);
    }
    for (TWorker& worker : FWorkers) worker.Thread = std::thread([this, &worker] { Work(worker); });
  }

  ~TBlockPipeline() {
    {
      std::lock_guard lock(FMutex);
      FStop = true;
    }
    FChanged.notify_all();
    for (TWorker& worker : FWorkers)
      if (worker.Thread.joinable()) worker.Thread.join();
  }

  int64_t Blocks() const { return FBlocks; }

  // Waits for block b, appends its lines to file, counts its rows in writer and frees its slot;
  // returns its records. An error of the block is raised after its complete records are
  // appended.
  int64_t Take(int64_t b, TRowStream& file, TRecordWriter& writer) {
    TSlot& slot = SlotOf(b);
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [&] { return slot.Block == b && slot.Ready; });
    lock.unlock();
    file.WriteLines(slot.Sink);
    const int64_t done = slot.Done;
    writer.AddRows(done, slot.DataSize);
    const std::exception_ptr error = slot.Error;
    lock.lock();
    slot.Ready = false;
    slot.Error = nullptr;
    FTaken = b + 1;
    lock.unlock();
    FChanged.notify_all();
    if (error) std::rethrow_exception(error);
    return done;
  }

 private:
  struct TSlot {
    TBlockSink Sink;
    int64_t Block = -1;
    int64_t Done = 0;
    int64_t DataSize = 0;
    bool Ready = false;
    std::exception_ptr Error;
  };
  struct TWorker {
    std::unique_ptr<TGenModel> Model;
    std::unique_ptr<TRecordWriter> Writer;
    std::thread Thread;
  };

  TSlot& SlotOf(int64_t b) { return FSlots[static_cast<size_t>(b) % FSlots.size()]; }

  void Work(TWorker& worker) {
    for (;;) {
      const int64_t b = FNext.fetch_add(1);
      if (b >= FBlocks) return;
      TSlot& slot = SlotOf(b);
      {
        std::unique_lock lock(FMutex);
        FChanged.wait(lock, [&] {
          return FStop || b < FTaken + static_cast<int64_t>(FSlots.size());
        });
        if (FStop) return;
      }
      slot.Sink.Clear();
      std::exception_ptr error;
      const int64_t sizeBefore = worker.Writer->DataSize();
      const int64_t done =
          MakeBlock(*worker.Model, *worker.Writer, slot.Sink, BlockRange(FRange, b), FSeed, error);
      {
        std::lock_guard lock(FMutex);
        slot.Block = b;
        slot.Done = done;
        slot.DataSize = worker.Writer->DataSize() - sizeBefore;
        slot.Error = error;
        slot.Ready = true;
      }
      FChanged.notify_all();
      if (error) return;  // the blocks after it are never taken
    }
  }

  const TRecordRange FRange;
  const uint64_t FSeed;
  const int64_t FBlocks;
  std::vector<TSlot> FSlots;
  std::vector<TWorker> FWorkers;
  std::atomic<int64_t> FNext{0};
  std::mutex FMutex;
  std::condition_variable FChanged;
  int64_t FTaken = 0;
  bool FStop = false;
};

}  // namespace

TRecordRange PartRange(int64_t total, int part, int parts) {
  if (total <= 0 || parts <= 1) return {1, std::max<int64_t>(total, 0)};
  part = std::clamp(part, 1, parts);
  const int64_t blocks = (total + kBlockRecords - 1) / kBlockRecords;
  const int64_t firstBlock = blocks * (part - 1) / parts;
  const int64_t endBlock = blocks * part / parts;
  const int64_t first = firstBlock * kBlockRecords + 1;
  const int64_t end = std::min(endBlock * kBlockRecords, total) + 1;
  return {first, std::max<int64_t>(end - first, 0)};
}

int RunThreads(int threads) {
  if (threads > 0) return threads;
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

TBlocksOutcome WriteRecordBlocks(TGenModel& model, TRecordWriter& writer, TRowStream& file,
                                 TRunObserver& observer, TRecordRange range, uint64_t seed,
                                 int threads, TDataAccess* connection) {
  const int64_t blocks = (range.Count + kBlockRecords - 1) / kBlockRecords;
  threads = static_cast<int>(std::min<int64_t>(RunThreads(threads), std::max<int64_t>(blocks, 1)));
  // The calling thread's own source is left as it was, however the blocks were made.
  const TRandomSource saved = GlobalRandom();
  struct TRestore {
    const TRandomSource& Saved;
    ~TRestore() { GlobalRandom() = Saved; }
  } restore{saved};
  if (threads <= 1) return WriteOnThisThread(model, writer, file, observer, range, seed);

  TBlocksOutcome outcome;
  TProgress progress(observer, range.Count);
  TBlockPipeline pipeline(model, writer, range, seed, threads, connection);
  for (int64_t b = 0; b < pipeline.Blocks(); ++b) {
    const int64_t before = outcome.Written;
    outcome.Written += pipeline.Take(b, file, writer);
    progress.Written(before, outcome.Written);
    if (outcome.Written < range.Count && observer.StopRequested()) {
      outcome.Interrupted = true;
      break;
    }
  }
  return outcome;
}

}  // namespace kelvast
