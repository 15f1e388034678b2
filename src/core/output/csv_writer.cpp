#include "core/output/csv_writer.h"

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
  bool first = true;
  for (const TWrittenColumn& column : FColumns) {
    if (!first) row += ',';
    first = false;
    TColParams& param = *column.Param;
    const std::string& value = param.GetValue();
    if (param.ExportType() == etString) {
      // Quotes and commas inside are written as they are.
      const std::string_view text = TrimView(value);
      if (!text.empty()) {
        char* at = row.Extend(text.size() + 2);
        at[0] = '"';
        TTextBuffer::Copy(at + 1, text.data(), text.size());
        at[text.size() + 1] = '"';
      }
    } else {
      // Numbers carry a full stop whatever the locale's separator.
      const size_t start = row.size();
      row += value;
      if (separator != '.') {
        const size_t at = row.find(separator, start);
        if (at != std::string::npos) row[at] = '.';
      }
    }
  }
  file.EndLine();
}

}  // namespace kelvast
