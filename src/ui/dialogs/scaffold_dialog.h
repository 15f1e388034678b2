// SPDX-License-Identifier: MIT
#pragma once
// The questions before models are made from the connected database: which tables, how many
// records for each, and the folder that receives the models and their plan.

#include <QDialog>
#include <QStringList>

class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace kelvast::ui {

class TScaffoldDialog : public QDialog {
 public:
  // objectName "ScaffoldDialog": the table list "lbTables" (each table a check box, all checked),
  // the records "seRecords", the folder "edFolder" with its browse button "sbFolder", and the
  // buttons "OkButton" and "CancelButton". OK is enabled while a table is checked and a folder
  // is named.
  TScaffoldDialog(const QStringList& tables, const QString& folder, QWidget* parent = nullptr);

  QStringList CheckedTables() const;
  int Records() const;
  QString Folder() const;

 private:
  void UpdateOk();
  void BrowseFolder();

  QListWidget* FTables;
  QSpinBox* FRecords;
  QLineEdit* FFolder;
  QDialogButtonBox* FButtons;
};

}  // namespace kelvast::ui
