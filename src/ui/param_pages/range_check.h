// SPDX-License-Identifier: MIT
#pragma once
// The check between a minimum and its maximum on a parameter page, made gentle for typing.
//
//   FLengthCheck = new TRangeCheck(this, Grid(), seStringmini, seStringLength,
//                                  [this] { return seStringLength->value() < seStringmini->value(); },
//                                  QString::fromLatin1(kMinAboveMaxMessage));
//   ... in the minimum's change handler:  FLengthCheck->Changed(seStringmini);
//
// The check runs on every change of a checked field. A conflict shows at once beside the field,
// as a note in colour with the message; the message box comes only when the field is left with
// the conflict still there, or at once for a change made while the field has no focus (by a
// program, or the mouse wheel over it). Typing "100" into a field thus shows no box after "1".

#include <QObject>
#include <QString>
#include <functional>

class QGridLayout;
class QLabel;
class QWidget;

namespace kelvast::ui {

class TRangeCheck : public QObject {
 public:
  // `page` parents the note and the box; the note goes into `grid` beside `noteBeside`.
  TRangeCheck(QWidget* page, QGridLayout* grid, QWidget* noteBeside,
              std::function<bool()> conflict, QString message);

  // A checked field changed: the note follows the conflict, and the box comes at once when the
  // field has no focus.
  void Changed(QWidget* field);
  // The note follows the conflict, without a box: for a field whose change never warns, and
  // for values loaded from the model.
  void Update();

 private:
  void FocusChanged(QWidget* old, QWidget* now);

  QWidget* FPage;
  QLabel* FNote;
  std::function<bool()> FConflict;
  QString FMessage;
  // The checked field being typed in, with a conflict not yet announced by a box.
  QWidget* FPending = nullptr;
};

}  // namespace kelvast::ui
