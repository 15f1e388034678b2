// SPDX-License-Identifier: MIT
#include "core/output/unique_check.h"

#include "core/generators/registry.h"
#include "core/generators/unique_values.h"
#include "core/platform/errors.h"

namespace kelvast {

namespace {
const TColToGenItem* ItemOf(const TGenModel& model, const TColParams* param) {
  for (const auto& item : model.Cols())
    if (&item->Param() == param) return item.get();
  return nullptr;
}
}  // namespace

std::string UniqueKeysProblem(const TGenModel& model, int64_t records) {
  for (const TUniqueKey& key : model.UniqueKeys().Keys()) {
    for (const TColParams* refused : key.Refused) {
      const TColToGenItem* item = ItemOf(model, refused);
      if (!item) continue;
      if (refused->UseExternalFile() && refused->UniqueSpace().Applies)
        return item->ColName() + ": the Unique option does not apply to values read from a file";
      return item->ColName() + ": the Unique option does not apply to " +
             std::string(GeneratorTypeOf(item->ColType()).DisplayName) + " values";
    }
    if (records <= 0 || static_cast<TUniqueCount>(records) <= key.Capacity()) continue;
    std::string names;
    for (const TColParams* member : key.Members)
      if (const TColToGenItem* item = ItemOf(model, member))
        names += (names.empty() ? "" : ", ") + item->ColName();
    std::string message = names + ": " + GroupedDigits(records) + " unique values asked, " +
                          GroupedDigits(key.Capacity()) + " possible";
    if (key.Members.size() == 1) {
      const std::string range = key.Members[0]->UniqueSpace().Range;
      if (!range.empty()) message += " (" + range + ")";
    }
    return message;
  }
  return {};
}

void CheckUniqueKeys(const TGenModel& model, int64_t records) {
  if (std::string problem = UniqueKeysProblem(model, records); !problem.empty())
    throw EGenerationError(problem);
}

}  // namespace kelvast
