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
  FRow.clear();
  for (size_t i = 0; i < FColumns.size(); ++i) {
    if (i > 0) FRow += ',';
    const TColParams& param = *FColumns[i].Param;
    const std::string& value = FColumns[i].Param->GetValue();
    if (param.ExportType() == etString) {
      // Quotes and commas inside are written as they are.
      const std::string_view text = TrimView(value);
      if (!text.empty()) {
        FRow += '"';
        FRow += text;
        FRow += '"';
      }
    } else {
      // Numbers carry a full stop whatever the locale's separator.
      const size_t start = FRow.size();
      FRow += value;
      if (FDecimalSeparator != '.') {
        const size_t at = FRow.find(FDecimalSeparator, start);
        if (at != std::string::npos) FRow[at] = '.';
      }
    }
  }
  file.WriteLine(FRow);
}

}  // namespace kelvast
