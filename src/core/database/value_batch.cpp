// SPDX-License-Identifier: MIT
#include "core/database/value_batch.h"

#include <cstring>

#include "core/platform/errors.h"

namespace kelvast {

namespace {

void AppendLength(TTextBuffer& row, uint32_t length) {
  char bytes[4] = {static_cast<char>(length & 0xFF), static_cast<char>((length >> 8) & 0xFF),
                   static_cast<char>((length >> 16) & 0xFF), static_cast<char>(length >> 24)};
  row.append(bytes, 4);
}

uint32_t ReadLength(const char* at) {
  const auto* b = reinterpret_cast<const unsigned char*>(at);
  return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
         static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

[[noreturn]] void Damaged() { throw EFormatError("A row on its way to the database is damaged."); }

}  // namespace

void AppendRecordValue(TTextBuffer& row, std::string_view value) {
  if (value.data() == nullptr) {
    AppendRecordNull(row);
    return;
  }
  AppendLength(row, static_cast<uint32_t>(value.size()));
  row.append(value.data(), value.size());
}

void AppendRecordNull(TTextBuffer& row) { AppendLength(row, kNullValueLength); }

std::string InsertWithParameters(const TBulkTarget& target) {
  std::string sql = "INSERT INTO " + target.Table;
  if (target.Columns.empty()) return sql + " DEFAULT VALUES";
  sql += " (";
  for (size_t c = 0; c < target.Columns.size(); ++c)
    sql += (c ? ", " : "") + target.Columns[c].Name;
  sql += ") VALUES (";
  for (size_t c = 0; c < target.Columns.size(); ++c)
    sql += c ? ", ?" : "?";
  return sql + ")";
}

TRowStatement RowStatement(const TBulkTarget& target, const TValueBatch& batch, size_t row,
                           TMarkers markers) {
  TRowStatement statement;
  std::string& sql = statement.Sql;
  sql = "INSERT INTO " + target.Table;
  if (target.Columns.empty()) {
    sql += " DEFAULT VALUES";
    statement.ValuesAt = sql.size();
    return statement;
  }
  sql += " (";
  for (size_t c = 0; c < target.Columns.size(); ++c)
    sql += (c ? ", " : "") + target.Columns[c].Name;
  sql += ") VALUES (";
  statement.ValuesAt = sql.size();
  for (size_t c = 0; c < target.Columns.size(); ++c) {
    if (c > 0) sql += ", ";
    if (batch.IsNull(row, c)) {
      sql += "NULL";
    } else if (target.Columns[c].Number) {
      sql += batch.Value(row, c);
    } else {
      statement.Texts.push_back(batch.Value(row, c));
      if (markers == TMarkers::Question)
        sql += '?';
      else
        sql += "$" + std::to_string(statement.Texts.size());
    }
  }
  sql += ')';
  return statement;
}

void TValueBatch::AddRecords(std::string_view records) {
  const char* at = records.data();
  const char* end = at + records.size();
  while (at != end) {
    for (size_t c = 0; c < FColumns; ++c) {
      if (end - at < 4) Damaged();
      const uint32_t length = ReadLength(at);
      at += 4;
      if (length == kNullValueLength) {
        FValues.push_back({0, kNullValueLength});
        continue;
      }
      if (static_cast<size_t>(end - at) < length) Damaged();
      FValues.push_back({static_cast<uint32_t>(FText.size()), length});
      FText.append(at, length);
      at += length;
    }
    if (end - at < 2 || at[0] != '\r' || at[1] != '\n') Damaged();
    at += 2;
    ++FRowCount;
  }
}

}  // namespace kelvast
