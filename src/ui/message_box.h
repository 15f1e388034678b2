// SPDX-License-Identifier: MIT
#pragma once
// Every message box of the program goes through this seam, so tests can read and answer them.

#include <QString>
#include <exception>

class QWidget;

namespace kelvast::ui {

enum class TMsgIcon { None, Information, Warning, Error, Question };

class TMessageSeam {
 public:
  virtual ~TMessageSeam() = default;
  // A plain box with an OK button.
  virtual void Show(QWidget* parent, const QString& caption, const QString& text, TMsgIcon icon) = 0;
  // A Yes/No box with No as the default button; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text,
                        TMsgIcon icon) = 0;
};

// The seam in use: real message boxes unless a test installed its own (nullptr restores them).
TMessageSeam& Messages();
void SetMessageSeam(TMessageSeam* seam);

// Shorthands with the application title as caption.
void ShowMessage(QWidget* parent, const QString& text, TMsgIcon icon = TMsgIcon::None);
bool AskYesNo(QWidget* parent, const QString& caption, const QString& text,
              TMsgIcon icon = TMsgIcon::Question);

// The application's error report: the error that ended an action, with its own message.
void ReportError(QWidget* parent, const std::exception& error);

// The application title used as caption: "Kelvast".
QString AppTitle();

}  // namespace kelvast::ui
