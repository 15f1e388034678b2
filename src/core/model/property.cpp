// SPDX-License-Identifier: MIT
#include "core/model/property.h"

#include "core/platform/text_utils.h"

namespace kelvast {

bool TPropInfo::IsDefault(const TPersistent& obj) const {
  switch (Kind) {
    case TPropKind::Integer:
    case TPropKind::Boolean:
      return DefaultInt && GetInt(obj) == *DefaultInt;
    case TPropKind::Float:
      return GetFloat(obj) == 0.0;
    case TPropKind::Text:
    case TPropKind::Charset:
      return GetText(obj).empty();
    case TPropKind::Strings:
      return GetStrings(obj).empty();
    case TPropKind::Enum:
    case TPropKind::Object:
    case TPropKind::Collection:
      return false;
  }
  return false;
}

TPropList TPropList::Extend(const TPropList& base, std::initializer_list<TPropInfo> own) {
  TPropList list = base;
  list.Items.insert(list.Items.end(), own.begin(), own.end());
  return list;
}

const TPropInfo* TPropList::Find(std::string_view name) const {
  for (const TPropInfo& p : Items)
    if (SameTextAscii(p.Name, name)) return &p;
  return nullptr;
}

}  // namespace kelvast
