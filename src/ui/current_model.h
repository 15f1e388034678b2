// SPDX-License-Identifier: MIT
#pragma once
// Replacing the window's current model (clear model, opening a model file, plan steps).

#include "ui/ui_state.h"

#include <memory>

namespace kelvast::ui {

// Makes model the window's current model, freeing the previous one; the shown generator is
// forgotten first, since it belonged to the previous model.
void ReplaceCurrentModel(TUiState& state, std::unique_ptr<TGenModel> model);

}  // namespace kelvast::ui
