// SPDX-License-Identifier: MIT
// The PostgreSQL server going away in the middle of a direct insert's execution: the run ends
// with the connection's error, and once the server is back the table holds none of the run's
// rows. The test stops its own throwaway server (not the one the other tests share).

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/database/database_fixture.h"
#include "core/output/generation_run.h"
#include "core/output/output_fixture.h"

namespace kelvast::test {
namespace {

int Server(const std::string& command, const std::string& mode = "") {
  return std::system((std::string(KELVAST_PG_SCRIPT) + " " + command + " " +
                      KELVAST_PG_FAULT_STATE + " " + mode + " >&2")
                         .c_str());
}

// Stops the server once `stopAt` statements have run: "immediate" as a crash would, "fast" as an
// administrator would.
struct StopServerObserver : TRunObserver {
  int64_t stopAt = 0;
  std::string mode;
  bool stopped = false;
  int64_t stoppedAt = 0;  // the rows loaded when the server was stopped
  std::vector<std::string> memos;
  void InsertProgress(int64_t done, int64_t) override {
    if (!stopped && done >= stopAt) {
      stopped = true;
      stoppedAt = done;
      EXPECT_EQ(Server("stop", mode), 0);
    }
  }
  int64_t ProgressStep() const override { return 100; }
  void DatabaseErrors(const std::string& memo) override { memos.push_back(memo); }
};

TEST(PostgresFault, ServerStoppedDuringExecutionLeavesNoRows) {
  PostgresDatabase database(KELVAST_PG_FAULT_STATE);
  TOdbcConnection db(database.ConnectionString());
  db.Open();
  db.Execute("CREATE TABLE people (id integer, name varchar(20))");
  // The throwaway cluster commits asynchronously: without a checkpoint an immediate stop within a
  // fraction of a second could lose the table itself, not only the run's rows.
  db.Execute("CHECKPOINT");

  TGenModel model;
  model.SetTableName("people");
  model.SetDelimiter("\"\"");
  model.SetRecNumber(20000);  // several batches
  AddCounter(model, "id");
  AddConst(model, "name", "x");
  TempDir temp;
  TRunOptions options;
  options.Mode = omDatabase;
  options.DictFolder = KELVAST_DICT_DIR;
  options.Connection = &db;

  for (const char* mode : {"immediate", "fast"}) {
    SCOPED_TRACE(mode);
    StopServerObserver observer;
    observer.stopAt = 1;  // after the first batch
    observer.mode = mode;
    try {
      RunGeneration(model, options, observer);
      ADD_FAILURE() << "the run went on without its server";
    } catch (const EDatabaseError& e) {
      EXPECT_TRUE(e.ConnectionLost()) << e.SqlState() << " " << e.what();
      const std::string expected = "The connection to the database was lost at statement " +
                                   std::to_string(observer.stoppedAt + 1) + " of 20000: ";
      EXPECT_EQ(std::string(e.what()).substr(0, expected.size()), expected);
    }
    EXPECT_TRUE(observer.stopped);
    EXPECT_EQ(observer.memos.size(), 1u);

    db.Close();
    ASSERT_EQ(Server("start"), 0);
    db.Open();
    EXPECT_EQ(db.Query("SELECT COUNT(*) FROM people"), (std::vector<std::string>{"0"}));
  }
}

}  // namespace
}  // namespace kelvast::test
