// The direct insert's bulk paths against the statement-by-statement path on both databases:
// rows failing on CHECK, UNIQUE and NOT NULL constraints in the first, a middle and the last
// batch, one row in a hundred, and every row. Both paths must leave the same rows in the table
// and report the same failed statements, in the same order.

#include <gtest/gtest.h>

#include "core/database/bulk_session.h"
#include "core/database/database_fixture.h"
#include "core/output/generation_run.h"
#include "core/output/insert_stream.h"
#include "core/output/output_fixture.h"

namespace kelvast::test {
namespace {

// The connection as a driver without a bulk path would offer it: every row's statement.
class StatementsOnly : public TDataAccess {
 public:
  explicit StatementsOnly(TDataAccess& db) : FDb(db) {}
  bool Connected() const override { return FDb.Connected(); }
  std::vector<std::string> Query(const std::string& sql) override { return FDb.Query(sql); }
  void Execute(const std::string& sql) override { FDb.Execute(sql); }
  std::vector<std::string> FieldNames(const std::string& t) override { return FDb.FieldNames(t); }
  char IdentifierQuote() override { return FDb.IdentifierQuote(); }
  void BeginTrans() override { FDb.BeginTrans(); }
  void CommitTrans() override { FDb.CommitTrans(); }
  void RollbackTrans() override { FDb.RollbackTrans(); }
  bool InTransaction() const override { return FDb.InTransaction(); }

 private:
  TDataAccess& FDb;
};

struct Outcome {
  int failed = 0;
  std::vector<std::string> statements;  // the failed statements, in the memo's order
  std::vector<std::string> rows;        // the table's rows after the commit
};

struct MemoObserver : TRunObserver {
  std::string memo;
  bool ConfirmRollback(const std::string&, int) override { return false; }  // commit
  void DatabaseErrors(const std::string& text) override { memo = text; }
};

// The statement line of every memo entry (message, statement, rule).
std::vector<std::string> FailedStatements(const std::string& memo) {
  std::vector<std::string> statements;
  const std::string rule = "\r\n" + std::string(56, '-') + "\r\n";
  size_t from = 0;
  for (size_t at = memo.find(rule); at != std::string::npos; at = memo.find(rule, from)) {
    const size_t start = memo.rfind("\r\n", at - 1);
    statements.push_back(memo.substr(start + 2, at - start - 2));
    from = at + rule.size();
  }
  return statements;
}

template <class B>
class BulkInsertTest : public DatabaseTest<B> {
 protected:
  // Creates the table by `setup`, inserts `records` rows (id counting from 1, name `name`) by
  // the connection's own path or by statements only, and reads back what happened.
  Outcome Insert(const std::vector<std::string>& setup, int records, const std::string& name,
                 bool statementsOnly) {
    this->Run({"DROP TABLE IF EXISTS items"});
    this->Run(setup);
    TGenModel model;
    model.SetTableName("items");
    model.SetDelimiter("\"\"");
    model.SetRecNumber(records);
    AddCounter(model, "id");
    AddConst(model, "name", name);
    StatementsOnly statements(this->Db());
    TRunOptions options;
    options.Mode = omDatabase;
    options.DictFolder = KELVAST_DICT_DIR;
    options.Connection = statementsOnly ? static_cast<TDataAccess*>(&statements) : &this->Db();
    MemoObserver observer;
    const TRunResult result = RunGeneration(model, options, observer);
    Outcome outcome;
    outcome.failed = result.FailedStatements;
    outcome.statements = FailedStatements(observer.memo);
    outcome.rows = this->Db().Query("SELECT id || ':' || COALESCE(name, '-') FROM items ORDER BY id");
    return outcome;
  }
};
TYPED_TEST_SUITE(BulkInsertTest, Backends, BackendNames);

TYPED_TEST(BulkInsertTest, FailingRowsAreTheStatementPathsOnes) {
  const int batch = static_cast<int>(TInsertStream::kBatchRows);
  const int records = 2 * batch + 100;  // three batches
  const std::string first = "1", middle = std::to_string(batch + 5),
                    last = std::to_string(records);
  struct Case {
    const char* name;
    std::vector<std::string> setup;
    int records;
    std::string value;
    int failures;
  };
  const Case cases[] = {
      {"CHECK in the first, a middle and the last batch",
       {"CREATE TABLE items (id integer CHECK (id NOT IN (" + first + ", " + middle + ", " + last +
        ")), name varchar(20))"},
       records, "x", 3},
      {"UNIQUE against rows already there",
       {"CREATE TABLE items (id integer UNIQUE, name varchar(20))",
        "INSERT INTO items VALUES (" + first + ", 'old')",
        "INSERT INTO items VALUES (" + middle + ", 'old')",
        "INSERT INTO items VALUES (" + last + ", 'old')"},
       records, "x", 3},
      {"one row in a hundred",
       {"CREATE TABLE items (id integer CHECK (id % 100 <> 0), name varchar(20))"},
       records, "x", records / 100},
      {"NOT NULL on every row",
       {"CREATE TABLE items (id integer, name varchar(20) NOT NULL)"}, 300, "", 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome bulk = this->Insert(c.setup, c.records, c.value, false);
    const Outcome statements = this->Insert(c.setup, c.records, c.value, true);
    EXPECT_EQ(bulk.failed, c.failures);
    EXPECT_EQ(statements.failed, c.failures);
    EXPECT_EQ(bulk.statements.size(), static_cast<size_t>(c.failures));
    EXPECT_EQ(bulk.statements, statements.statements);
    EXPECT_EQ(bulk.rows, statements.rows);
  }
}

}  // namespace
}  // namespace kelvast::test
