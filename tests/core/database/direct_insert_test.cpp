// SPDX-License-Identifier: MIT
// The direct insert on both databases: a large run committed, failed rows rolled back or
// committed on the caller's word, no connection, values with line breaks.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "core/database/database_fixture.h"
#include "core/output/database_writer.h"
#include "core/output/generation_run.h"
#include "core/output/output_fixture.h"

namespace kelvast::test {
namespace {

namespace fs = std::filesystem;

struct InsertObserver : TRunObserver {
  bool rollback = true;
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<std::string> memos;
  std::vector<int64_t> progress;
  bool ConfirmRollback(const std::string& question, int) override {
    questions.push_back(question);
    return rollback;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void DatabaseErrors(const std::string& memo) override { memos.push_back(memo); }
  void InsertProgress(int64_t done, int64_t) override { progress.push_back(done); }
  int64_t ProgressStep() const override { return 4; }
};

template <class B>
class DirectInsertTest : public DatabaseTest<B> {
 protected:
  // Makes the model write `records` rows into `table`: an id counting from 1 and a text.
  static void Fill(TGenModel& model, const std::string& table, int records,
                   const std::string& text = "x") {
    model.SetTableName(table);
    model.SetDelimiter("\"\"");
    model.SetRecNumber(records);
    AddCounter(model, "id");
    AddConst(model, "name", text);
  }
  TRunOptions Options(TDataAccess* connection) {
    TRunOptions o;
    o.Mode = omDatabase;
    o.DictFolder = KELVAST_DICT_DIR;
    o.Connection = connection;
    return o;
  }
};
TYPED_TEST_SUITE(DirectInsertTest, Backends, BackendNames);

TYPED_TEST(DirectInsertTest, TenThousandRowsAreCommitted) {
  this->Run({"CREATE TABLE people (id integer, name varchar(20))"});
  TGenModel model;
  this->Fill(model, "people", 10000, "O'Brien");
  InsertObserver observer;
  const TRunResult result = RunGeneration(model, this->Options(&this->Db()), observer);
  EXPECT_EQ(result.Outcome, roDone);
  EXPECT_EQ(result.Records, 10000);
  EXPECT_EQ(result.FailedStatements, 0);
  EXPECT_FALSE(result.RolledBack);
  EXPECT_TRUE(observer.questions.empty());
  EXPECT_EQ(observer.memos, (std::vector<std::string>{""}));
  EXPECT_EQ(observer.progress.front(), 0);
  EXPECT_EQ(observer.progress.back(), 10000);
  EXPECT_FALSE(this->Db().InTransaction());
  EXPECT_EQ(this->Count("people"), 10000);
  EXPECT_EQ(this->Db().Query("SELECT MAX(id) FROM people"), (std::vector<std::string>{"10000"}));
  EXPECT_EQ(this->Db().Query("SELECT DISTINCT name FROM people"),
            (std::vector<std::string>{"O'Brien"}));
}

TYPED_TEST(DirectInsertTest, AnInterruptedInsertLeavesTheTableAlone) {
  this->Run({"CREATE TABLE people (id integer, name varchar(20))",
             "INSERT INTO people VALUES (0, 'before')"});
  TGenModel model;
  this->Fill(model, "people", 10000);
  struct Stopping : InsertObserver {
    bool StopRequested() override { return true; }
  } observer;
  const TRunResult result = RunGeneration(model, this->Options(&this->Db()), observer);
  EXPECT_EQ(result.Outcome, roInterrupted);
  EXPECT_EQ(result.Records, kStopCheckRecords);  // stopped at the first check
  EXPECT_TRUE(result.RolledBack);
  EXPECT_FALSE(this->Db().InTransaction());
  EXPECT_EQ(this->Count("people"), 1);
}

TYPED_TEST(DirectInsertTest, FailedStatementsAreRolledBackOrCommittedAsAnswered) {
  // Rows already there make three inserts fail on the primary key: within ten records, and in
  // six hundred at the first, a middle and the last record (across the savepoint batches).
  struct Case {
    int records;
    std::vector<int> existing;
    bool rollback;
  };
  const Case cases[] = {
      {10, {3, 6, 9}, true},
      {10, {3, 6, 9}, false},
      {600, {1, 300, 600}, true},
      {600, {1, 300, 600}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.records) + (c.rollback ? " rollback" : " commit"));
    this->Run({"DROP TABLE IF EXISTS items",
               "CREATE TABLE items (id integer PRIMARY KEY, name varchar(20))"});
    for (int id : c.existing)
      this->Db().Execute("INSERT INTO items VALUES (" + std::to_string(id) + ", 'old')");
    TGenModel model;
    this->Fill(model, "items", c.records);
    InsertObserver observer;
    observer.rollback = c.rollback;
    const TRunResult result = RunGeneration(model, this->Options(&this->Db()), observer);
    EXPECT_EQ(result.FailedStatements, 3);
    EXPECT_EQ(result.RolledBack, c.rollback);
    EXPECT_EQ(observer.questions, (std::vector<std::string>{RollbackQuestion(3)}));
    const int64_t rows = c.rollback ? 3 : c.records;
    EXPECT_EQ(this->Count("items"), rows);
    EXPECT_EQ(this->Db().Query("SELECT COUNT(DISTINCT id) FROM items"),
              (std::vector<std::string>{std::to_string(rows)}));
    EXPECT_EQ(this->Db().Query("SELECT COUNT(*) FROM items WHERE name = 'old'"),
              (std::vector<std::string>{"3"}));

    // One memo entry per failed statement, in order: message, the statement, the rule.
    ASSERT_EQ(observer.memos.size(), 1u);
    const std::string& memo = observer.memos[0];
    const std::string rule = "\r\n" + std::string(56, '-') + "\r\n";
    size_t previous = 0;
    for (int id : c.existing) {
      const std::string entryEnd = "\r\nINSERT INTO \"items\" (\"id\", \"name\") VALUES (" +
                                   std::to_string(id) + ", 'x')" + rule;
      const size_t at = memo.find(entryEnd);
      EXPECT_NE(at, std::string::npos) << memo;
      EXPECT_GE(at, previous);
      previous = at;
    }
    size_t rules = 0;
    for (size_t at = memo.find(rule); at != std::string::npos; at = memo.find(rule, at + 1))
      ++rules;
    EXPECT_EQ(rules, 3u);
  }
}

// The failure limit ends the insert and the run: no more records are made once it is reached,
// and the result counts the rows run up to the failure that reached it and those kept.
TYPED_TEST(DirectInsertTest, TheFailureLimitStopsTheRunAndCountsWhatWentIn) {
  struct Limited : InsertObserver {
    int MaxFailures() const override { return 5; }
    void Progress(int64_t record, int64_t) override { made = std::max(made, record); }
    int64_t made = 0;
  };
  constexpr int kAsked = 200000;
  for (const bool rollback : {true, false}) {
    SCOPED_TRACE(rollback ? "rollback" : "commit");
    // Odd ids are refused: ids 1, 3, 5, 7 and 9 fail, and the fifth failure ends the insert.
    this->Run({"DROP TABLE IF EXISTS items",
               "CREATE TABLE items (id integer CHECK (id % 2 = 0), name varchar(20))"});
    TGenModel model;
    this->Fill(model, "items", kAsked);
    Limited observer;
    observer.rollback = rollback;
    const TRunResult result = RunGeneration(model, this->Options(&this->Db()), observer);
    EXPECT_EQ(result.Outcome, roDone);
    EXPECT_TRUE(result.LimitReached);
    EXPECT_EQ(result.FailedStatements, 5);
    EXPECT_EQ(result.Records, 9);
    EXPECT_EQ(result.Inserted, rollback ? 0 : 4);
    EXPECT_EQ(result.RolledBack, rollback);
    EXPECT_EQ(this->Count("items"), result.Inserted);
    EXPECT_LT(observer.made, kAsked) << "records were made after the insert had stopped";
    EXPECT_FALSE(this->Db().InTransaction());
  }
}

TYPED_TEST(DirectInsertTest, NoConnectionStopsTheRun) {
  this->Run({"CREATE TABLE people (id integer, name varchar(20))"});
  TOdbcConnection closed(this->ConnectionString());
  struct Case {
    const char* name;
    TDataAccess* connection;
  };
  const Case cases[] = {{"closed", &closed}, {"none", nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGenModel model;
    this->Fill(model, "people", 5);
    InsertObserver observer;
    const TRunResult result = RunGeneration(model, this->Options(c.connection), observer);
    EXPECT_EQ(result.Outcome, roNoConnection);
    EXPECT_EQ(observer.messages, (std::vector<std::string>{"There's no active connection..."}));
  }
  EXPECT_EQ(this->Count("people"), 0);
}

TYPED_TEST(DirectInsertTest, ValuesWithLineBreaksStayInTheirStatement) {
  this->Run({"CREATE TABLE notes (id integer, name varchar(200))"});
  const std::string memo = "First line\r\nSecond 'line' caf\xE9 \x80\r\n\r\nlast\nbare feed";
  TGenModel model;
  this->Fill(model, "notes", 3, memo);
  InsertObserver observer;
  const TRunResult result = RunGeneration(model, this->Options(&this->Db()), observer);
  EXPECT_EQ(result.FailedStatements, 0) << observer.memos.at(0);
  EXPECT_EQ(this->Db().Query("SELECT name FROM notes ORDER BY id"),
            (std::vector<std::string>{memo, memo, memo}));
}

TYPED_TEST(DirectInsertTest, ZeroRecordsCommitsAnEmptyTransaction) {
  this->Run({"CREATE TABLE people (id integer, name varchar(20))"});
  TGenModel model;
  this->Fill(model, "people", 0);
  InsertObserver observer;
  const TRunResult result = RunGeneration(model, this->Options(&this->Db()), observer);
  EXPECT_EQ(result.Outcome, roDone);
  EXPECT_FALSE(this->Db().InTransaction());
  EXPECT_EQ(this->Count("people"), 0);
}

TYPED_TEST(DirectInsertTest, FailedCommitIsReportedAndRolledBack) {
  // A deferred foreign key is checked only when the transaction commits.
  this->EnforceForeignKeys();
  this->Run({"CREATE TABLE parent (id integer PRIMARY KEY)",
             "CREATE TABLE child (id integer REFERENCES parent (id) DEFERRABLE INITIALLY "
             "DEFERRED, name varchar(20))"});
  TGenModel model;
  this->Fill(model, "child", 5);
  InsertObserver observer;
  try {
    RunGeneration(model, this->Options(&this->Db()), observer);
    ADD_FAILURE() << "the commit succeeded";
  } catch (const EDatabaseError& e) {
    ASSERT_EQ(observer.memos.size(), 1u);
    EXPECT_EQ(observer.memos[0], std::string(e.what()) + "\r\n");
  }
  EXPECT_TRUE(observer.questions.empty());
  EXPECT_FALSE(this->Db().InTransaction());
  EXPECT_EQ(this->Count("child"), 0);
}

// A failure that is not a row's ends the insert at once, with one error that says where it
// stopped; no row is tried after it and the memo holds no failed statement.
void ExpectEndedOnce(TGenModel& model, TDataAccess& connection, const std::string& why) {
  InsertObserver observer;
  TRunOptions options;
  options.Mode = omDatabase;
  options.DictFolder = KELVAST_DICT_DIR;
  options.Connection = &connection;
  try {
    const TRunResult result = RunGeneration(model, options, observer);
    ADD_FAILURE() << "the insert went on: " << result.FailedStatements << " failed statements";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Kind(), fkDatabase) << e.what();
    EXPECT_EQ(std::string(e.what()).rfind("The insert stopped at statement ", 0), 0u) << e.what();
    EXPECT_NE(std::string(e.what()).find(why), std::string::npos) << e.what();
  }
  EXPECT_TRUE(observer.questions.empty());
  for (const std::string& memo : observer.memos)
    EXPECT_EQ(memo.find(std::string(56, '-')), std::string::npos) << memo;
  EXPECT_FALSE(connection.InTransaction());
}

// A small file system of its own, mounted for the test and removed after it; Mounted() is false
// where mounting is not permitted.
class TinyFileSystem {
 public:
  explicit TinyFileSystem(const fs::path& dir, const std::string& size) : FDir(dir) {
    fs::create_directories(dir);
    FMounted = std::system(("mount -t tmpfs -o size=" + size + " tmpfs '" + dir.string() +
                            "' 2>/dev/null")
                               .c_str()) == 0;
  }
  ~TinyFileSystem() {
    if (FMounted) std::system(("umount '" + FDir.string() + "'").c_str());
  }
  bool Mounted() const { return FMounted; }
  bool ReadOnly() {
    return std::system(("mount -o remount,ro '" + FDir.string() + "'").c_str()) == 0;
  }

 private:
  fs::path FDir;
  bool FMounted = false;
};

bool HasJournal(const fs::path& dir) {
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().filename().string().ends_with("-journal")) return true;
  return false;
}

TEST(SqliteInsertFailures, AReadOnlyDatabaseEndsTheInsertOnce) {
  // Made read-only three ways: the file's mode, its folder's (no journal can be made beside
  // it), and a read-only mount. Modes do not hold a superuser back; a mount does.
  enum Way { wFile, wFolder, wMount };
  int tried = 0;
  for (const Way way : {wFile, wFolder, wMount}) {
    SCOPED_TRACE(way);
    TempDir temp;
    const fs::path dir = temp / "data";
    fs::create_directories(dir);
    std::unique_ptr<TinyFileSystem> mount;
    if (way == wMount) {
      mount = std::make_unique<TinyFileSystem>(dir, "4m");
      if (!mount->Mounted()) continue;
    } else if (::geteuid() == 0) {
      continue;
    }
    const fs::path file = dir / "ro.db";
    WriteFileBytes(file, "");
    {
      TOdbcConnection setup(file.string());
      setup.Open();
      setup.Execute("CREATE TABLE people (id integer CHECK (id > 0), name varchar(20))");
      setup.Execute("INSERT INTO people VALUES (1, 'before')");
    }
    if (way == wFile) fs::permissions(file, fs::perms::owner_read | fs::perms::group_read |
                                                fs::perms::others_read);
    if (way == wFolder) fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    if (way == wMount) ASSERT_TRUE(mount->ReadOnly());
    ++tried;
    {
      TOdbcConnection db(file.string());
      db.Open();
      TGenModel model;
      model.SetTableName("people");
      model.SetDelimiter("\"\"");
      model.SetRecNumber(100000);
      AddCounter(model, "id");
      AddConst(model, "name", "x");
      ExpectEndedOnce(model, db, "readonly");
      EXPECT_EQ(db.Query("SELECT COUNT(*) FROM people"), std::vector<std::string>{"1"});
    }
    if (way == wFolder) fs::permissions(dir, fs::perms::owner_all);
    EXPECT_FALSE(HasJournal(dir));
  }
  if (tried == 0) GTEST_SKIP() << "no way to make a read-only file here";
}

TEST(SqliteInsertFailures, AFullDiskEndsTheInsertOnceAndLeavesTheFileAsItWas) {
  TempDir temp;
  const fs::path dir = temp / "small";
  TinyFileSystem small(dir, "512k");
  if (!small.Mounted()) GTEST_SKIP() << "mounting a small file system is not permitted here";
  const fs::path file = dir / "full.db";
  WriteFileBytes(file, "");
  {
    TOdbcConnection setup(file.string());
    setup.Open();
    setup.Execute("CREATE TABLE people (id integer, name varchar(400))");
    for (int i = 1; i <= 5; ++i)
      setup.Execute("INSERT INTO people VALUES (" + std::to_string(i) + ", 'before')");
  }
  // Everything but 64 KB is taken: the insert's rows outgrow it.
  {
    std::ofstream filler(dir / "filler", std::ios::binary);
    const std::string block(4096, 'f');
    while (filler.write(block.data(), block.size())) {
    }
  }
  fs::resize_file(dir / "filler", fs::file_size(dir / "filler") - 64 * 1024);
  {
    TOdbcConnection db(file.string());
    db.Open();
    TGenModel model;
    model.SetTableName("people");
    model.SetDelimiter("\"\"");
    model.SetRecNumber(20000);
    AddCounter(model, "id");
    AddConst(model, "name", std::string(300, 'n'));
    ExpectEndedOnce(model, db, "full");
    EXPECT_EQ(db.Query("SELECT COUNT(*) FROM people"), std::vector<std::string>{"5"});
    EXPECT_EQ(db.Query("PRAGMA integrity_check"), std::vector<std::string>{"ok"});
  }
  EXPECT_FALSE(HasJournal(dir));
}

using PostgresInsertFailures = DirectInsertTest<PostgresDatabase>;

TEST_F(PostgresInsertFailures, AReadOnlyDatabaseOrNoRightToInsertEndsTheInsertOnce) {
  Run({"CREATE TABLE people (id integer, name varchar(20))",
       "INSERT INTO people VALUES (0, 'before')"});
  const std::string database = Db().Query("SELECT current_database()").at(0);
  const std::string role = database + "_reader";
  Run({"CREATE ROLE " + role + " LOGIN", "GRANT SELECT ON people TO " + role});
  struct Case {
    const char* name;
    std::string connection;
    std::vector<std::string> before, after;
    const char* why;
  };
  std::string asReader = ConnectionString();
  const size_t uid = asReader.find("Uid=postgres");
  ASSERT_NE(uid, std::string::npos) << asReader;
  asReader.replace(uid, 12, "Uid=" + role);
  const Case cases[] = {
      {"read-only database", ConnectionString(),
       {"ALTER DATABASE " + database + " SET default_transaction_read_only = on"},
       {"ALTER DATABASE " + database + " RESET default_transaction_read_only"},
       "read-only transaction"},
      {"no right to insert", asReader, {}, {}, "permission denied"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Run(c.before);
    {
      TOdbcConnection db(c.connection);
      db.Open();
      TGenModel model;
      Fill(model, "people", 100000);
      ExpectEndedOnce(model, db, c.why);
    }
    Run(c.after);
    EXPECT_EQ(Count("people"), 1);
  }
  Run({"DROP OWNED BY " + role, "DROP ROLE " + role});
}

}  // namespace
}  // namespace kelvast::test
