// SPDX-License-Identifier: MIT
#pragma once
// Rows of values on their way into a table by a bulk path. Each value is NULL or a text in
// Windows-1252, exactly what the record's INSERT statement would hold; each column is written
// either as a number (spliced as it is) or as a text (a string literal).
//
// Rows travel from the record loop as value records: per column a 4-byte little-endian length
// (0xFFFFFFFF for NULL) and the value's bytes, the row ended by CR LF like every line of a row
// sink, so that rows made on several threads pass through the same blocks as a file's lines.
//
//   TValueBatch batch(2);
//   batch.AddRecords(lines);                 // whole value records
//   batch.Value(0, 1);                       // the text of row 0's second value
//   batch.IsNull(0, 0);

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/text_buffer.h"

namespace kelvast {

inline constexpr uint32_t kNullValueLength = 0xFFFFFFFFu;

// Appends one value of a value record; a null view (data() == nullptr) is NULL.
void AppendRecordValue(TTextBuffer& row, std::string_view value);
// Appends NULL to a value record.
void AppendRecordNull(TTextBuffer& row);

// A column of the target table as a bulk path needs it.
struct TBulkColumn {
  std::string Name;     // as the statements write it, delimited
  bool Number = false;  // written unquoted, as a number
};

class TValueBatch;

// Where the rows go: the table and its columns as the INSERT statements name them, and each
// row's INSERT statement as the SQL script would write it (without the ";"), which a path without
// a bulk interface runs and every path reports for a row that fails.
struct TBulkTarget {
  std::string Table;  // delimited
  std::vector<TBulkColumn> Columns;
  std::function<std::string(const TValueBatch& batch, size_t row)> Statement;
};

// "INSERT INTO table (columns) VALUES (?, ...)", with one parameter per column; DEFAULT VALUES
// for a target without columns.
std::string InsertWithParameters(const TBulkTarget& target);

// One row's INSERT statement as a database runs it: each text a parameter, each number
// column's value written bare (a number literal, or an expression such as now() or TRUE that
// only the statement can store), NULL as NULL. What follows ValuesAt comes from the row; the
// table's and columns' names before it do not.
//
//   TRowStatement s = RowStatement(target, batch, 3, TMarkers::Question);
//   // s.Sql: INSERT INTO t (id, name) VALUES (now(), ?)   s.Texts: {"Smith"}
struct TRowStatement {
  std::string Sql;  // in the code page
  size_t ValuesAt = 0;
  std::vector<std::string_view> Texts;  // the texts in the markers' order, viewing the batch
};

// How the parameters are marked: ODBC's "?", or PostgreSQL's "$1", "$2", ...
enum class TMarkers { Question, Numbered };

TRowStatement RowStatement(const TBulkTarget& target, const TValueBatch& batch, size_t row,
                           TMarkers markers);

class TValueBatch {
 public:
  explicit TValueBatch(size_t columns) : FColumns(columns) {}

  size_t Columns() const { return FColumns; }
  size_t Rows() const { return FColumns == 0 ? FRowCount : FValues.size() / FColumns; }
  // The bytes the batch holds, to bound a batch's memory.
  size_t Bytes() const { return FText.size(); }
  bool Empty() const { return Rows() == 0; }

  void Clear() {
    FText.clear();
    FValues.clear();
    FRowCount = 0;
  }
  // Appends the rows of whole value records; raises EFormatError on a damaged record.
  void AddRecords(std::string_view records);

  bool IsNull(size_t row, size_t column) const {
    return At(row, column).Length == kNullValueLength;
  }
  // The value's text; empty for NULL.
  std::string_view Value(size_t row, size_t column) const {
    const TSpan& span = At(row, column);
    if (span.Length == kNullValueLength) return {};
    return {FText.data() + span.Offset, span.Length};
  }

 private:
  struct TSpan {
    uint32_t Offset;
    uint32_t Length;
  };
  const TSpan& At(size_t row, size_t column) const { return FValues[row * FColumns + column]; }

  size_t FColumns;
  size_t FRowCount = 0;  // rows of a table without columns
  std::string FText;
  std::vector<TSpan> FValues;
};

}  // namespace kelvast
