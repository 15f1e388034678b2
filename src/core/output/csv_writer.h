#pragma once
// The CSV file: a title line of quoted field names, then one line per record; no footer.

#include "core/output/record_writer.h"

namespace kelvast {

class TCsvWriter : public TRecordWriter {
 public:
  explicit TCsvWriter(TGenModel& model);

  void Header(TOutputFile& file, TDateTime start) override;
  void Row(TOutputFile& file) override;
  void Footer(TOutputFile&, TDateTime) override {}

 private:
  std::vector<TWrittenColumn> FColumns;
};

}  // namespace kelvast
