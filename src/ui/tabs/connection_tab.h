// SPDX-License-Identifier: MIT
#pragma once
// TConnectionTab, the Connection tab: the connection string label, the connection commands and
// the schema browser (the table list and the fields of the selected table).

#include "core/database/schema.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace kelvast::ui {

struct TUiState;

// What the Connection tab needs from the window.
struct TConnectionHooks {
  // Rebuilds the generator list and shows its first generator.
  std::function<void()> RefreshGeneratorList;
  // Start folders of the "Open a connection" and "Save connection" dialogs, kept by the window
  // with its settings; the tab keeps its own when none is given.
  QString* OpenDir = nullptr;
  QString* SaveDir = nullptr;
  // Opens a plan file on the plan tab and brings that tab to the front.
  std::function<void(const QString& planFile)> OpenPlan;
};

class TConnectionTab : public QWidget {
 public:
  explicit TConnectionTab(TUiState& state, TConnectionHooks hooks = {}, QWidget* parent = nullptr);

  // The one way a connection string is applied: closes the connection, gives it and the model
  // the trimmed text, shows it and, when not empty, refreshes the table list and the selected
  // table's fields (which opens the connection). Changing the connection leaves the model's
  // modified state as it was. Errors of the refresh go to the caller.
  // fromFile: the string was read from a model, plan or connection file, and may set only what
  // a connection needs (see connection_checks.h).
  void ApplyConnectionString(const QString& text, bool fromFile = false);

  // Selects the listed table of that name (case ignored), or no table when none is listed, and
  // shows its fields, which makes it the model's target table. Errors go to the caller.
  void ShowTableFields(const QString& table);
  // Checked when the settings file may keep the connection's password for the next start;
  // unchecked (the default), the connection is remembered without it.
  QCheckBox* RememberPasswordBox() const { return FRememberPassword; }
  // Receives the target-field list each time the fields of a table are shown.
  std::function<void(const std::vector<TTargetField>&)> TargetFieldsShown;
  // Runs the connection editor on the connection, then applies its string (also when the editor
  // was cancelled). Errors go to the error report.
  void btnConnectionClick();
  // Applies the string of a connection file and refreshes the generator list.
  void sbLoadConClick();
  // Writes the connection's string to a connection file.
  void sbSaveConnectionClick();
  // Asks for tables, records and a folder, makes a model of each table and their plan from the
  // connected database, then opens the plan. Errors go to the error report.
  void btnCreateModelsClick();

 private:
  void RefreshTables();
  void ShowFields();
  void CopyFields();

  TUiState& FState;
  TConnectionHooks FHooks;
  QString FOwnOpenDir, FOwnSaveDir;
  QString FScaffoldDir;  // the folder the last models were made in
  QPushButton* FConnection;
  QToolButton* FLoad;
  QToolButton* FSave;
  QLabel* FLabel;
  QCheckBox* FRememberPassword;
  QComboBox* FTables;
  QTableWidget* FGrid;
  QToolButton* FCopy;
  QToolButton* FClear;
  QPushButton* FCreateModels;
};

}  // namespace kelvast::ui
