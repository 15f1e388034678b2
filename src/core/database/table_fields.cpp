// SPDX-License-Identifier: MIT
#include "core/database/table_fields.h"

#include <string_view>

namespace kelvast {

namespace {

// One information-schema row: name, data type, character length, precision, scale, separated
// by tabs (empty where the column has none).
std::string InformationSchemaQuery(const std::string& table) {
  std::string quoted = "'";
  for (char c : table) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  quoted += "'";
  return "SELECT column_name || chr(9) || data_type || chr(9) || "
         "coalesce(character_maximum_length::text, '') || chr(9) || "
         "coalesce(numeric_precision::text, '') || chr(9) || coalesce(numeric_scale::text, '') "
         "FROM information_schema.columns WHERE table_name = " + quoted +
         " AND table_schema = ANY (current_schemas(false)) ORDER BY ordinal_position";
}

std::vector<std::string> SplitTabs(std::string_view line) {
  std::vector<std::string> cells;
  size_t from = 0;
  for (size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t', from)) {
    cells.emplace_back(line.substr(from, tab - from));
    from = tab + 1;
  }
  cells.emplace_back(line.substr(from));
  return cells;
}

void CorrectPostgresField(TColumnInfo& field, const std::vector<std::string>& row) {
  const std::string& type = row[1];
  if (type == "boolean") {
    field.DataType = ftBoolean;
    field.MaxLength = 0;
  } else if ((type == "character varying" || type == "character") && row[2].empty()) {
    field.DataType = ftLongVarChar;  // no length: as long as text may be
    field.MaxLength = 0;
  } else if (type == "numeric" && row[3].empty()) {
    field.Precision = 0;  // any precision and scale
    field.Scale = 0;
  }
}

}  // namespace

std::vector<TColumnInfo> TableFields(TDataAccess& access, const std::string& table) {
  std::vector<TColumnInfo> fields = access.Columns(table);
  if (fields.empty() || access.DbmsName() != "PostgreSQL") return fields;
  for (const std::string& line : access.Query(InformationSchemaQuery(table))) {
    std::vector<std::string> row = SplitTabs(line);
    if (row.size() != 5) continue;
    for (TColumnInfo& field : fields)
      if (field.Name == row[0]) {
        CorrectPostgresField(field, row);
        break;
      }
  }
  return fields;
}

}  // namespace kelvast
