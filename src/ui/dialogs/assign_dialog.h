// SPDX-License-Identifier: MIT
#pragma once
// The field assignment overview: for each field of the target table, the generator connected to
// it and that generator's kind. Read-only; the model is not touched.

#include <QDialog>
#include <QStringList>

class QTableWidget;

namespace kelvast {
class TColToGens;
}

namespace kelvast::ui {

class TFAssign : public QDialog {
 public:
  // objectName "FAssign"; the grid is "sg1".
  explicit TFAssign(QWidget* parent = nullptr);

  // One row per field, in order: the field, then the generator whose target field it is (case
  // ignored) and its type's display name, or "<not assigned>" and an empty kind.
  void ShowAssignment(const QStringList& fields, const TColToGens& cols);

 private:
  void FitToColumns();

  QTableWidget* FGrid;
};

// Shows the overview of the fields modally; the dialog is discarded when it closes.
void ShowFieldAssignment(const QStringList& fields, const TColToGens& cols, QWidget* parent);

}  // namespace kelvast::ui
