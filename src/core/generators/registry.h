// SPDX-License-Identifier: MIT
#pragma once
// The catalogue of generator types: for each TColType its stored name (model files and JSON),
// its display name (the type choice, the CLI, the assignment overview) and the factory of its
// parameter class. The model makes parameter objects through CreateParams and CreatePerson,
// which read it.
//
//   for (const TGeneratorType& type : GeneratorTypes()) list.add(type.DisplayName);
//   std::unique_ptr<TColParams> p = GeneratorTypeOf(ctInteger).Create();

#include <array>
#include <string_view>

#include "core/model/param_factory.h"

namespace kelvast {

struct TGeneratorType {
  TColType Type;
  std::string_view StoredName;
  std::string_view DisplayName;
  std::unique_ptr<TColParams> (*Create)();
};

// Every type, in the order of TColType (ctnone first, which makes a String).
const std::array<TGeneratorType, kColTypeCount>& GeneratorTypes();
// The entry of a type; ordinals outside the enumeration give ctnone's.
const TGeneratorType& GeneratorTypeOf(TColType type);

}  // namespace kelvast
