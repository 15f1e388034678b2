#include "core/output/csv_writer.h"

#include <cstring>

#include "core/platform/format_settings.h"
#include "core/platform/text_utils.h"

namespace kelvast {

TCsvWriter::TCsvWriter(TGenModel& model)
    : FColumns(WrittenColumns(model)), FDecimalSeparator(FormatSettings().DecimalSeparator) {}

void TCsvWriter::Header(TOutputFile& file, TDateTime) {
  FRow.clear();
  for (size_t i = 0; i < FColumns.size(); ++i) {
    if (i > 0) FRow += ',';
    FRow += '"';
    FRow += FColumns[i].Item->DBColName();
    FRow += '"';
  }
  file.WriteLine(FRow);
}

void TCsvWriter::Row(TOutputFile& file) {
  TTextBuffer& row = file.RowBuffer();
  const char separator = FDecimalSeparator;
  // Every value is followed by a comma, and the last comma gives way to the line end: one
  // reservation per value, and no test for the first column. Values lie in their generators'
  // buffers, so they are copied as padded words.
  for (const TWrittenColumn& column : FColumns) {
    TColParams& param = *column.Param;
    const std::string_view value = param.GetValue();
    const char* begin = value.data();
    const char* end = begin + value.size();
    if (param.ExportType() == etString) {
      // Trimmed and quoted; quotes and commas inside are written as they are, and a blank text
      // is written as nothing at all.
      while (begin != end && IsTrimChar(*begin)) ++begin;
      while (end != begin && IsTrimChar(end[-1])) --end;
      const auto n = static_cast<size_t>(end - begin);
      if (n == 0) {
        row += ',';
        continue;
      }
      char* at = row.Extend(n + 3);
      at[0] = '"';
      TTextBuffer::CopyPadded(at + 1, begin, n);
      at[n + 1] = '"';
      at[n + 2] = ',';
    } else {
      const auto n = static_cast<size_t>(end - begin);
      char* at = row.Extend(n + 1);
      TTextBuffer::CopyPadded(at, begin, n);
      at[n] = ',';
      // Numbers carry a full stop whatever the locale's separator.
      if (separator != '.')
        if (void* found = std::memchr(at, separator, n)) *static_cast<char*>(found) = '.';
    }
  }
  if (!FColumns.empty()) row.pop_back();
  file.EndLine();
}

}  // namespace kelvast
