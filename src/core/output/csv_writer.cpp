// SPDX-License-Identifier: MIT
#include "core/output/csv_writer.h"

#include <cstring>

#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

// A quoted field whose quotes are doubled, followed by the comma every value gets: what CSV
// readers take back as the one value.
[[gnu::noinline]] void AppendQuotedField(TTextBuffer& row, const char* begin, const char* end) {
  row += '"';
  for (const char* at = begin; at != end; ++at) {
    if (*at == '"') row += '"';
    row += *at;
  }
  row.append("\",", 2);
}

// A number-typed value that a reader would split or misread unless it were quoted.
bool NeedsQuotes(const char* begin, const char* end) {
  for (const char* at = begin; at != end; ++at)
    if (*at == ',' || *at == '"' || *at == '\n' || *at == '\r') return true;
  return false;
}

}  // namespace

TCsvWriter::TCsvWriter(TGenModel& model) : FColumns(WrittenColumns(model)) {}

void TCsvWriter::Header(TRowStream& file, TDateTime) {
  TTextBuffer& row = file.RowBuffer();
  for (const TWrittenColumn& column : FColumns) {
    const std::string& name = column.Item->DBColName();
    AppendQuotedField(row, name.data(), name.data() + name.size());
  }
  if (!FColumns.empty()) row.pop_back();
  file.EndLine();
}

void TCsvWriter::Row(TRowSink& file) {
  TTextBuffer& row = file.RowBuffer();
  // Every value is followed by a comma, and the last comma gives way to the line end: one
  // reservation per value, and no test for the first column. Values lie in their generators'
  // buffers, so they are copied as padded words.
  for (const TWrittenColumn& column : FColumns) {
    TColParams& param = *column.Param;
    const TPaddedView value = param.GetValue();
    if (param.ExportType() == etString) {
      // Trimmed and quoted, quotes inside doubled; a blank text is written as nothing at all.
      const TPaddedView text = value.Trimmed();
      const size_t n = text.size();
      if (n == 0) {
        row += ',';
        continue;
      }
      if (text.Contains('"')) {
        AppendQuotedField(row, text.data(), text.data() + n);
        continue;
      }
      char* at = row.Extend(n + 3);
      at[0] = '"';
      TTextBuffer::CopyPadded(at + 1, text);
      at[n + 1] = '"';
      at[n + 2] = ',';
    } else if (NeedsQuotes(value.data(), value.data() + value.size())) {
      AppendQuotedField(row, value.data(), value.data() + value.size());
    } else {
      const size_t n = value.size();
      char* at = row.Extend(n + 1);
      TTextBuffer::CopyPadded(at, value);
      at[n] = ',';
    }
  }
  if (!FColumns.empty()) row.pop_back();
  file.EndLine();
}

}  // namespace kelvast
