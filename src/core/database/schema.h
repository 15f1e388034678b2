// SPDX-License-Identifier: MIT
#pragma once
// What the schema browser shows of a table: its columns with readable type names, the fields
// grid, the target-field list and the field-name list of the column-reference page.
//
//   std::vector<TColumnInfo> cols = connection.Columns("people");
//   TypeName(cols[0])                  // "VarChar(255)"
//   FieldsGrid(cols)                   // title row + one row per column, six cells each

#include <cstdint>
#include <string>
#include <vector>

namespace kelvast {

class TOdbcConnection;

// The type codes of the fields grid (the OLE DB codes: 3 Integer, 131 Numeric, 200 VarChar, ...).
enum TFieldTypeCode : int {
  ftEmpty = 0, ftSmallInt = 2, ftInteger = 3, ftSingle = 4, ftDouble = 5, ftCurrency = 6,
  ftDate = 7, ftBStr = 8, ftBoolean = 11, ftVariant = 12, ftDecimal = 14, ftTinyInt = 16,
  ftUnsignedTinyInt = 17, ftUnsignedSmallInt = 18, ftUnsignedInt = 19, ftBigInt = 20,
  ftUnsignedBigInt = 21, ftGuid = 72, ftBinary = 128, ftChar = 129, ftWChar = 130,
  ftNumeric = 131, ftDbDate = 133, ftDbTime = 134, ftDbTimeStamp = 135, ftVarChar = 200,
  ftLongVarChar = 201, ftVarWChar = 202, ftLongVarWChar = 203, ftVarBinary = 204,
  ftLongVarBinary = 205,
};

// One row of a table's column list. Lengths, precisions and scales are 0 where the column has
// none (or the driver reports none).
struct TColumnInfo {
  std::string Name;
  int DataType = ftEmpty;   // the grid's type code, mapped from SqlType
  int SqlType = 0;          // the ODBC SQL type the driver reported
  std::string DriverType;   // the driver's own type name ("varchar", "int4", ...)
  int64_t MaxLength = 0;    // characters (or bytes) of text and binary columns
  int64_t Precision = 0;    // digits of numeric columns
  int64_t Scale = 0;        // decimals of exact numeric columns
  std::string IsNullable;   // "YES", "NO", or empty when unknown
  bool HasDefault = false;
  std::string Default;      // the default as the driver writes it, when HasDefault
};

// The grid's type code of an ODBC SQL type. SQL types without an equivalent keep their own code,
// which the type name then shows as unknown.
int FieldTypeFromSql(int sqlType);

// The readable type name of a code with its length, precision and scale: "VarChar(255)",
// "Integer (Int32)", "Numeric(10.2)", "<unkown:1>" for a code it does not know.
std::string TypeName(int code, int64_t maxLength, int64_t precision, int64_t scale);
inline std::string TypeName(const TColumnInfo& c) {
  return TypeName(c.DataType, c.MaxLength, c.Precision, c.Scale);
}

// The fields grid: the title row ("Field", "Type", "Domain", "Default", "Nullable", "Computed")
// then one row per column. ODBC reports no domain and no computed flag, so those cells stay
// empty; Default shows the default or "<no>".
std::vector<std::vector<std::string>> FieldsGrid(const std::vector<TColumnInfo>& columns);

// The grid as the clipboard gets it: cells separated by TAB, every row ended by CR LF.
std::string GridText(const std::vector<std::vector<std::string>>& grid);

// An entry of the target-field list: a field with its maximum character length (0 for none).
struct TTargetField {
  std::string Name;
  int64_t MaxLength = 0;
  bool operator==(const TTargetField&) const = default;
};
std::vector<TTargetField> TargetFields(const std::vector<TColumnInfo>& columns);

// The field names of a table, for the column-reference page. Empty when the connection is not
// open; any error on the way is swallowed and leaves the names read so far.
void ListTableFields(TOdbcConnection* connection, const std::string& table,
                     std::vector<std::string>& list);

}  // namespace kelvast
