// SPDX-License-Identifier: MIT
#pragma once
// Table rows of the parameter page tests, and helpers that read and drive a control of any kind.

#include "core/model/col_params.h"

#include <QVariant>
#include <functional>
#include <span>

class QWidget;

namespace kelvast::ui::test {

template <class T>
T& As(TColParams& p) {
  return dynamic_cast<T&>(p);
}

// What a control shows, in one comparable form.
QVariant Shown(QWidget* w);

// Gives a control a new value the way the user would: spin fields and dates take the value,
// text fields are cleared and typed into key by key, check boxes are clicked when the wanted
// state differs, radio groups get the item at the given position clicked.
void Enter(QWidget* w, const QVariant& value);

// A parameter change before the page is shown, and a reading of the parameter after a write.
using TPrepare = std::function<void(TColParams&)>;
using TRead = std::function<QVariant(TColParams&)>;

// A generator of Type, changed by Prepare, shows Expected in Control.
struct TLoadCase {
  const char* Tag;
  TColType Type;
  TPrepare Prepare;
  const char* Control;
  QVariant Expected;
};

// Entering Input into Control of a Type generator's page makes Read give Expected.
struct TWriteCase {
  const char* Tag;
  TColType Type;
  const char* Control;
  QVariant Input;
  TRead Read;
  QVariant Expected;
};

std::span<const TLoadCase> LoadCases();
std::span<const TWriteCase> WriteCases();

}  // namespace kelvast::ui::test
