// SPDX-License-Identifier: MIT
// Models from a live schema, end to end: kelvast-cli scaffold, then plan --format db with no
// further option, on SQLite and PostgreSQL; keys, constraints and lengths checked by the database.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "cli/cli_runner.h"
#include "core/database/database_fixture.h"
#include "core/database/sql_script.h"
#include "core/files/model_file.h"
#include "core/model/gen_model.h"

namespace kelvast::test {
namespace {

template <class Backend>
class ScaffoldTest : public DatabaseTest<Backend> {
 protected:
  void SetUp() override {
    DatabaseTest<Backend>::SetUp();
    RunSqlScript(this->Db(), ShopSchema(Backend::kName));
  }
  TCliRun Scaffold(std::vector<std::string> more) {
    std::vector<std::string> args{"scaffold", "--connection", this->ConnectionString(), "--output",
                                  Out().string(), "--dict", KELVAST_DICT_DIR};
    args.insert(args.end(), more.begin(), more.end());
    return RunCli(args);
  }
  TCliRun RunPlan() {
    return RunCli({"plan", (Out() / "database.plan").string(), "--format", "db", "--dict",
                   KELVAST_DICT_DIR});
  }
  std::filesystem::path Out() const { return this->Temp / "models"; }
  std::string One(const std::string& sql) { return this->Db().Query(sql).at(0); }
};
TYPED_TEST_SUITE(ScaffoldTest, Backends, BackendNames);

TYPED_TEST(ScaffoldTest, PlanFillsEveryTableWithEveryConstraintHeld) {
  // Tables that already hold rows: their counters start after the rows' keys.
  this->Run({"INSERT INTO customers VALUES (40, 'Ann', 'Lee', 'ann@lee.org', NULL, NULL, NULL, "
             "NULL, NULL, NULL, '2020-01-01 10:00:00')",
             "INSERT INTO products VALUES (7, 'SKU7', 'Lamp', 12.50, TRUE)"});
  const TCliRun scaffold = this->Scaffold({"--records", "400", "--json"});
  ASSERT_EQ(scaffold.Status, 0) << scaffold.Err;
  EXPECT_NE(scaffold.Err.find("\"employees\".\"manager_id\" is left NULL"), std::string::npos)
      << scaffold.Err;
  EXPECT_EQ(ReadFileBytes(this->Out() / "database.plan").rfind("ORVELA KELVAST PLAN\r\n", 0), 0u);
  for (const char* table : {"customers", "products", "employees", "orders", "order_lines"}) {
    EXPECT_TRUE(std::filesystem::exists(this->Out() / (std::string(table) + ".model"))) << table;
    EXPECT_TRUE(std::filesystem::exists(this->Out() / (std::string(table) + ".json"))) << table;
  }

  const TCliRun plan = this->RunPlan();
  ASSERT_EQ(plan.Status, 0) << plan.Err;
  EXPECT_NE(plan.Err.find("plan done: 5 models run, 0 skipped, 0 failed"), std::string::npos)
      << plan.Err;

  struct Count {
    const char* table;
    int64_t rows;
  };
  for (const Count& c : {Count{"customers", 401}, Count{"products", 401}, Count{"employees", 400},
                         Count{"orders", 400}, Count{"order_lines", 400}}) {
    SCOPED_TRACE(c.table);
    EXPECT_EQ(this->Count(c.table), c.rows);
  }
  EXPECT_EQ(this->One("SELECT MIN(customer_id) FROM customers WHERE customer_id <> 40"), "41");
  EXPECT_EQ(this->One("SELECT COUNT(*) FROM employees WHERE manager_id IS NOT NULL"), "0");
  // Every key value exists in its table (the database checks too: see below).
  const char* orphans[] = {
      "SELECT COUNT(*) FROM orders o LEFT JOIN customers c ON c.customer_id = o.customer_id "
      "WHERE c.customer_id IS NULL",
      "SELECT COUNT(*) FROM orders o LEFT JOIN employees e ON e.employee_id = o.sales_rep_id "
      "WHERE o.sales_rep_id IS NOT NULL AND e.employee_id IS NULL",
      "SELECT COUNT(*) FROM order_lines l LEFT JOIN products p ON p.product_id = l.product_id "
      "WHERE p.product_id IS NULL",
      "SELECT COUNT(*) FROM order_lines l LEFT JOIN orders o ON o.order_id = l.order_id "
      "WHERE o.order_id IS NULL",
  };
  for (const char* sql : orphans) EXPECT_EQ(this->One(sql), "0") << sql;
  if (std::string(TypeParam::kName) == "SQLite")
    EXPECT_TRUE(this->Db().Query("PRAGMA foreign_key_check").empty());
  // A nullable key gets some NULLs, a NOT NULL one none.
  EXPECT_NE(this->One("SELECT COUNT(*) FROM orders WHERE sales_rep_id IS NULL"), "0");
  // Unique keys hold.
  EXPECT_EQ(this->One("SELECT COUNT(DISTINCT sku) FROM products"), "401");
  EXPECT_EQ(this->One("SELECT COUNT(*) FROM (SELECT DISTINCT order_id, line_no FROM order_lines) k"),
            "400");
  EXPECT_EQ(
      this->One("SELECT COUNT(*) FROM (SELECT DISTINCT order_id, product_id FROM order_lines) k"),
      "400");
  // Lengths: PostgreSQL refuses a longer value; SQLite would keep it, so it is measured.
  struct Length {
    const char* column;
    int limit;
  };
  for (const Length& l : {Length{"first_name", 20}, Length{"last_name", 25}, Length{"email", 60},
                          Length{"city", 12}, Length{"state", 2}, Length{"country", 10},
                          Length{"postal_code", 10}, Length{"phone", 14}, Length{"company", 30}}) {
    SCOPED_TRACE(l.column);
    EXPECT_LE(std::stoi(this->One(std::string("SELECT MAX(LENGTH(") + l.column +
                                  ")) FROM customers")),
              l.limit);
  }
  // Decimals within precision and scale, time stamps the engine reads as such.
  EXPECT_EQ(this->One("SELECT COUNT(*) FROM products WHERE price < 0 OR price > 999999.99"), "0");
  EXPECT_EQ(this->One("SELECT COUNT(*) FROM orders WHERE ordered_at < '2000-01-01' OR "
                      "ordered_at > '2026-01-01'"),
            "0");
}

TYPED_TEST(ScaffoldTest, KeyToATableOutsideThePlanDrawsExistingRows) {
  this->Run({"INSERT INTO customers VALUES (5, 'A', 'B', 'a@b.c', NULL, NULL, NULL, NULL, NULL, "
             "NULL, '2020-01-01 00:00:00')",
             "INSERT INTO customers VALUES (9, 'C', 'D', 'c@d.e', NULL, NULL, NULL, NULL, NULL, "
             "NULL, '2020-01-01 00:00:00')",
             "INSERT INTO employees VALUES (3, 'E F', NULL, '2019-05-05')"});
  const TCliRun scaffold = this->Scaffold({"--tables", "orders", "--records", "200"});
  ASSERT_EQ(scaffold.Status, 0) << scaffold.Err;
  const std::unique_ptr<TGenModel> model = LoadModelFile(this->Out() / "orders.model");
  EXPECT_EQ(model->Cols().FindByName("customer_id")->ColType(), ctColRef);
  // Names are quoted as the driver quotes them.
  EXPECT_EQ(model->Delimiter(), std::string(2, this->Db().IdentifierQuote()));
  EXPECT_NE(this->Db().IdentifierQuote(), ' ');
  const TCliRun plan = this->RunPlan();
  ASSERT_EQ(plan.Status, 0) << plan.Err;
  EXPECT_EQ(this->Count("orders"), 200);
  EXPECT_EQ(this->One("SELECT COUNT(*) FROM orders WHERE customer_id NOT IN (5, 9)"), "0");
  EXPECT_EQ(this->One("SELECT COUNT(*) FROM orders WHERE sales_rep_id <> 3"), "0");
}

TYPED_TEST(ScaffoldTest, CounterThatWouldPassTheIntegerRangeIsRefused) {
  this->Run({"INSERT INTO products VALUES (2147483000, 'X', 'Y', 1, TRUE)"});
  const TCliRun refused = this->Scaffold({"--records", "648"});
  EXPECT_EQ(refused.Status, 1);
  EXPECT_NE(refused.Err.find("\"products\".\"product_id\""), std::string::npos) << refused.Err;
  EXPECT_NE(refused.Err.find("2147483647"), std::string::npos) << refused.Err;
  EXPECT_FALSE(std::filesystem::exists(this->Out() / "database.plan"));
  EXPECT_EQ(this->Scaffold({"--records", "647"}).Status, 0);
}

TYPED_TEST(ScaffoldTest, ExistingFilesNeedYesAndLinksAreNeverWrittenThrough) {
  ASSERT_EQ(this->Scaffold({"--records", "10"}).Status, 0);
  const std::filesystem::path mine = this->Out() / "customers.model";
  WriteFileBytes(mine, "mine");

  // Without --yes nothing is written, and the files in the way are listed.
  const TCliRun refused = this->Scaffold({"--records", "10"});
  EXPECT_EQ(refused.Status, 1);
  for (const char* file : {"customers.model", "orders.model", "database.plan"})
    EXPECT_NE(refused.Err.find((this->Out() / file).string()), std::string::npos) << refused.Err;
  EXPECT_NE(refused.Err.find("--yes"), std::string::npos) << refused.Err;
  EXPECT_EQ(ReadFileBytes(mine), "mine");

  ASSERT_EQ(this->Scaffold({"--records", "10", "--yes"}).Status, 0);
  EXPECT_NE(ReadFileBytes(mine), "mine");

  // A link among the files, to a file that exists or to none, is refused even with --yes, and
  // its target is left alone.
  const std::filesystem::path outside = this->Temp / "outside.txt";
  for (const bool targetExists : {true, false}) {
    SCOPED_TRACE(targetExists);
    std::filesystem::remove(outside);
    if (targetExists) WriteFileBytes(outside, "untouched");
    std::filesystem::remove(this->Out() / "orders.model");
    std::filesystem::create_symlink(outside, this->Out() / "orders.model");
    const TCliRun linked = this->Scaffold({"--records", "10", "--yes"});
    EXPECT_EQ(linked.Status, 1);
    EXPECT_NE(linked.Err.find((this->Out() / "orders.model").string() + "\" is a symbolic link"),
              std::string::npos)
        << linked.Err;
    EXPECT_EQ(std::filesystem::exists(outside), targetExists);
    if (targetExists) EXPECT_EQ(ReadFileBytes(outside), "untouched");
  }
}

// A file that holds a password is readable by its owner only, and no message shows it.
TEST(ScaffoldPassword, FilesHoldingItAreOwnerOnlyAndMessagesNeverShowIt) {
  PostgresDatabase server;
  {
    TOdbcConnection db(server.ConnectionString());
    db.Open();
    RunSqlScript(db, ShopSchema(PostgresDatabase::kName));
  }
  // The test server trusts every login, so any password opens it.
  const std::string password = "Sesame-42x";
  std::string connection = server.ConnectionString();
  const size_t pwd = connection.find("Pwd=");
  connection = (pwd == std::string::npos ? connection + ";" : connection.substr(0, pwd)) + "Pwd=" +
               password + ";";
  TempDir dir;
  const auto scaffold = [&](const std::string& conn, std::vector<std::string> more) {
    std::vector<std::string> args{"scaffold", "--connection", conn, "--output",
                                  (dir / "m").string(), "--dict", KELVAST_DICT_DIR, "--json"};
    args.insert(args.end(), more.begin(), more.end());
    return RunCli(args);
  };
  const TCliRun ok = scaffold(connection, {"--records", "10"});
  ASSERT_EQ(ok.Status, 0) << ok.Err;
  for (const char* file : {"customers.model", "customers.json", "order_lines.model"}) {
    struct stat st {};
    ASSERT_EQ(::stat((dir / "m" / file).c_str(), &st), 0) << file;
    EXPECT_EQ(st.st_mode & 0777, 0600u) << file;
  }
  struct Case {
    std::string connection;
    std::vector<std::string> more;
  };
  const std::string unreachable = connection.substr(0, connection.find("Port=")) + "Port=1;Pwd=" +
                                  password + ";";
  for (const Case& c : {Case{connection, {}}, Case{connection, {"--tables", "nowhere"}},
                        Case{unreachable, {}}}) {
    const TCliRun r = scaffold(c.connection, c.more);
    EXPECT_EQ(r.Out.find(password), std::string::npos) << r.Out;
    EXPECT_EQ(r.Err.find(password), std::string::npos) << r.Err;
  }
}

}  // namespace
}  // namespace kelvast::test
