// SPDX-License-Identifier: MIT
#pragma once
// The check a run makes of its model's unique keys before it writes anything: every generator
// of a key can give unique values, and each key has room for the records asked.
//
//   model.PrepareAll(connection);
//   CheckUniqueKeys(model, model.RecNumber());  // raises EGenerationError with the reason

#include <cstdint>
#include <string>

#include "core/model/gen_model.h"

namespace kelvast {

// The reason a run of `records` records of the prepared model cannot keep its unique keys, or
// an empty text. "quantity: 10,000 unique values asked, 5,000 possible (1 to 5,000)".
std::string UniqueKeysProblem(const TGenModel& model, int64_t records);
// Raises EGenerationError with that reason when there is one.
void CheckUniqueKeys(const TGenModel& model, int64_t records);

}  // namespace kelvast
