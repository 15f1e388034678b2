// SPDX-License-Identifier: MIT
#pragma once
// The busy cursor for the guard's lifetime, on every exit path.

#include <QGuiApplication>

namespace kelvast::ui {

struct TWaitCursor {
  TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace kelvast::ui
