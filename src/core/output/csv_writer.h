// SPDX-License-Identifier: MIT
#pragma once
// The CSV file: a title line of quoted field names, then one line per record; no footer.

#include "core/output/record_writer.h"

namespace kelvast {

class TCsvWriter : public TRecordWriter {
 public:
  explicit TCsvWriter(TGenModel& model);
  std::unique_ptr<TRecordWriter> RowWriter(TGenModel& copy) const override {
    return std::make_unique<TCsvWriter>(copy);
  }

  void Header(TRowStream& file, TDateTime start) override;
  void Row(TRowSink& file) override;

 private:
  std::vector<TWrittenColumn> FColumns;
};

}  // namespace kelvast
