// SPDX-License-Identifier: MIT
#pragma once
// A field for any double value. It shows the shortest text that reads back as the very number
// held, so the bounds 1.7e308 and 4.9e-324 show as they are instead of a row of digits or 0.00;
// it reads plain and scientific notation, with the user's decimal separator or a full stop.

#include <QLineEdit>

namespace kelvast::ui {

class TFloatEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TFloatEdit(QWidget* parent = nullptr);

  double Value() const { return FValue; }
  // Shows the value; ValueChanged comes only when it differs from the one held.
  void SetValue(double value);

  // The shortest text of the value in the user's locale, without group separators.
  static QString TextOf(double value);
  // The finite value a text stands for; false when it stands for none.
  static bool Parse(const QString& text, double& value);

 signals:
  void ValueChanged(double value);

 protected:
  // Text left unreadable gives way to the value held.
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Edited(const QString& text);

  double FValue = 0;
};

}  // namespace kelvast::ui
