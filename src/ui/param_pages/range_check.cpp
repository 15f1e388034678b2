// SPDX-License-Identifier: MIT
#include "ui/param_pages/range_check.h"

#include "ui/message_box.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QWidget>

namespace kelvast::ui {

TRangeCheck::TRangeCheck(QWidget* page, QGridLayout* grid, QWidget* noteBeside,
                         std::function<bool()> conflict, QString message)
    : QObject(page),
      FPage(page),
      FNote(new QLabel(message, page)),
      FConflict(std::move(conflict)),
      FMessage(std::move(message)) {
  FNote->setObjectName(noteBeside->objectName() + QStringLiteral("Note"));
  // Dark text on a fixed light red, readable in any theme.
  FNote->setStyleSheet(QStringLiteral(
      "QLabel { color: #600000; background: #ffd6d6; border: 1px solid #d04040; padding: 1px 4px; }"));
  FNote->setWordWrap(true);
  FNote->hide();
  int row = 0, column = 0, rows = 0, columns = 0;
  grid->getItemPosition(grid->indexOf(noteBeside), &row, &column, &rows, &columns);
  grid->addWidget(FNote, row, 2, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
  connect(qApp, &QApplication::focusChanged, this, &TRangeCheck::FocusChanged);
}

void TRangeCheck::Changed(QWidget* field) {
  const bool conflict = FConflict();
  FNote->setVisible(conflict);
  const bool typing = field->hasFocus() || field->isAncestorOf(QApplication::focusWidget());
  if (!conflict) {
    FPending = nullptr;
  } else if (typing) {
    FPending = field;
  } else {
    FPending = nullptr;
    ShowMessage(FPage, FMessage);
  }
}

void TRangeCheck::Update() {
  const bool conflict = FConflict();
  FNote->setVisible(conflict);
  if (!conflict) FPending = nullptr;
}

void TRangeCheck::FocusChanged(QWidget* old, QWidget* now) {
  // Focus going nowhere is the window losing activation: the field is not left for that.
  if (!FPending || !old || !now) return;
  const auto inside = [this](QWidget* w) { return w && (w == FPending || FPending->isAncestorOf(w)); };
  if (!inside(old) || inside(now)) return;
  FPending = nullptr;
  if (FConflict()) ShowMessage(FPage, FMessage);
}

}  // namespace kelvast::ui
