// SPDX-License-Identifier: MIT
#pragma once
// A file-name field: a line edit with a browse button inside its right edge. The browse dialog
// opens in the field's browse folder and puts the chosen path into the field.

#include "ui/file_dialogs.h"

#include <QLineEdit>

namespace kelvast::ui {

class TFileNameEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TFileNameEdit(QWidget* parent = nullptr);

  // Filter in "Description|*.ext|..." form, and the extension added to a name without one.
  void SetFilter(const QString& filter) { FRequest.Filter = filter; }
  void SetDefaultExt(const QString& ext) { FRequest.DefaultExt = ext; }
  // When set, the browse dialog accepts only existing files.
  void SetMustExist(bool on) { FRequest.MustExist = on; }

  QString InitialDir() const { return FRequest.Folder; }
  void SetInitialDir(const QString& dir) { FRequest.Folder = dir; }

  // Runs the browse dialog; a chosen file replaces the field's text.
  void Browse();

 private:
  TFileDialogRequest FRequest;
};

}  // namespace kelvast::ui
