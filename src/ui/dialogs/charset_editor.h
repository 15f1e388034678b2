// SPDX-License-Identifier: MIT
#pragma once
// The character set editor: the 256 character codes as a 16 x 16 grid whose shaded cells are
// the members of the set; a double-click switches a code in or out.

#include "core/generators/charset.h"

#include <QDialog>

class QTableWidget;

namespace kelvast::ui {

class TFcseditor : public QDialog {
  Q_OBJECT

 public:
  // objectName "Fcseditor"; the grid is "sg".
  explicit TFcseditor(QWidget* parent = nullptr);

  const TCharSet& WorkingSet() const { return FSet; }
  void SetWorkingSet(const TCharSet& set);

  // The text drawn in the middle of the cell of a code: "(n)" below 32, else the character of
  // the code in the single-byte code page.
  static QString CellMainText(int code);

  // Handlers.
  void sgDblClick();
  void SpeedButton1Click();  // Invert
  void SpeedButton2Click();  // Clear

 private:
  TCharSet FSet;
  QTableWidget* FGrid;
};

// Edits a set in the dialog: on OK the set holds the edited members, otherwise its earlier
// value. Returns true on OK.
bool EditCharset(TCharSet& set, QWidget* parent);

}  // namespace kelvast::ui
