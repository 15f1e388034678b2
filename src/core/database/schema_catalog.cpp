// SPDX-License-Identifier: MIT
#include "core/database/schema_catalog.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "core/database/odbc_connection.h"
#include "core/platform/code_page.h"
#include "core/platform/errors.h"

namespace kelvast {

namespace {

// Cells of the catalogue result sets, counted from 0 (the ODBC column numbers less one).
constexpr size_t kTableSchema = 1, kTableName = 2, kTableType = 3;
constexpr size_t kColumnTable = 2, kColumnName = 3;
constexpr size_t kPkTable = 2, kPkColumn = 3, kPkSeq = 4;
constexpr size_t kFkRefTable = 2, kFkRefColumn = 3, kFkTable = 6, kFkColumn = 7, kFkSeq = 8,
                 kFkName = 11;
constexpr size_t kIxTable = 2, kIxNonUnique = 3, kIxName = 5, kIxType = 6, kIxSeq = 7,
                 kIxColumn = 8;

int Number(const std::string& text) {
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

const std::string& Cell(const std::vector<std::string>& row, size_t index) {
  static const std::string kNone;
  return index < row.size() ? row[index] : kNone;
}

// The name in the code page, or an error saying which name cannot be held.
std::string AnsiName(const std::string& utf8, const char* what) {
  std::string ansi;
  if (!Utf8ToAnsi(utf8, ansi))
    throw EKelvastError(std::string("The ") + what + " name \"" + utf8 +
                        "\" holds characters that Windows-1252 cannot hold; models store names "
                        "in Windows-1252.");
  return ansi;
}

// Key columns gathered by key name, in key order.
struct TKeyColumns {
  std::vector<std::pair<int, std::string>> Columns;
  std::vector<std::pair<int, std::string>> RefColumns;
  std::string RefTable;
  size_t FirstSeen = 0;

  static std::vector<std::string> Sorted(std::vector<std::pair<int, std::string>> v) {
    std::stable_sort(v.begin(), v.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (auto& [seq, name] : v) names.push_back(std::move(name));
    return names;
  }
};

TTableSchema ReadTable(TOdbcConnection& db, const std::string& table) {
  TTableSchema t;
  t.Name = table;
  const std::string wanted = AnsiToUtf8(table);
  for (const auto& row : db.CatalogRows(TOdbcConnection::ccColumns, table))
    if (Cell(row, kColumnTable) == wanted) AnsiName(Cell(row, kColumnName), "column");
  t.Columns = db.Columns(table);
  if (t.Columns.empty())
    throw EDatabaseError("The table \"" + AnsiToUtf8(table) + "\" does not exist.");

  std::vector<std::pair<int, std::string>> key;
  for (const auto& row : db.CatalogRows(TOdbcConnection::ccPrimaryKeys, table))
    if (Cell(row, kPkTable) == wanted)
      key.emplace_back(Number(Cell(row, kPkSeq)), AnsiName(Cell(row, kPkColumn), "column"));
  t.PrimaryKey = TKeyColumns::Sorted(key);

  // A key without a name (some drivers leave it out) is told apart by its sequence restarting.
  std::map<std::string, TKeyColumns> foreign;
  std::string unnamed;
  int unnamedCount = 0;
  for (const auto& row : db.CatalogRows(TOdbcConnection::ccForeignKeys, table)) {
    if (Cell(row, kFkTable) != wanted) continue;
    const int seq = Number(Cell(row, kFkSeq));
    std::string name = Cell(row, kFkName);
    if (name.empty()) {
      if (seq <= 1 || unnamed.empty()) unnamed = "#" + std::to_string(++unnamedCount);
      name = unnamed;
    }
    TKeyColumns& k = foreign[name];
    if (k.Columns.empty()) k.FirstSeen = foreign.size();
    k.Columns.emplace_back(seq, AnsiName(Cell(row, kFkColumn), "column"));
    k.RefColumns.emplace_back(seq, AnsiName(Cell(row, kFkRefColumn), "column"));
    k.RefTable = AnsiName(Cell(row, kFkRefTable), "table");
  }
  for (auto& [name, k] : foreign)
    t.ForeignKeys.push_back(
        {name, TKeyColumns::Sorted(k.Columns), k.RefTable, TKeyColumns::Sorted(k.RefColumns)});

  std::map<std::string, TKeyColumns> unique;
  for (const auto& row : db.CatalogRows(TOdbcConnection::ccUniqueIndexes, table)) {
    if (Cell(row, kIxTable) != wanted || Cell(row, kIxType) == "0" ||
        Cell(row, kIxNonUnique) == "1" || Cell(row, kIxColumn).empty())
      continue;
    unique[Cell(row, kIxName)].Columns.emplace_back(Number(Cell(row, kIxSeq)),
                                                     AnsiName(Cell(row, kIxColumn), "column"));
  }
  for (auto& [name, k] : unique) {
    std::vector<std::string> columns = TKeyColumns::Sorted(k.Columns);
    // The primary key's own index is the key itself.
    std::vector<std::string> a = columns, b = t.PrimaryKey;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    if (a == b) continue;
    t.UniqueIndexes.push_back({AnsiName(name, "index"), std::move(columns)});
  }
  return t;
}

}  // namespace

const TColumnInfo* TTableSchema::Column(const std::string& name) const {
  for (const TColumnInfo& c : Columns)
    if (c.Name == name) return &c;
  return nullptr;
}

std::vector<TTableSchema> ReadSchema(TOdbcConnection& connection,
                                     const std::vector<std::string>& tables) {
  std::vector<std::string> names = tables;
  if (names.empty()) {
    const bool sqlite = connection.DbmsName() == "SQLite";
    std::string firstSchema;
    bool schemaSeen = false;
    for (const auto& row : connection.CatalogRows(TOdbcConnection::ccTables, "")) {
      const std::string& name = Cell(row, kTableName);
      if (Cell(row, kTableType) != "TABLE" || (sqlite && name.rfind("sqlite_", 0) == 0)) continue;
      // Tables of the first schema listed only: the connection's own (public) tables.
      if (!schemaSeen) {
        firstSchema = Cell(row, kTableSchema);
        schemaSeen = true;
      } else if (Cell(row, kTableSchema) != firstSchema) {
        continue;
      }
      names.push_back(AnsiName(name, "table"));
    }
  }
  std::vector<TTableSchema> result;
  for (const std::string& name : names) result.push_back(ReadTable(connection, name));
  return result;
}

}  // namespace kelvast
