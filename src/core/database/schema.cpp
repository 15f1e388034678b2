// SPDX-License-Identifier: MIT
#include "core/database/schema.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include "core/database/odbc_connection.h"

namespace kelvast {

int FieldTypeFromSql(int sqlType) {
  switch (sqlType) {
    case SQL_CHAR: return ftChar;
    case SQL_VARCHAR: return ftVarChar;
    case SQL_LONGVARCHAR: return ftLongVarChar;
    case SQL_WCHAR: return ftWChar;
    case SQL_WVARCHAR: return ftVarWChar;
    case SQL_WLONGVARCHAR: return ftLongVarWChar;
    case SQL_DECIMAL: return ftDecimal;
    case SQL_NUMERIC: return ftNumeric;
    case SQL_SMALLINT: return ftSmallInt;
    case SQL_INTEGER: return ftInteger;
    case SQL_REAL: return ftSingle;
    case SQL_FLOAT:
    case SQL_DOUBLE: return ftDouble;
    case SQL_BIT: return ftBoolean;
    case SQL_TINYINT: return ftTinyInt;
    case SQL_BIGINT: return ftBigInt;
    case SQL_BINARY: return ftBinary;
    case SQL_VARBINARY: return ftVarBinary;
    case SQL_LONGVARBINARY: return ftLongVarBinary;
    case SQL_TYPE_DATE:
    case SQL_DATE: return ftDbDate;
    case SQL_TYPE_TIME:
    case SQL_TIME: return ftDbTime;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP: return ftDbTimeStamp;
    case SQL_GUID: return ftGuid;
    default: return sqlType;
  }
}

std::string TypeName(int code, int64_t n, int64_t p, int64_t s) {
  auto sized = [](const char* name, int64_t size) {
    return std::string(name) + "(" + std::to_string(size) + ")";
  };
  auto scaled = [&](const char* name) {
    return std::string(name) + "(" + std::to_string(p) + "." + std::to_string(s) + ")";
  };
  switch (code) {
    case 0: return "<empty>";
    case 2: return "SmallInt (Int16)";
    case 3: return "Integer (Int32)";
    case 4: return "Single";
    case 5: return scaled("Double");
    case 6: return "Currency";
    case 7: return "Date";
    case 8: return "String";
    case 9: return "Dispatch";
    case 10: return "<error>";
    case 11: return "Boolean";
    case 12: return "Variant";
    case 13: return "IUnknown";
    case 14: return scaled("Decimal");
    case 16: return "TinyInt (Int8)";
    case 17: return "Unsigned Int8";
    case 18: return "Unsigned Int16";
    case 19: return "Unsigned Int32";
    case 20: return "BigInt (Int64)";
    case 21: return "Unsigned Int64";
    case 64: return "FileTime";
    case 72: return "GUID";
    case 128: return "Binary";
    case 129: return sized("Char", n);
    case 130: return sized("WChar", n);
    case 131: return scaled("Numeric");
    case 132: return "User Defined";
    case 133: return "Date";
    case 134: return "Time";
    case 135: return "Time Stamp";
    case 136: return "(.net datareader)";
    case 137: return "FileTime";
    case 138: return "Prop. Variant";
    case 139: return "Var Numeric";
    case 200: return sized("VarChar", n);
    case 201: return "Long Var Char";
    case 202: return sized("VarWChar", n);
    case 203: return "Long Var W.Char";
    case 204: return "Var Binary";
    case 205: return "Long Var Binary";
    default: return "<unkown:" + std::to_string(code) + ">";
  }
}

std::vector<std::vector<std::string>> FieldsGrid(const std::vector<TColumnInfo>& columns) {
  std::vector<std::vector<std::string>> grid;
  grid.reserve(columns.size() + 1);
  grid.push_back({"Field", "Type", "Domain", "Default", "Nullable", "Computed"});
  for (const TColumnInfo& c : columns)
    grid.push_back({c.Name, TypeName(c), "", c.HasDefault ? c.Default : "<no>", c.IsNullable, ""});
  return grid;
}

std::string GridText(const std::vector<std::vector<std::string>>& grid) {
  std::string text;
  for (const auto& row : grid) {
    for (size_t i = 0; i < row.size(); ++i) {
      if (i > 0) text += '\t';
      text += row[i];
    }
    text += "\r\n";
  }
  return text;
}

std::vector<TTargetField> TargetFields(const std::vector<TColumnInfo>& columns) {
  std::vector<TTargetField> fields;
  fields.reserve(columns.size());
  for (const TColumnInfo& c : columns) fields.push_back({c.Name, c.MaxLength});
  return fields;
}

void ListTableFields(TOdbcConnection* connection, const std::string& table,
                     std::vector<std::string>& list) {
  list.clear();
  if (!connection || !connection->Connected()) return;
  try {
    connection->ForEachColumn(table, [&](const TColumnInfo& c) { list.push_back(c.Name); });
  } catch (const EKelvastError&) {
    // The page offers what could be read; a failure here is not worth a message.
  }
}

}  // namespace kelvast
