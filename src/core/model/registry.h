#pragma once
// The type registry: the parameter class of each generator type.

#include <memory>

#include "core/model/col_params.h"
#include "core/model/col_types.h"

namespace kelvast {

// A new parameter object of the class of type t, with that class's defaults. ctnone and any
// ordinal outside the table give a TCPString; ctSex gives a TCPSexGen.
std::unique_ptr<TColParams> CreateParams(TColType t);

}  // namespace kelvast
