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
  std::string& row = file.RowBuffer();
  for (size_t i = 0; i < FColumns.size(); ++i) {
    if (i > 0) row += ',';
    const TColParams& param = *FColumns[i].Param;
    const std::string& value = FColumns[i].Param->GetValue();
    if (param.ExportType() == etString) {
      // Quotes and commas inside are written as they are.
      const std::string_view text = TrimView(value);
      if (!text.empty()) {
        row += '"';
        row += text;
        row += '"';
      }
    } else {
      // Numbers carry a full stop whatever the locale's separator.
      const size_t start = row.size();
      row += value;
      if (FDecimalSeparator != '.') {
        const size_t at = row.find(FDecimalSeparator, start);
        if (at != std::string::npos) row[at] = '.';
      }
    }
  }
  file.EndLine();
}

}  // namespace kelvast
