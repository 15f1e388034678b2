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

void TCsvWriter::Header(TOutputFile& file, TDateTime) {
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
    const std::string_view value = param.GetValue();
    const char* begin = value.data();
    const char* end = begin + value.size();
    if (param.ExportType() == etString) {
      // Trimmed and quoted, quotes inside doubled; a blank text is written as nothing at all.
      while (begin != end && IsTrimChar(*begin)) ++begin;
      while (end != begin && IsTrimChar(end[-1])) --end;
      const auto n = static_cast<size_t>(end - begin);
      if (n == 0) {
        row += ',';
        continue;
      }
      if (std::memchr(begin, '"', n)) {
        AppendQuotedField(row, begin, end);
        continue;
      }
      char* at = row.Extend(n + 3);
      at[0] = '"';
      TTextBuffer::CopyPadded(at + 1, begin, n);
      at[n + 1] = '"';
      at[n + 2] = ',';
    } else if (NeedsQuotes(begin, end)) {
      AppendQuotedField(row, begin, end);
    } else {
      const auto n = static_cast<size_t>(end - begin);
      char* at = row.Extend(n + 1);
      TTextBuffer::CopyPadded(at, begin, n);
      at[n] = ',';
    }
  }
  if (!FColumns.empty()) row.pop_back();
  file.EndLine();
}

}  // namespace kelvast
