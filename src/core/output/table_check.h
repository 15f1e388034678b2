// SPDX-License-Identifier: MIT
#pragma once
// The check of a model against the live table before a direct insert: fields that do not exist,
// values longer than their field, NOT NULL fields that nothing fills, and values the field's type
// cannot take. Every problem is found before the first row goes in, and all are listed together.
//
//   std::vector<std::string> problems = CheckAgainstTable(model, connection.Columns("people"),
//                                                         records);
//   if (!problems.empty()) throw ETableMismatch(model.TableName(), problems);

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/database/data_access.h"
#include "core/database/schema.h"
#include "core/model/gen_model.h"

namespace kelvast {

// What a generator's values are, as far as a field's type is concerned. Unknown values (a
// constant, an external file, a combination, a column reference) are never refused.
enum class TValueKind { Unknown, Integer, Real, Boolean, Text, Date, Time, DateTime };

struct TValueShape {
  TValueKind Kind = TValueKind::Unknown;
  // The longest value in characters; none when it cannot be known before the run.
  std::optional<int64_t> Longest;
  // Integers and reals: the largest number of digits before the decimal point, and after it.
  int IntegerDigits = 0;
  int Decimals = 0;
  // Integers: the smallest and largest value.
  int64_t Min = 0;
  int64_t Max = 0;
};

// What the engine refuses beyond NULLs: values its field's type cannot take, and values longer
// than the field.
struct TEnforcedRules {
  bool Types = true;
  bool Lengths = true;
};
// The rules of the engine of that name (see TDataAccess::DbmsName).
TEnforcedRules EnforcedRulesOf(std::string_view dbms);

// The shape of the values the item's generator writes in a run of `records` records. Reads the
// word lists and external files loaded for the run.
TValueShape ShapeOf(const TColParams& param, int64_t records);

// The problems of writing the model's columns into a table with these fields, one line each, in
// field order; empty when there are none or when the table's fields are unknown (no field read).
std::vector<std::string> CheckAgainstTable(const TGenModel& model,
                                           const std::vector<TColumnInfo>& fields,
                                           int64_t records, const TEnforcedRules& rules = {});

// Reads the live table's fields and raises ETableMismatch with every problem of writing the
// model's records into it. Nothing is checked when the table's fields cannot be found.
void RequireTableFits(const TGenModel& model, TDataAccess& connection, int64_t records);

// The run is refused: the model does not fit its table.
class ETableMismatch : public std::runtime_error {
 public:
  ETableMismatch(const std::string& table, const std::vector<std::string>& problems);
  const std::vector<std::string>& Problems() const { return FProblems; }

 private:
  std::vector<std::string> FProblems;
};

}  // namespace kelvast
