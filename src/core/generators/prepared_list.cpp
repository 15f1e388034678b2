// SPDX-License-Identifier: MIT
#include "core/generators/prepared_list.h"

#include "core/platform/text_utils.h"

namespace kelvast {

bool TPreparedList::Trimmed(std::string_view entry, std::string& value, int32_t) {
  value.assign(TrimView(entry));
  return true;
}

const TPackedTexts& TPreparedList::Prepare(const TWordLists& words, TWordList list, TShape shape,
                                           int32_t argument) {
  if (words.Generation() == FGeneration && static_cast<int>(list) == FList &&
      argument == FArgument && shape == FShape)
    return FValues;
  FGeneration = words.Generation();
  FList = static_cast<int>(list);
  FArgument = argument;
  FShape = shape;
  FValues.clear();
  FAhead.Reset();
  std::string value;
  for (const std::string& entry : words.List(list))
    if (shape(entry, value, argument)) FValues.push_back(value);
  return FValues;
}

}  // namespace kelvast
