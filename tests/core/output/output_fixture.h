// SPDX-License-Identifier: MIT
#pragma once
// Small models with known values for the writer tests.

#include <string>

#include "core/generators/numeric_gens.h"
#include "core/generators/string_gens.h"
#include "core/model/gen_model.h"

namespace kelvast::test {

// Appends a Const generator with a fixed value and export type.
inline TColToGenItem& AddConst(TGenModel& model, const std::string& field, const std::string& value,
                               TExportType exportType = etString) {
  TColToGenItem& item = model.Cols().Add();
  item.SetColName(field);
  item.SetDBColName(field);
  item.SetColType(ctConst);
  auto& param = static_cast<TCPConst&>(item.Param());
  param.SetConstValue(value);
  param.SetExportType(exportType);
  return item;
}

// Appends a counter 1, 2, 3, ...
inline TColToGenItem& AddCounter(TGenModel& model, const std::string& field) {
  TColToGenItem& item = model.Cols().Add();
  item.SetColName(field);
  item.SetDBColName(field);
  item.SetColType(ctIncremental);
  return item;
}

}  // namespace kelvast::test
