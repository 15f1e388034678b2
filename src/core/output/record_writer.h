#pragma once
// The three steps every output format provides to a run: a header after the file is opened, one
// row per record after the model's NewRecord, and a footer after the last record.

#include <cstdint>
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

  virtual void Header(TOutputFile& file, TDateTime start) = 0;
  virtual void Row(TOutputFile& file) = 0;
  virtual void Footer(TOutputFile& file, TDateTime start) = 0;

  // Characters of generated values counted by formats that report a data size.
  int64_t DataSize() const { return FDataSize; }

 protected:
  int64_t FDataSize = 0;
  std::string FRow;  // reused for every row, so rows cost no allocation once warm
};

}  // namespace kelvast
