// SPDX-License-Identifier: MIT
#pragma once
// Our own modal dialogs run through this seam, so tests can fill in and close the real dialog
// without a modal loop.

#include <functional>

class QDialog;

namespace kelvast::ui {

// Runs the dialog modally; QDialog::Accepted or QDialog::Rejected.
int ExecDialog(QDialog& dialog);

// Replaces how dialogs run (an empty function restores exec()). The runner gets the dialog ready
// to show and answers as exec() would.
using TDialogRunner = std::function<int(QDialog&)>;
void SetDialogRunner(TDialogRunner runner);

}  // namespace kelvast::ui
