// SPDX-License-Identifier: MIT
#pragma once
// Composite generators: combinations of other generators of the model, and values drawn from a
// column of an existing database table.

#include <string>
#include <vector>

#include "core/model/col_params.h"

namespace kelvast {
class TDataAccess;
}

namespace kelvast {

// The values of the named generators of the same record, joined without separator and trimmed.
class TCPCombo : public TColParams {
 public:
  TCPCombo() = default;
  std::string_view ClassName() const override { return "TCPCombo"; }
  const TPropList& Props() const override;

  const std::vector<std::string>& Colnames() const { return FColnames; }
  // Replaces the lines and reports a change.
  void SetColnames(const std::vector<std::string>& v);
  // Direct access for in-place edits, which mark nothing modified.
  std::vector<std::string>& ColnamesRef() { return FColnames; }

  void Assign(const TColParams& source) override;

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  std::vector<std::string> FColnames;
  // Set while this combination's value is being built: a cycle back to it contributes "".
  bool FEvaluating = false;
};

// A distinct value of Field in Table, read at Prepare through the context's connection.
class TCPColRef : public TColParams {
 public:
  TCPColRef() = default;
  std::string_view ClassName() const override { return "TCPColRef"; }
  const TPropList& Props() const override;

  const std::string& Table() const { return FTable; }
  void SetTable(const std::string& v) { SetProp(FTable, v); }
  const std::string& Field() const { return FField; }
  void SetField(const std::string& v) { SetProp(FField, v); }
  // The stored text when it is, trimmed, two characters long, else two blanks.
  std::string Delimiter() const;
  void SetDelimiter(const std::string& v) { SetProp(FDelimiter, v); }
  std::string StrDelimiter() const;
  void SetStrDelimiter(const std::string& v) { SetProp(FStrDelimiter, v); }
  const std::string& StoredDelimiter() const { return FDelimiter; }

  // SELECT DISTINCT "Field" FROM "Table", the names quoted with the driver's identifier quote
  // (a quote inside doubled) and the field spelt as the catalogue has it. Raises EDatabaseError
  // when the table or the field does not exist.
  std::string QueryText(TDataAccess& connection) const;
  // The values read by the last Prepare.
  const std::vector<std::string>& Values() const { return FValues; }

  // Reads the values through the context's connection; raises EGenerationError when the column
  // holds none.
  void Prepare(const TGenContext& context) override;
  void ModelDelimiterChanged(bool names, const std::string& delimiter) override;
  void Assign(const TColParams& source) override;
  // The values read, trimmed, each counted once (without regard to case under a case
  // transform); empty ones left out.
  TUniqueSpace UniqueSpace() const override;

 protected:
  void DoGenerate(TTextBuffer& out) override;
  void AppendUniqueValue(TTextBuffer& out, TUniqueCount index) override;

 private:
  std::string FTable;
  std::string FField;
  std::string FDelimiter = "''";
  std::string FStrDelimiter = "''";
  std::vector<std::string> FValues;
  mutable std::vector<std::string_view> FUniqueValues;  // set by UniqueSpace, into FValues
};

}  // namespace kelvast
