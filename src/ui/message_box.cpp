// SPDX-License-Identifier: MIT
#include "ui/message_box.h"

#include "ui/ansi_text.h"

#include <QMessageBox>

namespace kelvast::ui {

namespace {

QMessageBox::Icon ToQt(TMsgIcon icon) {
  switch (icon) {
    case TMsgIcon::Information:
      return QMessageBox::Information;
    case TMsgIcon::Warning:
      return QMessageBox::Warning;
    case TMsgIcon::Error:
      return QMessageBox::Critical;
    case TMsgIcon::Question:
      return QMessageBox::Question;
    case TMsgIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// Messages join their lines with CR LF; a label breaks lines at LF alone.
QString ForLabel(QString text) {
  return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

class TQtMessages : public TMessageSeam {
 public:
  void Show(QWidget* parent, const QString& caption, const QString& text, TMsgIcon icon) override {
    QMessageBox box(ToQt(icon), caption, ForLabel(text), QMessageBox::Ok, parent);
    box.exec();
  }
  bool AskYesNo(QWidget* parent, const QString& caption, const QString& text,
                TMsgIcon icon) override {
    QMessageBox box(ToQt(icon), caption, ForLabel(text), QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
  }
};

TMessageSeam* gSeam = nullptr;

}  // namespace

TMessageSeam& Messages() {
  static TQtMessages real;
  return gSeam ? *gSeam : real;
}

void SetMessageSeam(TMessageSeam* seam) { gSeam = seam; }

QString AppTitle() { return QStringLiteral("Kelvast"); }

void ShowMessage(QWidget* parent, const QString& text, TMsgIcon icon) {
  Messages().Show(parent, AppTitle(), text, icon);
}

bool AskYesNo(QWidget* parent, const QString& caption, const QString& text, TMsgIcon icon) {
  return Messages().AskYesNo(parent, caption, text, icon);
}

void ReportError(QWidget* parent, const std::exception& error) {
  ShowMessage(parent, FromAnsi(error.what()), TMsgIcon::Error);
}

}  // namespace kelvast::ui
