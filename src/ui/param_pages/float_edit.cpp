// SPDX-License-Identifier: MIT
#include "ui/param_pages/float_edit.h"

#include <QLocale>
#include <cmath>

namespace kelvast::ui {

TFloatEdit::TFloatEdit(QWidget* parent) : QLineEdit(parent) {
  setAlignment(Qt::AlignRight);
  setText(TextOf(FValue));
  connect(this, &QLineEdit::textEdited, this, &TFloatEdit::Edited);
}

QString TFloatEdit::TextOf(double value) {
  QLocale locale;
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  return locale.toString(value, 'g', QLocale::FloatingPointShortest);
}

bool TFloatEdit::Parse(const QString& text, double& value) {
  bool ok = false;
  const QString trimmed = text.trimmed();
  double read = QLocale().toDouble(trimmed, &ok);
  if (!ok) read = QLocale::c().toDouble(trimmed, &ok);
  if (!ok || !std::isfinite(read)) return false;
  value = read;
  return true;
}

void TFloatEdit::SetValue(double value) {
  // Text being typed stays while it already stands for the value.
  double shown = 0;
  if (!hasFocus() || !Parse(text(), shown) || shown != value) setText(TextOf(value));
  if (value == FValue) return;
  FValue = value;
  emit ValueChanged(value);
}

void TFloatEdit::Edited(const QString& text) {
  double value = 0;
  if (!Parse(text, value) || value == FValue) return;
  FValue = value;
  emit ValueChanged(value);
}

void TFloatEdit::focusOutEvent(QFocusEvent* event) {
  double shown = 0;
  if (!Parse(text(), shown) || shown != FValue) setText(TextOf(FValue));
  QLineEdit::focusOutEvent(event);
}

}  // namespace kelvast::ui
