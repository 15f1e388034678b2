// SPDX-License-Identifier: MIT
#pragma once
// The keys of a live schema, read through the ODBC catalogue: each table's columns, primary key,
// foreign keys and unique indexes, for building models from a database.
//
//   TOdbcConnection db("/tmp/shop.db");
//   db.Open();
//   std::vector<TTableSchema> tables = ReadSchema(db, {});   // every table
//   tables[0].PrimaryKey                                      // {"order_id", "line_no"}

#include <string>
#include <vector>

#include "core/database/schema.h"

namespace kelvast {

class TOdbcConnection;

// A foreign key of a table: its columns and the columns they reference, in key order.
struct TForeignKey {
  std::string Name;
  std::vector<std::string> Columns;
  std::string RefTable;
  std::vector<std::string> RefColumns;
};

// A unique index: its columns in index order.
struct TUniqueIndex {
  std::string Name;
  std::vector<std::string> Columns;
};

struct TTableSchema {
  std::string Name;
  std::vector<TColumnInfo> Columns;
  std::vector<std::string> PrimaryKey;  // empty: none
  std::vector<TForeignKey> ForeignKeys;
  // Unique indexes other than the primary key's own.
  std::vector<TUniqueIndex> UniqueIndexes;

  const TColumnInfo* Column(const std::string& name) const;
};

// The named tables (every table of type TABLE when `tables` is empty), in the order asked for or
// the driver's. Raises EDatabaseError for a table that does not exist, and EKelvastError for a
// table or column name that Windows-1252 cannot hold.
std::vector<TTableSchema> ReadSchema(TOdbcConnection& connection,
                                     const std::vector<std::string>& tables);

}  // namespace kelvast
