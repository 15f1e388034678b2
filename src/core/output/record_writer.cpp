// SPDX-License-Identifier: MIT
#include "core/output/record_writer.h"

namespace kelvast {

std::vector<TWrittenColumn> WrittenColumns(const TGenModel& model) {
  std::vector<TWrittenColumn> columns;
  for (const auto& item : model.Cols())
    if (!item->Param().Stealth()) columns.push_back({item.get(), &item->Param()});
  return columns;
}

}  // namespace kelvast
