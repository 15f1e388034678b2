// SPDX-License-Identifier: MIT
#include "core/output/record_writer.h"

namespace kelvast {

std::vector<TWrittenColumn> WrittenColumns(const TGenModel& model) {
  std::vector<TWrittenColumn> columns;
  for (const auto& item : model.Cols())
    if (!item->Param().Stealth()) columns.push_back({item.get(), &item->Param()});
  return columns;
}

std::string GroupedCount(int64_t n) {
  std::string digits = std::to_string(n < 0 ? 0 : n);
  for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, ',');
  return digits;
}

std::string CutNote(const TRunEnd& end) {
  if (end.Kind == rkComplete) return {};
  return GroupedCount(end.Records) + " of " + GroupedCount(end.Asked) + " records: " +
         (end.Kind == rkStopped ? "the run was stopped" : "the run ended by an error");
}

}  // namespace kelvast
