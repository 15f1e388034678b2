// SPDX-License-Identifier: MIT
#include "ui/current_model.h"

namespace kelvast::ui {

void ReplaceCurrentModel(TUiState& state, std::unique_ptr<TGenModel> model) {
  state.FCurrentItem = nullptr;
  state.Model = std::move(model);
}

}  // namespace kelvast::ui
