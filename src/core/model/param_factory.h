// SPDX-License-Identifier: MIT
#pragma once
// How the model makes the parameter objects it holds. The model knows no generator class: these
// are defined with the generators, in their type registry (generators/registry.cpp).

#include <memory>

#include "core/model/col_params.h"
#include "core/model/col_types.h"

namespace kelvast {

// A new parameter object of the class of type t, with that class's defaults. ctnone and any
// ordinal outside the table give a TCPString; ctSex gives a TCPSexGen.
std::unique_ptr<TColParams> CreateParams(TColType t);

// The courtesy title a model draws for each record (a TCPSex), which its names and title columns
// share.
std::unique_ptr<TColParams> CreatePerson();

}  // namespace kelvast
