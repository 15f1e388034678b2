// SPDX-License-Identifier: MIT
#pragma once
// The three steps every output format provides to a run: a header after the file is opened, one
// row per record after the model's NewRecord, and a footer after the last record.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/model/gen_model.h"
#include "core/output/output_file.h"
#include "core/platform/date_time.h"

namespace kelvast {

// A column that appears in the output: a generator that is not stealth.
struct TWrittenColumn {
  TColToGenItem* Item;
  TColParams* Param;
};

// The model's written columns in model order.
std::vector<TWrittenColumn> WrittenColumns(const TGenModel& model);

class TRecordWriter {
 public:
  virtual ~TRecordWriter() = default;

  virtual void Header(TRowStream& file, TDateTime start) = 0;
  virtual void Row(TRowSink& file) = 0;
  virtual void Footer(TRowStream& file, TDateTime start) = 0;

  // A writer of this one's rows from another copy of the model, for a worker of a run on several
  // threads; only its Row is used, and the counts of the rows it made come back through AddRows.
  virtual std::unique_ptr<TRecordWriter> RowWriter(TGenModel& copy) const = 0;
  // Counts rows made elsewhere, holding dataSize characters of values.
  virtual void AddRows(int64_t rows, int64_t dataSize) {
    (void)rows;
    FDataSize += dataSize;
  }

  // Characters of generated values counted by formats that report a data size.
  int64_t DataSize() const { return FDataSize; }

 protected:
  int64_t FDataSize = 0;
  std::string FRow;  // reused for every row, so rows cost no allocation once warm
};

}  // namespace kelvast
