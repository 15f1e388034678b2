// SPDX-License-Identifier: MIT
#pragma once
// The main-window state that the tabs, pages and dialogs share.

#include <memory>

#include "core/database/odbc_connection.h"
#include "core/model/gen_model.h"

namespace kelvast::ui {

struct TUiState {
  // The current model, owned by the main window for its whole life; replaced, never null.
  std::unique_ptr<TGenModel> Model;
  // The generator shown on the Generators tab, or none.
  TColToGenItem* FCurrentItem = nullptr;
  // Raised while the window fills its controls from the model; change handlers that write into
  // the model do nothing while it is above 0.
  int FUpdating = 0;
  // The one database connection of the program; column references read through it and the
  // direct insert writes through it (it is published as the core's current connection).
  std::unique_ptr<TOdbcConnection> Connection = std::make_unique<TOdbcConnection>();
};

// Raises FUpdating for the guard's lifetime, on every exit path.
class TUpdating {
 public:
  explicit TUpdating(TUiState& state) : FState(state) { ++FState.FUpdating; }
  ~TUpdating() { --FState.FUpdating; }
  TUpdating(const TUpdating&) = delete;
  TUpdating& operator=(const TUpdating&) = delete;

 private:
  TUiState& FState;
};

}  // namespace kelvast::ui
