// SPDX-License-Identifier: MIT
// The order of a plan's tables, and cycles of foreign keys.

#include <gtest/gtest.h>

#include "core/platform/errors.h"
#include "core/scaffold/table_order.h"

namespace kelvast::test {
namespace {

// "orders: customer_id->customers, rep_id?->employees": a table, its columns and keys; "?" marks
// a nullable key column.
TTableSchema Table(const std::string& name, std::vector<std::string> keys) {
  TTableSchema t;
  t.Name = name;
  for (std::string key : keys) {
    const bool nullable = key.find('?') != std::string::npos;
    if (nullable) key.erase(key.find('?'), 1);
    const size_t arrow = key.find("->");
    TColumnInfo c;
    c.Name = key.substr(0, arrow);
    c.IsNullable = nullable ? "YES" : "NO";
    t.Columns.push_back(c);
    t.ForeignKeys.push_back({"fk_" + c.Name, {c.Name}, key.substr(arrow + 2), {"id"}});
  }
  return t;
}

TEST(TableOrder, ReferencedTablesComeFirstAndNullableCyclesBreak) {
  struct Case {
    const char* what;
    std::vector<TTableSchema> tables;
    std::vector<std::string> order;
    std::vector<std::string> broken;  // table.column left NULL
  };
  const Case cases[] = {
      {"a chain given backwards",
       {Table("lines", {"order_id->orders"}), Table("orders", {"customer_id->customers"}),
        Table("customers", {})},
       {"customers", "orders", "lines"},
       {}},
      {"a key to a table outside the plan imposes nothing",
       {Table("orders", {"customer_id->customers"}), Table("notes", {})},
       {"orders", "notes"},
       {}},
      {"an employee's manager",
       {Table("employees", {"manager_id?->employees"}), Table("teams", {"lead_id->employees"})},
       {"employees", "teams"},
       {"employees.manager_id"}},
      {"two tables referencing each other, one key nullable",
       {Table("departments", {"head_id?->employees"}),
        Table("employees", {"department_id->departments"})},
       {"departments", "employees"},
       {"departments.head_id"}},
      {"a cycle of three broken at its only nullable key",
       {Table("a", {"b_id->b"}), Table("b", {"c_id->c"}), Table("c", {"a_id?->a"}),
        Table("d", {"a_id->a"})},
       {"c", "b", "a", "d"},
       {"c.a_id"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TTableOrder order = OrderTables(c.tables);
    EXPECT_EQ(order.Tables, c.order);
    std::vector<std::string> broken;
    for (const TBrokenKey& b : order.Broken) broken.push_back(b.Table + "." + b.Key.Columns[0]);
    EXPECT_EQ(broken, c.broken);
  }
}

TEST(TableOrder, RefusesACycleWithoutNullableKeyNamingItsTables) {
  struct Case {
    std::vector<TTableSchema> tables;
    std::vector<std::string> named;
    const char* notNamed;
  };
  const Case cases[] = {
      {{Table("people", {"parent_id->people"})}, {"\"people\""}, nullptr},
      {{Table("free", {}), Table("x", {"y_id->y"}), Table("y", {"x_id->x"})},
       {"\"x\"", "\"y\""},
       "\"free\""},
  };
  for (const Case& c : cases) {
    try {
      OrderTables(c.tables);
      ADD_FAILURE() << "no error";
    } catch (const EKelvastError& e) {
      const std::string message = e.what();
      for (const std::string& name : c.named)
        EXPECT_NE(message.find(name), std::string::npos) << message;
      if (c.notNamed) EXPECT_EQ(message.find(c.notNamed), std::string::npos) << message;
      EXPECT_NE(message.find("cycle"), std::string::npos) << message;
    }
  }
}

}  // namespace
}  // namespace kelvast::test
