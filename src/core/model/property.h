// SPDX-License-Identifier: MIT
#pragma once
// One description of each class's stored properties: name, kind, getter, setter and the rule for
// leaving a value out. The binary model stream, its reader and the JSON form all walk these
// lists, so adding a stored property is one line in the class's list.
//
//   static const TPropList kProps = TPropList::Extend(TColParams::BaseProps(), {
//       IntProp("MinSize", &TCPString::MinSize, &TCPString::SetMinSize),
//   });

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/model/persistent.h"

namespace kelvast {

enum class TPropKind {
  Integer,     // 32-bit signed integer
  Float,       // double in memory (single-precision fields convert on the way)
  Boolean,
  Enum,        // ordinal in memory, written by name
  Text,        // single-byte text
  Strings,     // list of text lines, stored as the pseudo-property "Strings"
  Charset,     // character set, stored as the text of its members in code order
  Object,      // a persistent object held by the property (the item's Param)
  Collection,  // a persistent collection (the model's Cols)
};

// The value names of an enumeration, indexed by ordinal.
using TEnumNames = std::span<const std::string_view>;

struct TPropInfo {
  std::string_view Name;
  TPropKind Kind = TPropKind::Integer;
  TEnumNames EnumNames;                // Enum only
  std::optional<int64_t> DefaultInt;   // Integer and Boolean: the declared default, left out when equal

  // Scalar access; Integer, Boolean and Enum travel as int64_t.
  std::function<int64_t(const TPersistent&)> GetInt;
  std::function<void(TPersistent&, int64_t)> SetInt;
  std::function<double(const TPersistent&)> GetFloat;
  std::function<void(TPersistent&, double)> SetFloat;
  // Text and Charset (the members as text).
  std::function<std::string(const TPersistent&)> GetText;
  std::function<void(TPersistent&, const std::string&)> SetText;
  std::function<std::vector<std::string>(const TPersistent&)> GetStrings;
  std::function<void(TPersistent&, const std::vector<std::string>&)> SetStrings;
  // Object and Collection: the held object.
  std::function<TPersistent*(TPersistent&)> GetObject;

  // True when a stream leaves this value out: empty texts, lists and sets, floats exactly 0, and
  // integers and Booleans equal to their declared default.
  bool IsDefault(const TPersistent& obj) const;
};

struct TPropList {
  std::vector<TPropInfo> Items;

  // The properties of a base class followed by a derived class's own.
  static TPropList Extend(const TPropList& base, std::initializer_list<TPropInfo> own);

  // The property of that name, ASCII letters compared without regard to case; nullptr if none.
  const TPropInfo* Find(std::string_view name) const;
};

// ---- Builders. Each takes a getter and a setter of class C and erases the class. ----

template <class C, class G, class S>
TPropInfo IntProp(std::string_view name, G get, S set, std::optional<int64_t> dflt = {}) {
  TPropInfo p;
  p.Name = name;
  p.Kind = TPropKind::Integer;
  p.DefaultInt = dflt;
  p.GetInt = [get](const TPersistent& o) -> int64_t { return (static_cast<const C&>(o).*get)(); };
  p.SetInt = [set](TPersistent& o, int64_t v) { (static_cast<C&>(o).*set)(static_cast<int32_t>(v)); };
  return p;
}

template <class C, class G, class S>
TPropInfo BoolProp(std::string_view name, G get, S set, std::optional<bool> dflt = {}) {
  TPropInfo p;
  p.Name = name;
  p.Kind = TPropKind::Boolean;
  if (dflt) p.DefaultInt = *dflt ? 1 : 0;
  p.GetInt = [get](const TPersistent& o) -> int64_t { return (static_cast<const C&>(o).*get)() ? 1 : 0; };
  p.SetInt = [set](TPersistent& o, int64_t v) { (static_cast<C&>(o).*set)(v != 0); };
  return p;
}

template <class C, class E, class G, class S>
TPropInfo EnumProp(std::string_view name, TEnumNames names, G get, S set) {
  TPropInfo p;
  p.Name = name;
  p.Kind = TPropKind::Enum;
  p.EnumNames = names;
  p.GetInt = [get](const TPersistent& o) -> int64_t {
    return static_cast<int64_t>((static_cast<const C&>(o).*get)());
  };
  p.SetInt = [set](TPersistent& o, int64_t v) { (static_cast<C&>(o).*set)(static_cast<E>(v)); };
  return p;
}

template <class C, class G, class S>
TPropInfo FloatProp(std::string_view name, G get, S set) {
  TPropInfo p;
  p.Name = name;
  p.Kind = TPropKind::Float;
  p.GetFloat = [get](const TPersistent& o) -> double {
    return static_cast<double>((static_cast<const C&>(o).*get)());
  };
  p.SetFloat = [set](TPersistent& o, double v) { (static_cast<C&>(o).*set)(v); };
  return p;
}

template <class C, class G, class S>
TPropInfo TextProp(std::string_view name, G get, S set, TPropKind kind = TPropKind::Text) {
  TPropInfo p;
  p.Name = name;
  p.Kind = kind;
  p.GetText = [get](const TPersistent& o) -> std::string {
    return std::string((static_cast<const C&>(o).*get)());
  };
  p.SetText = [set](TPersistent& o, const std::string& v) { (static_cast<C&>(o).*set)(v); };
  return p;
}

template <class C, class G, class S>
TPropInfo StringsProp(std::string_view name, G get, S set) {
  TPropInfo p;
  p.Name = name;
  p.Kind = TPropKind::Strings;
  p.GetStrings = [get](const TPersistent& o) -> std::vector<std::string> {
    return (static_cast<const C&>(o).*get)();
  };
  p.SetStrings = [set](TPersistent& o, const std::vector<std::string>& v) {
    (static_cast<C&>(o).*set)(v);
  };
  return p;
}

template <class C, class G>
TPropInfo ObjectProp(std::string_view name, G get, TPropKind kind = TPropKind::Object) {
  TPropInfo p;
  p.Name = name;
  p.Kind = kind;
  p.GetObject = [get](TPersistent& o) -> TPersistent* { return (static_cast<C&>(o).*get)(); };
  return p;
}

}  // namespace kelvast
