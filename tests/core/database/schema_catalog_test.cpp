// SPDX-License-Identifier: MIT
// The keys of a live schema, read through the ODBC catalogue on SQLite and PostgreSQL.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>

#include "core/database/schema_catalog.h"
#include "core/database/database_fixture.h"
#include "core/database/sql_script.h"
#include "core/platform/errors.h"

namespace kelvast::test {
namespace {

template <class Backend>
class SchemaCatalogTest : public DatabaseTest<Backend> {
 protected:
  void LoadShop() { RunSqlScript(this->Db(), ShopSchema(Backend::kName)); }
};
TYPED_TEST_SUITE(SchemaCatalogTest, Backends, BackendNames);

const TTableSchema& Table(const std::vector<TTableSchema>& all, const std::string& name) {
  const auto it = std::find_if(all.begin(), all.end(), [&](const TTableSchema& t) {
    return t.Name == name;
  });
  if (it == all.end()) throw std::runtime_error("no table " + name);
  return *it;
}

TYPED_TEST(SchemaCatalogTest, ReadsKeysAndIndexesOfTheShop) {
  this->LoadShop();
  const std::vector<TTableSchema> all = ReadSchema(this->Db(), {});
  std::vector<std::string> names;
  for (const TTableSchema& t : all) names.push_back(t.Name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"customers", "employees", "order_lines", "orders",
                                             "products"}));

  using Names = std::vector<std::string>;
  struct KeyCase {
    const char* table;
    Names primary;
    // Each foreign key as column -> table.column.
    std::vector<std::string> foreign;
    std::vector<Names> unique;
  };
  const KeyCase cases[] = {
      {"customers", {"customer_id"}, {}, {}},
      {"products", {"product_id"}, {}, {{"sku"}}},
      {"employees", {"employee_id"}, {"manager_id->employees.employee_id"}, {}},
      {"orders", {"order_id"},
       {"customer_id->customers.customer_id", "sales_rep_id->employees.employee_id"}, {}},
      {"order_lines", {"order_id", "line_no"},
       {"order_id->orders.order_id", "product_id->products.product_id"},
       {{"order_id", "product_id"}}},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.table);
    const TTableSchema& t = Table(all, c.table);
    EXPECT_EQ(t.PrimaryKey, c.primary);
    std::vector<std::string> foreign;
    for (const TForeignKey& k : t.ForeignKeys) {
      ASSERT_EQ(k.Columns.size(), 1u);
      foreign.push_back(k.Columns[0] + "->" + k.RefTable + "." + k.RefColumns[0]);
    }
    std::sort(foreign.begin(), foreign.end());
    EXPECT_EQ(foreign, c.foreign);
    std::vector<Names> unique;
    for (const TUniqueIndex& ix : t.UniqueIndexes) unique.push_back(ix.Columns);
    EXPECT_EQ(unique, c.unique);
  }

  struct ColumnCase {
    const char* table;
    const char* column;
    int64_t length, precision, scale;
    const char* nullable;
  };
  const ColumnCase columns[] = {
      {"customers", "first_name", 20, 0, 0, "NO"},
      {"customers", "city", 12, 0, 0, "YES"},
      {"products", "price", 0, 8, 2, "NO"},
      {"employees", "manager_id", 0, 10, 0, "YES"},
  };
  for (const ColumnCase& c : columns) {
    SCOPED_TRACE(std::string(c.table) + "." + c.column);
    const TColumnInfo* info = Table(all, c.table).Column(c.column);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->MaxLength, c.length);
    if (c.scale > 0) {
      EXPECT_EQ(info->Precision, c.precision);
      EXPECT_EQ(info->Scale, c.scale);
    }
    EXPECT_EQ(info->IsNullable, c.nullable);
  }
}

TYPED_TEST(SchemaCatalogTest, ReadsOnlyTheTablesAsked) {
  this->LoadShop();
  const std::vector<TTableSchema> some = ReadSchema(this->Db(), {"orders", "customers"});
  ASSERT_EQ(some.size(), 2u);
  EXPECT_EQ(some[0].Name, "orders");
  EXPECT_EQ(some[1].Name, "customers");
  EXPECT_THROW(ReadSchema(this->Db(), {"no_such_table"}), EDatabaseError);
}

TYPED_TEST(SchemaCatalogTest, RefusesNamesOutsideWindows1252) {
  // Statements travel as Windows-1252, which cannot spell these names: SQLite gets them through
  // its own library, PostgreSQL as Unicode escapes.
  const bool sqlite = std::string(TypeParam::kName) == "SQLite";
  const auto run = [&](const std::string& utf8, const std::string& escaped) {
    if (!sqlite) return this->Db().Execute(escaped);
    sqlite3* db = nullptr;
    const std::string& connection = this->ConnectionString();
    const std::string file = connection.substr(connection.find("Database=") + 9);
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, utf8.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  };
  struct Case {
    const char* create;
    const char* createEscaped;
    const char* drop;
    const char* dropEscaped;
    const char* name;  // UTF-8, as the message shows it
  };
  const Case cases[] = {
      {"CREATE TABLE \"\xCF\x80_values\" (id integer)",
       "CREATE TABLE U&\"\\03C0_values\" (id integer)", "DROP TABLE \"\xCF\x80_values\"",
       "DROP TABLE U&\"\\03C0_values\"", "\xCF\x80_values"},
      {"CREATE TABLE plain (id integer, \"\xE2\x82\xAC\xE2\x88\x9E\" integer)",
       "CREATE TABLE plain (id integer, U&\"\\20AC\\221E\" integer)", "DROP TABLE plain",
       "DROP TABLE plain", "\xE2\x82\xAC\xE2\x88\x9E"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    run(c.create, c.createEscaped);
    try {
      ReadSchema(this->Db(), {});
      ADD_FAILURE() << "no error";
    } catch (const EKelvastError& e) {
      EXPECT_NE(std::string(e.what()).find(std::string("\"") + c.name + "\""), std::string::npos)
          << e.what();
      EXPECT_NE(std::string(e.what()).find("Windows-1252"), std::string::npos) << e.what();
    }
    run(c.drop, c.dropEscaped);
  }
}

}  // namespace
}  // namespace kelvast::test
