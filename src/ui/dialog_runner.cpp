// SPDX-License-Identifier: MIT
#include "ui/dialog_runner.h"

#include <QDialog>

namespace kelvast::ui {

namespace {
TDialogRunner& Runner() {
  static TDialogRunner runner;
  return runner;
}
}  // namespace

int ExecDialog(QDialog& dialog) {
  // A copy, so a runner may replace itself while it runs (a nested dialog).
  const TDialogRunner runner = Runner();
  return runner ? runner(dialog) : dialog.exec();
}

void SetDialogRunner(TDialogRunner runner) { Runner() = std::move(runner); }

}  // namespace kelvast::ui
