// SPDX-License-Identifier: MIT
#pragma once
// The SQL script: six comment lines, BEGIN;, one INSERT statement per record, COMMIT;, three
// comment lines (and a fourth saying how many records the file holds when the run was cut short).
// Without the transaction lines every statement commits on its own, which makes a script of many
// rows load hundreds of times slower.
//
//   INSERT INTO 'T' ('A', 'B') VALUES ('x''y', 12);

#include <optional>
#include <string>

#include "core/database/value_batch.h"
#include "core/output/record_writer.h"

namespace kelvast {

class TSqlWriter : public TRecordWriter {
 public:
  // With comments off the writer produces only the statement lines (the direct insert's form).
  // A fixed moment, when given, stands for the end of the run in the closing comment (the start
  // is the one the run passes), so that files can be made byte for byte again. `transaction`
  // wraps the statements of a script (comments on) in BEGIN; and COMMIT;.
  explicit TSqlWriter(TGenModel& model, bool comments = true,
                      std::optional<TDateTime> fixedEnd = std::nullopt, bool transaction = true);

  void Header(TRowStream& file, TDateTime start) override;
  void Row(TRowSink& file) override;
  std::vector<std::string> ClosingLines(const TRunEnd& end) override;
  std::unique_ptr<TRecordWriter> RowWriter(TGenModel& copy) const override {
    return std::make_unique<TSqlWriter>(copy, FComments, FFixedEnd, FTransaction);
  }

  // The statement of the current record, without line end; valid until the next call.
  std::string_view BuildStatement();
  // Appends that statement to out.
  void AppendStatement(TTextBuffer& out);

  // The current record as a value record (value_batch.h): a blank value is NULL, as the
  // statement writes it. Counts the values' size as the statement does.
  void AppendValueRecord(TTextBuffer& out);
  // The table and columns the statements name, and the statement of a row of values (without
  // the ";"), the same text BuildStatement gives for the record the row came from.
  TBulkTarget Target() const;
  std::string StatementOf(const TValueBatch& batch, size_t row) const;

 private:
  // value is the generator's own (a view into its buffer), copied as padded words.
  void AppendValue(TTextBuffer& out, const TColParams& param, TPaddedView value);

  TGenModel& FModel;
  bool FComments;
  bool FTransaction;
  std::optional<TDateTime> FFixedEnd;
  std::vector<TWrittenColumn> FColumns;
  std::string FTable;   // the table's name, delimited
  std::vector<std::string> FColumnNames;  // the columns' names, delimited
  std::string FPrefix;  // INSERT INTO ... VALUES (
  char FStringOpen;
  char FStringClose;
  TTextBuffer FStatement;  // reused by BuildStatement
};

// The data size in kilobytes as the footer writes it: the pattern "### ### ###.##" (digits only
// where significant, the two blanks always, two decimals at most and only when there are any).
std::string FormatDataSizeKb(double kb, char decimalSeparator);

}  // namespace kelvast
