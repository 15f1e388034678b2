// SPDX-License-Identifier: MIT
#pragma once
// Answers our own modal dialogs in tests: each dialog that runs is handed to the script, which
// fills it in and presses its buttons; the dialog's result is what the run returns.

#include "ui/dialog_runner.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLineEdit>
#include <QStringList>
#include <functional>
#include <stdexcept>

namespace kelvast::ui::test {

class TDialogScript {
 public:
  // A dialog nobody pressed a button of counts as cancelled.
  explicit TDialogScript(std::function<void(QDialog&)> script) {
    SetDialogRunner([this, script = std::move(script)](QDialog& dialog) {
      Ran << dialog.objectName();
      dialog.setResult(QDialog::Rejected);
      script(dialog);
      return dialog.result();
    });
  }
  ~TDialogScript() { SetDialogRunner({}); }
  TDialogScript(const TDialogScript&) = delete;
  TDialogScript& operator=(const TDialogScript&) = delete;

  // The object names of the dialogs that ran, in order.
  QStringList Ran;
};

// The dialog's child of that name and class; throws, failing the test, when there is none.
template <class T>
T* Child(QDialog& dialog, const char* name) {
  T* found = dialog.findChild<T*>(QLatin1String(name));
  if (!found) throw std::runtime_error(std::string("no control named ") + name);
  return found;
}

inline void Click(QDialog& dialog, const char* name) {
  Child<QAbstractButton>(dialog, name)->click();
}

inline void SetText(QDialog& dialog, const char* name, const QString& text) {
  Child<QLineEdit>(dialog, name)->setText(text);
}

}  // namespace kelvast::ui::test
