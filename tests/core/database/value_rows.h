// SPDX-License-Identifier: MIT
#pragma once
// Batches of values and targets for the bulk session tests: rows given as optional texts, and a
// target whose statements write each value as the SQL script does (a number as it is, a text as
// a string literal with its apostrophes doubled).

#include <optional>
#include <string>
#include <vector>

#include "core/database/value_batch.h"

namespace kelvast::test {

using TValueRow = std::vector<std::optional<std::string>>;

inline TValueBatch MakeBatch(size_t columns, const std::vector<TValueRow>& rows) {
  TTextBuffer records;
  for (const TValueRow& row : rows) {
    for (const std::optional<std::string>& value : row)
      value ? AppendRecordValue(records, *value) : AppendRecordNull(records);
    records += "\r\n";
  }
  TValueBatch batch(columns);
  batch.AddRecords(records);
  return batch;
}

inline TBulkTarget SplicingTarget(const std::string& table, const std::vector<TBulkColumn>& columns) {
  TBulkTarget target{table, columns, {}};
  target.Statement = [table, columns](const TValueBatch& batch, size_t row) {
    std::string names, values;
    for (size_t c = 0; c < columns.size(); ++c) {
      names += (c ? ", " : "") + columns[c].Name;
      values += c ? ", " : "";
      if (batch.IsNull(row, c)) {
        values += "NULL";
      } else if (columns[c].Number) {
        values += batch.Value(row, c);
      } else {
        values += '\'';
        for (char ch : batch.Value(row, c))
          values += ch == '\'' ? std::string("''") : std::string(1, ch);
        values += '\'';
      }
    }
    return "INSERT INTO " + table + " (" + names + ") VALUES (" + values + ")";
  };
  return target;
}

}  // namespace kelvast::test
