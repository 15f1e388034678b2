// SPDX-License-Identifier: MIT
// The direct insert's bulk paths (the engine's own, and the parameter arrays and bound rows that
// any ODBC driver gets) against the statement-by-statement path on both databases:
// rows failing on CHECK, UNIQUE and NOT NULL constraints in the first, a middle and the last
// batch, one row in a hundred, and every row. Both paths must leave the same rows in the table
// and report the same failed statements, in the same order.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/database/bulk_session.h"
#include "core/database/database_fixture.h"
#include "core/files/model_file.h"
#include "core/output/generation_run.h"
#include "core/output/batch_loader.h"
#include "core/output/insert_stream.h"
#include "core/output/output_fixture.h"
#include "core/platform/random.h"

namespace kelvast::test {
namespace {

// The connection as a driver without a bulk path would offer it: every row's statement.
class StatementsOnly : public TDataAccess {
 public:
  explicit StatementsOnly(TDataAccess& db) : FDb(db) {}
  bool Connected() const override { return FDb.Connected(); }
  std::vector<std::string> Query(const std::string& sql) override { return FDb.Query(sql); }
  void Execute(const std::string& sql) override { FDb.Execute(sql); }
  void ExecuteRow(const TRowStatement& statement) override { FDb.ExecuteRow(statement); }
  std::vector<std::string> FieldNames(const std::string& t) override { return FDb.FieldNames(t); }
  char IdentifierQuote() override { return FDb.IdentifierQuote(); }
  void BeginTrans() override { FDb.BeginTrans(); }
  void CommitTrans() override { FDb.CommitTrans(); }
  void RollbackTrans() override { FDb.RollbackTrans(); }
  bool InTransaction() const override { return FDb.InTransaction(); }

 private:
  TDataAccess& FDb;
};

// The connection as any other ODBC driver would offer it: the parameter session.
class ParametersOnly : public StatementsOnly {
 public:
  ParametersOnly(TOdbcConnection& db, bool arrays) : StatementsOnly(db), FDb(db), FArrays(arrays) {}
  std::unique_ptr<TBulkSession> OpenBulkSession(const TBulkTarget& target) override {
    return FDb.OpenParameterSession(target, FArrays);
  }

 private:
  TOdbcConnection& FDb;
  bool FArrays;
};

enum class Path { Own, Arrays, BoundRows, Statements };

struct Outcome {
  int failed = 0;
  std::vector<std::string> statements;  // every failed statement, in the order they failed
  size_t kept = 0;                      // the failed statements the memo keeps
  std::vector<std::string> rows;        // the table's rows after the commit
  std::string memo;
};

struct MemoObserver : TRunObserver {
  std::string memo;
  std::string entries;  // every entry, as the loading thread reported it
  bool ConfirmRollback(const std::string&, int) override { return false; }  // commit
  void DatabaseErrors(const std::string& text) override { memo = text; }
  void DatabaseFailure(const std::string& entry) override { entries += entry; }
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
  // the given path, and reads back what happened.
  Outcome Insert(const std::vector<std::string>& setup, int records, const std::string& name,
                 Path path) {
    TGenModel model;
    model.SetTableName("items");
    model.SetDelimiter("\"\"");
    model.SetRecNumber(records);
    AddCounter(model, "id");
    AddConst(model, "name", name);
    return Insert(setup, model, path,
                  "SELECT id || ':' || COALESCE(name, '-') FROM items ORDER BY id");
  }
  // Creates the table by `setup`, runs the model's insert by the given path, and reads back
  // what happened, the table's rows by `select`.
  Outcome Insert(const std::vector<std::string>& setup, TGenModel& model, Path path,
                 const std::string& select) {
    this->Run({"DROP TABLE IF EXISTS " + model.TableName()});
    this->Run(setup);
    StatementsOnly statements(this->Db());
    ParametersOnly arrays(this->Db(), true), boundRows(this->Db(), false);
    TRunOptions options;
    options.Mode = omDatabase;
    options.DictFolder = KELVAST_DICT_DIR;
    const std::map<Path, TDataAccess*> connections = {{Path::Own, &this->Db()},
                                                       {Path::Arrays, &arrays},
                                                       {Path::BoundRows, &boundRows},
                                                       {Path::Statements, &statements}};
    options.Connection = connections.at(path);
    MemoObserver observer;
    const TRunResult result = RunGeneration(model, options, observer);
    Outcome outcome;
    outcome.failed = result.FailedStatements;
    outcome.statements = FailedStatements(observer.entries);
    outcome.kept = FailedStatements(observer.memo).size();
    outcome.rows = this->Db().Query(select);
    outcome.memo = observer.memo;
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
    const Outcome statements = this->Insert(c.setup, c.records, c.value, Path::Statements);
    EXPECT_EQ(statements.failed, c.failures);
    // The memo keeps the first ten and counts the others; the observer saw them all.
    EXPECT_EQ(statements.kept, std::min<size_t>(c.failures, TBatchLoader::kKeptFailures));
    EXPECT_EQ(statements.memo.find("more failed statements") != std::string::npos,
              c.failures > TBatchLoader::kKeptFailures);
    for (const Path path : {Path::Own, Path::Arrays, Path::BoundRows}) {
      SCOPED_TRACE(static_cast<int>(path));
      const Outcome bulk = this->Insert(c.setup, c.records, c.value, path);
      EXPECT_EQ(bulk.failed, c.failures);
      EXPECT_EQ(bulk.statements.size(), static_cast<size_t>(c.failures));
      EXPECT_EQ(bulk.statements, statements.statements);
      EXPECT_EQ(bulk.rows, statements.rows);
    }
  }
}

// Turns PostgreSQL's standard_conforming_strings off for the test's database, for every
// session opened after it (the COPY session opens its own); false on SQLite, which has no such
// setting.
bool ConformingStringsOff(TOdbcConnection& db) {
  if (db.DbmsName() != "PostgreSQL") return false;
  db.Execute("ALTER DATABASE \"" + db.Query("SELECT current_database()").at(0) +
             "\" SET standard_conforming_strings = off");
  db.Close();
  db.Open();
  EXPECT_EQ(db.Query("SHOW standard_conforming_strings"), std::vector<std::string>{"off"});
  return true;
}

TYPED_TEST(BulkInsertTest, ABareValueNeverAddsAStatementOnAnyPath) {
  // A value written bare (a number column's) ends up inside its row's statement; one that would
  // end that statement early and start another makes its row fail, on every path, whatever
  // string literals do with backslashes.
  const char* const attacks[] = {
      "(SELECT 1 FROM (SELECT 1) s), 'x'); DROP TABLE victim; --",
      "1; DROP TABLE victim",
      "1); DROP TABLE victim; --",
      "1); DROP TABLE victim; SELECT (1",
      "'\\'' ); DROP TABLE victim; --'",
      "$$'$$); DROP TABLE victim; SELECT ('",
  };
  const std::vector<std::string> setup = {
      "DROP TABLE IF EXISTS victim", "CREATE TABLE victim (v integer)",
      "INSERT INTO victim VALUES (7)",
      "CREATE TABLE items (id integer, n integer CHECK (n = 1), s text)"};
  for (const bool conforming : {true, false}) {
    SCOPED_TRACE(conforming ? "standard strings" : "backslash escapes");
    if (!conforming && !ConformingStringsOff(this->Db())) continue;
    for (const char* attack : attacks) {
      SCOPED_TRACE(attack);
      for (const Path path : {Path::Own, Path::Arrays, Path::BoundRows, Path::Statements}) {
        SCOPED_TRACE(static_cast<int>(path));
        TGenModel model;
        model.SetTableName("items");
        model.SetDelimiter("\"\"");
        model.SetRecNumber(3);
        AddCounter(model, "id");
        AddConst(model, "n", attack, etNum);
        AddConst(model, "s", "a\\b'c");
        const Outcome outcome =
            this->Insert(setup, model, path, "SELECT id || ':' || s FROM items ORDER BY id");
        EXPECT_EQ(outcome.failed, 3) << outcome.memo;
        EXPECT_EQ(outcome.statements.size(), 3u);
        EXPECT_TRUE(outcome.rows.empty());
        EXPECT_EQ(this->Db().Query("SELECT v FROM victim"), std::vector<std::string>{"7"});
      }
    }
  }
}

TYPED_TEST(BulkInsertTest, TextsKeepTheirBackslashesOnEveryPath) {
  // A number column holding an expression sends its row through the row's own statement on
  // every path; the texts are parameters there too.
  const std::vector<std::string> texts = {"\\", "a\\'b", "\\'); DROP TABLE victim; --",
                                          "it''s \\\\ \"q\"", "\\N \\t \\x41 caf\xE9"};
  const std::vector<std::string> setup = {
      "DROP TABLE IF EXISTS victim", "CREATE TABLE victim (v integer)",
      "CREATE TABLE items (id integer, n integer, s varchar(40))"};
  for (const bool conforming : {true, false}) {
    SCOPED_TRACE(conforming ? "standard strings" : "backslash escapes");
    if (!conforming && !ConformingStringsOff(this->Db())) continue;
    for (const char* number : {"5", "2 + 3"}) {
      SCOPED_TRACE(number);
      for (const Path path : {Path::Own, Path::Arrays, Path::BoundRows, Path::Statements}) {
        SCOPED_TRACE(static_cast<int>(path));
        for (const std::string& text : texts) {
          TGenModel model;
          model.SetTableName("items");
          model.SetDelimiter("\"\"");
          model.SetRecNumber(2);
          AddCounter(model, "id");
          AddConst(model, "n", number, etNum);
          AddConst(model, "s", text);
          const Outcome outcome = this->Insert(
              setup, model, path, "SELECT CAST(n AS varchar(9)) || ':' || s FROM items");
          EXPECT_EQ(outcome.failed, 0) << outcome.memo;
          EXPECT_EQ(outcome.rows, std::vector<std::string>(2, "5:" + text));
        }
      }
    }
  }
  EXPECT_EQ(this->Count("victim"), 0);
}

// The fields of one CSV line; an empty field is NULL, as the direct insert stores a blank value.
std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  for (std::string& field : fields)
    if (field.empty()) field = "<null>";
  return fields;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text)
    c == separator ? parts.emplace_back() : parts.back() += c;
  return parts;
}

TYPED_TEST(BulkInsertTest, SeededInsertStoresTheRecordsOfTheSeedsCsvFile) {
  const int records = 2 * static_cast<int>(TInsertStream::kBatchRows) + 500;
  const uint64_t seed = 7;
  std::unique_ptr<TGenModel> model = LoadModelFile(std::string(KELVAST_EXAMPLES) + "/people.model");
  model->SetRecNumber(records);
  model->SetSQLFile((this->Temp / "people").string());
  TRunOptions options;
  options.DictFolder = KELVAST_DICT_DIR;
  options.Mode = omCsv;
  TRunObserver quiet;
  RandSeed(seed);
  const TRunResult csv = RunGeneration(*model, options, quiet);
  std::vector<std::string> lines = Split(ReadFileBytes(csv.OutputPath), '\n');
  ASSERT_EQ(lines.size(), static_cast<size_t>(records) + 2);  // the title line, the last end
  std::vector<std::vector<std::string>> expected;
  for (size_t i = 1; i <= static_cast<size_t>(records); ++i) {
    if (!lines[i].empty() && lines[i].back() == '\r') lines[i].pop_back();
    expected.push_back(CsvFields(lines[i]));
  }
  const std::vector<std::string> names = {"id",    "first_name", "last_name", "email", "quantity",
                                          "price", "signup_date", "city",     "zip",   "code"};
  const std::vector<size_t> numbers = {0, 4, 5};
  std::string select;
  for (const std::string& name : names)
    select += (select.empty() ? "" : " || '\x01' || ") + ("COALESCE(CAST(" + name +
                                                       " AS text), '<null>')");

  StatementsOnly statements(this->Db());
  ParametersOnly arrays(this->Db(), true), boundRows(this->Db(), false);
  for (TDataAccess* connection : {static_cast<TDataAccess*>(&this->Db()),
                                  static_cast<TDataAccess*>(&arrays),
                                  static_cast<TDataAccess*>(&boundRows)}) {
    this->Run({"DROP TABLE IF EXISTS people",
               "CREATE TABLE people (id integer, first_name text, last_name text, email text, "
               "quantity integer, price numeric(10,2), signup_date text, city text, zip text, "
               "code text)"});
    options.Mode = omDatabase;
    options.Connection = connection;
    RandSeed(seed);
    const TRunResult inserted = RunGeneration(*model, options, quiet);
    EXPECT_EQ(inserted.FailedStatements, 0);
    const std::vector<std::string> stored =
        this->Db().Query("SELECT " + select + " FROM people ORDER BY id");
    ASSERT_EQ(stored.size(), expected.size());
    for (size_t r = 0; r < stored.size(); ++r) {
      const std::vector<std::string> fields = Split(stored[r], '\x01');
      ASSERT_EQ(fields.size(), names.size()) << stored[r];
      for (size_t c = 0; c < names.size(); ++c) {
        const bool number = std::find(numbers.begin(), numbers.end(), c) != numbers.end();
        if (number && fields[c] != "<null>")
          EXPECT_EQ(std::stod(fields[c]), std::stod(expected[r][c])) << names[c] << " " << r;
        else
          EXPECT_EQ(fields[c], expected[r][c]) << names[c] << " " << r;
      }
    }
  }
}

}  // namespace
}  // namespace kelvast::test
