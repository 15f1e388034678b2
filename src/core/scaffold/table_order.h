// SPDX-License-Identifier: MIT
#pragma once
// The order in which a plan fills tables: every table after the tables its foreign keys
// reference. A cycle of foreign keys is broken at a key whose columns are all nullable; those
// columns are then left NULL. A cycle whose keys are all NOT NULL cannot be filled and is refused.
//
//   TTableOrder order = OrderTables(schemas);
//   order.Tables      // {"customers", "orders", "order_lines"}
//   order.Broken      // {employees.manager_id -> employees}

#include <string>
#include <vector>

#include "core/database/schema_catalog.h"

namespace kelvast {

struct TBrokenKey {
  std::string Table;
  TForeignKey Key;
};

struct TTableOrder {
  std::vector<std::string> Tables;  // referenced tables first
  std::vector<TBrokenKey> Broken;   // keys left NULL to break cycles
};

// Keys that reference tables outside `tables` impose no order. Raises EKelvastError naming the
// tables of a cycle that no nullable key breaks. Ties keep the order of `tables`.
TTableOrder OrderTables(const std::vector<TTableSchema>& tables);

// True when every column of the key may be NULL.
bool KeyIsNullable(const TTableSchema& table, const TForeignKey& key);

}  // namespace kelvast
