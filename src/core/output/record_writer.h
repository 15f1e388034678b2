// SPDX-License-Identifier: MIT
#pragma once
// The three steps every output format provides to a run: a header after the file is opened, one
// row per record after the model's NewRecord, and the closing lines after the last record. A
// file cut short (a stop asked for, an error, a full disk) ends with the same closing lines after
// its last whole record; formats with comments then say how many records it holds.

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

// How the records of a run ended, as its closing lines tell.
enum TRunEndKind { rkComplete, rkStopped, rkFailed };

struct TRunEnd {
  TDateTime Start = 0;
  int64_t Records = 0;  // the records the file holds
  int64_t Asked = 0;    // the records the run was to make
  TRunEndKind Kind = rkComplete;
};

// 1234567 as "1,234,567".
std::string GroupedCount(int64_t n);

// What a closing comment says of a file cut short ("1,234 of 10,000 records: the run was
// stopped"); empty for a complete run.
std::string CutNote(const TRunEnd& end);

class TRecordWriter {
 public:
  virtual ~TRecordWriter() = default;

  virtual void Header(TRowStream& file, TDateTime start) = 0;
  virtual void Row(TRowSink& file) = 0;
  // The lines that close the file after its last record, each without its line end: every
  // line a format ends its files with (a closing tag, a closing comment) is made here alone.
  virtual std::vector<std::string> ClosingLines(const TRunEnd& end) {
    (void)end;
    return {};
  }
  // Writes the closing lines.
  virtual void Footer(TRowStream& file, const TRunEnd& end) {
    for (const std::string& line : ClosingLines(end)) file.WriteLine(line);
  }

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
