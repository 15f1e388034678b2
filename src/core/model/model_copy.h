// SPDX-License-Identifier: MIT
#pragma once
// A deep copy of a model, so that a run can generate from a model of its own while the original
// stays free to be edited, replaced or destroyed.
//
//   std::unique_ptr<TGenModel> running = CopyModel(window.Model());
//   RunGeneration(*running, options, observer);

#include <memory>

#include "core/model/gen_model.h"

namespace kelvast {

// Every stored property of the model, of each generator and of each parameter object, copied
// through the classes' property descriptions (values the model file would leave out included),
// and the model's courtesy titles. The copy shares nothing with the model.
std::unique_ptr<TGenModel> CopyModel(const TGenModel& model);

// Copies every stored property of source into target, which is of the same class: scalars
// through their setters, held objects property by property, collections item by item.
void CopyProperties(const TPersistent& source, TPersistent& target);

}  // namespace kelvast
