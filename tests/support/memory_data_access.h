// SPDX-License-Identifier: MIT
#pragma once
// An in-memory TDataAccess for tests: tables of named text columns, a connected flag, and a log
// of the statements received. It answers the one query shape the core sends to read a column,
//   SELECT DISTINCT <o>field<c> FROM <o>table<c>
// with the column's distinct values in first-seen order (a NULL cell reads as the empty text),
// and raises EDatabaseError for anything else, as a driver would.

#include "core/database/data_access.h"
#include "core/database/value_batch.h"

#include <algorithm>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace kelvast::test {

class TMemoryDataAccess : public TDataAccess {
 public:
  using TColumn = std::vector<std::optional<std::string>>;

  // Adds or replaces a column of a table.
  void SetColumn(const std::string& table, const std::string& field, TColumn cells) {
    FTables[table][field] = std::move(cells);
  }
  void SetConnected(bool v) { FConnected = v; }
  // The statements received, queries and executions alike, in order.
  const std::vector<std::string>& Log() const { return FLog; }

  bool Connected() const override { return FConnected; }
  void SetIdentifierQuote(char c) { FQuote = c; }

  std::vector<std::string> FieldNames(const std::string& table) override {
    if (!FConnected) throw EDatabaseError("[memory] not connected");
    std::vector<std::string> names;
    if (const auto t = FTables.find(table); t != FTables.end())
      for (const auto& column : t->second) names.push_back(column.first);
    return names;
  }
  char IdentifierQuote() override { return FQuote; }

  std::vector<std::string> Query(const std::string& sql) override {
    FLog.push_back(sql);
    if (!FConnected) throw EDatabaseError("[memory] not connected");
    static const std::regex kSelect(R"(^SELECT DISTINCT (.)(.*)(.) FROM (.)(.*)(.)$)");
    std::smatch m;
    if (!std::regex_match(sql, m, kSelect) || m[1] != m[4] || m[3] != m[6])
      throw EDatabaseError("[memory] syntax error in: " + sql);
    const auto table = FTables.find(m[5]);
    if (table == FTables.end()) throw EDatabaseError("[memory] no such table: " + m[5].str());
    const auto column = table->second.find(m[2]);
    if (column == table->second.end())
      throw EDatabaseError("[memory] no such column: " + m[2].str());
    std::vector<std::string> values;
    std::vector<std::optional<std::string>> seen;
    for (const auto& cell : column->second) {
      if (std::find(seen.begin(), seen.end(), cell) != seen.end()) continue;
      seen.push_back(cell);
      values.push_back(cell.value_or(""));
    }
    return values;
  }

  void Execute(const std::string& sql) override {
    FLog.push_back(sql);
    if (!FConnected) throw EDatabaseError("[memory] not connected");
  }

  void ExecuteRow(const TRowStatement& statement) override {
    FLog.push_back(statement.Sql);
    if (!FConnected) throw EDatabaseError("[memory] not connected");
  }

  void BeginTrans() override { FInTransaction = true; }
  void CommitTrans() override { FInTransaction = false; }
  void RollbackTrans() override { FInTransaction = false; }
  bool InTransaction() const override { return FInTransaction; }

 private:
  std::map<std::string, std::map<std::string, TColumn>> FTables;
  std::vector<std::string> FLog;
  bool FConnected = true;
  char FQuote = '"';
  bool FInTransaction = false;
};

}  // namespace kelvast::test
