// SPDX-License-Identifier: MIT
// Runs on several threads: the same seed gives the same bytes whatever the number of threads, and
// a run that stops on an error stops at the same record with the same file.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/files/model_file.h"
#include "core/generators/person_gens.h"
#include "core/generators/word_lists.h"
#include "core/output/generation_run.h"
#include "core/output/record_blocks.h"
#include "core/platform/errors.h"
#include "core/platform/random.h"
#include "core/platform/text_utils.h"
#include "support/memory_data_access.h"
#include "support/test_support.h"

namespace kelvast::test {
namespace {

namespace fs = std::filesystem;

struct QuietObserver : TRunObserver {
  std::vector<int64_t> progress;
  bool ConfirmReplace(const std::string&, const std::string&) override { return true; }
  void ShowMessage(const std::string&) override {}
  void Progress(int64_t record, int64_t) override { progress.push_back(record); }
};

constexpr int kThreadCounts[] = {1, 2, 3, 8};

// The file of a seeded run of the model on `threads` threads.
std::string RunWith(TGenModel& model, TOutputMode mode, int threads, const fs::path& file,
                    TDataAccess* connection, QuietObserver& observer,
                    const fs::path& dict = KELVAST_DICT_DIR, int part = 1, int parts = 1) {
  model.SetSQLFile(file.string());
  TRunOptions options;
  options.Part = part;
  options.Parts = parts;
  options.Mode = mode;
  options.DictFolder = dict;
  options.Threads = threads;
  options.Connection = connection;
  options.FixedTime = 45000.5;
  RandSeed(20261211);
  RunGeneration(model, options, observer);
  return ReadFileBytes(OutputPathFor(file.string(), mode));
}

TEST(ParallelRun, EveryThreadCountWritesTheSameBytes) {
  TempDir dir;
  TMemoryDataAccess db;
  db.SetColumn("customers", "name", {"Ada", "Grace", "Edsger", std::nullopt});
  // Three and a half blocks, so that the last block is short and the threads share the work.
  const int64_t records = 3 * kBlockRecords + kBlockRecords / 2;
  for (const char* example : {"people.model", "orders.model", "all-types.model"}) {
    const auto model = LoadModelFile(fs::path(KELVAST_EXAMPLES) / example);
    model->SetRecNumber(static_cast<int32_t>(records));
    for (const TOutputMode mode : {omSqlScript, omCsv, omXml}) {
      SCOPED_TRACE(std::string(example) + " " + std::string(OutputExtension(mode)));
      QuietObserver one;
      const std::string single = RunWith(*model, mode, 1, dir / "one", &db, one);
      ASSERT_GT(SplitLines(single).size(), static_cast<size_t>(records));
      EXPECT_EQ(one.progress, (std::vector<int64_t>{1024, 2048, 3072, records}));
      for (const int threads : kThreadCounts) {
        QuietObserver observer;
        EXPECT_EQ(RunWith(*model, mode, threads, dir / "many", &db, observer), single)
            << threads << " threads";
        EXPECT_EQ(observer.progress, one.progress);
      }
    }
  }
}

// The lines of a file without its first `head` and last `tail` lines.
std::vector<std::string> Records(const std::string& file, size_t head, size_t tail) {
  std::vector<std::string> lines = SplitLines(file);
  if (lines.size() < head + tail) return {};
  return {lines.begin() + static_cast<std::ptrdiff_t>(head),
          lines.end() - static_cast<std::ptrdiff_t>(tail)};
}

TEST(ParallelRun, PartsTakenInOrderHoldTheRecordsOfTheWholeRun) {
  TempDir dir;
  TMemoryDataAccess db;
  db.SetColumn("customers", "name", {"Ada", "Grace", "Edsger"});
  const int64_t records = 3 * kBlockRecords + kBlockRecords / 2;
  for (const char* example : {"people.model", "orders.model", "all-types.model"}) {
    const auto model = LoadModelFile(fs::path(KELVAST_EXAMPLES) / example);
    for (const TOutputMode mode : {omSqlScript, omCsv, omXml}) {
      SCOPED_TRACE(std::string(example) + " " + std::string(OutputExtension(mode)));
      QuietObserver observer;
      // An empty part (there are fewer blocks than parts) is the frame every file has: its
      // header and footer lines.
      model->SetRecNumber(static_cast<int32_t>(records));
      const std::vector<std::string> frame = SplitLines(
          RunWith(*model, mode, 2, dir / "frame", &db, observer, KELVAST_DICT_DIR, 1, 1000));
      const std::string whole = RunWith(*model, mode, 2, dir / "whole", &db, observer);
      size_t head = 0;
      const std::vector<std::string> wholeLines = SplitLines(whole);
      while (head < frame.size() && wholeLines[head] == frame[head]) ++head;
      const size_t tail = frame.size() - head;
      const std::vector<std::string> expected = Records(whole, head, tail);
      ASSERT_EQ(expected.size() % static_cast<size_t>(records), 0u);

      for (const int parts : {1, 3, 7}) {
        std::vector<std::string> joined;
        for (int part = 1; part <= parts; ++part) {
          const std::string file =
              RunWith(*model, mode, 3, dir / "part", &db, observer, KELVAST_DICT_DIR, part, parts);
          // Every part is a whole file: the frame's header, its records, a footer.
          ASSERT_GE(SplitLines(file).size(), frame.size());
          EXPECT_TRUE(std::equal(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(head),
                                 SplitLines(file).begin()));
          const std::vector<std::string> part_records = Records(file, head, tail);
          joined.insert(joined.end(), part_records.begin(), part_records.end());
        }
        EXPECT_EQ(joined, expected) << parts << " parts";
      }
    }
  }
}

TEST(ParallelRun, AnErrorStopsAtTheSameRecordWhateverTheThreads) {
  TempDir dir;
  // No boys' names: the first record titled Mister fails, some way into the run.
  const fs::path dict = dir / "dict";
  fs::create_directories(dict);
  for (const auto& entry : fs::directory_iterator(KELVAST_DICT_DIR))
    fs::copy_file(entry.path(), dict / entry.path().filename());
  WriteFileBytes(dict / WordListFileName(TWordList::BoyNames), "");
  TGenModel model;
  TColToGenItem& name = model.Cols().Add();
  name.SetColName("first");
  name.SetColType(ctFirstName);
  PersonOf(model).SetMisterPercent(0.02f);
  PersonOf(model).SetMissisPercent(50);
  PersonOf(model).SetMissPercent(50);
  model.SetRecNumber(40 * static_cast<int32_t>(kBlockRecords));

  std::string first;
  for (const int threads : kThreadCounts) {
    SCOPED_TRACE(threads);
    QuietObserver observer;
    EXPECT_THROW(RunWith(model, omCsv, threads, dir / "out", nullptr, observer, dict),
                 EGenerationError);
    const std::string file = ReadFileBytes(dir / "out.csv");
    ASSERT_TRUE(file.empty() || file.ends_with("\r\n"));
    if (threads == 1) {
      first = file;
      // The error came after the first block, and the records before it are all there.
      EXPECT_GT(SplitLines(file).size(), static_cast<size_t>(kBlockRecords));
    }
    EXPECT_EQ(file, first);
  }
}

}  // namespace
}  // namespace kelvast::test
