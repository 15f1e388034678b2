// SPDX-License-Identifier: MIT
#pragma once
// A run's records, made in blocks on every core. Block b holds records b * kBlockRecords + 1 on;
// its random source comes from the run's seed and b alone (BlockRandom), each record's counters
// from its number, and draws made ahead never cross a block. A block is thus the same bytes
// whichever thread makes it, and the file the same whatever the number of threads.
//
// Each worker thread has a copy of the model and a row writer of its own, and builds blocks into
// buffers of its own; the calling thread appends them to the file in order, reports progress and
// asks whether to stop. With one thread the calling thread makes the blocks itself, straight into
// the file.

#include <cstdint>
#include <functional>

#include "core/output/generation_run.h"
#include "core/output/record_writer.h"

namespace kelvast {

inline constexpr int64_t kBlockRecords = 1024;
static_assert(kBlockRecords == kStopCheckRecords, "a run may stop at the end of every block");

struct TRecordRange {
  int64_t First = 1;  // the number of the first record
  int64_t Count = 0;
};

struct TBlocksOutcome {
  int64_t Written = 0;  // records written
  bool Interrupted = false;
};

// Writes the records of `range` of the prepared model through writer into file, on `threads`
// threads (0: every core). Workers' copies are prepared with connection. An error of a record
// ends the run after the records before it, whatever thread made it: they are written, then the
// error is raised.
TBlocksOutcome WriteRecordBlocks(TGenModel& model, TRecordWriter& writer, TRowStream& file,
                                 TRunObserver& observer, TRecordRange range, uint64_t seed,
                                 int threads, TDataAccess* connection);

// The number of threads a run uses: `threads`, or every core for 0.
int RunThreads(int threads);

// The records of part `part` of `parts` (1 <= part <= parts) of a run of `total` records: the
// blocks are shared out in order, so every part starts at a block's first record and makes the
// same blocks as the whole run. A part may be empty when there are fewer blocks than parts.
TRecordRange PartRange(int64_t total, int part, int parts);

}  // namespace kelvast
