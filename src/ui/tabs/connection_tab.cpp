// SPDX-License-Identifier: MIT
#include "ui/tabs/connection_tab.h"

#include "core/database/connection_secrets.h"
#include "core/database/schema.h"
#include "core/files/connection_file.h"
#include "core/output/database_writer.h"
#include "core/scaffold/scaffold.h"
#include "ui/ansi_text.h"
#include "ui/dialog_runner.h"
#include "ui/dialogs/conn_edit_form.h"
#include "ui/dialogs/scaffold_dialog.h"
#include "ui/file_dialogs.h"
#include "ui/title_grid.h"
#include "ui/message_box.h"
#include "ui/ui_state.h"
#include "ui/wait_cursor.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kelvast::ui {

namespace {

const QString kConnectionFilter = QStringLiteral("Connections|*.con|All (*.*)|*.*");

QToolButton* SpeedButton(const char* name, const char* hint, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QLatin1String(name));
  b->setToolTip(QLatin1String(hint));
  b->setText(QLatin1String(hint));
  return b;
}

}  // namespace

TConnectionTab::TConnectionTab(TUiState& state, TConnectionHooks hooks, QWidget* parent)
    : QWidget(parent), FState(state), FHooks(std::move(hooks)) {
  setObjectName(QStringLiteral("TabSheet1"));
  if (!FHooks.OpenDir) FHooks.OpenDir = &FOwnOpenDir;
  if (!FHooks.SaveDir) FHooks.SaveDir = &FOwnSaveDir;
  auto* top = new QHBoxLayout;
  FConnection = new QPushButton(QStringLiteral("Connection"), this);
  FConnection->setObjectName(QStringLiteral("btnConnection"));
  FConnection->setToolTip(QStringLiteral("Build a connection string"));
  top->addWidget(FConnection);
  FLoad = SpeedButton("sbLoadCon", "Open a connection file", this);
  top->addWidget(FLoad);
  FSave = SpeedButton("sbSaveConnection", "Save connection to file", this);
  top->addWidget(FSave);
  FClear = SpeedButton("sbClearConnection", "Clear the connection", this);
  top->addWidget(FClear);
  FLabel = new QLabel(QStringLiteral("<no connection string>"), this);
  FLabel->setObjectName(QStringLiteral("Label1"));
  FLabel->setWordWrap(true);
  FLabel->setTextFormat(Qt::PlainText);
  top->addWidget(FLabel, 1);
  FRememberPassword = new QCheckBox(QStringLiteral("Remember the password"), this);
  FRememberPassword->setObjectName(QStringLiteral("cbRememberPassword"));
  FRememberPassword->setToolTip(
      QStringLiteral("Keep the connection's password in the settings for the next start "
                     "(the settings file is readable by you only)"));
  top->addWidget(FRememberPassword);

  auto* tables = new QHBoxLayout;
  FTables = new QComboBox(this);
  FTables->setObjectName(QStringLiteral("cbtables"));
  FTables->setToolTip(QStringLiteral("Table list"));
  FTables->setMaxVisibleItems(16);
  tables->addWidget(FTables, 1);
  FCopy = SpeedButton("sbcopyfields", "Copy fields to clipboard", this);
  tables->addWidget(FCopy);
  FCreateModels = new QPushButton(QStringLiteral("Create models for this database..."), this);
  FCreateModels->setObjectName(QStringLiteral("btnCreateModels"));
  FCreateModels->setToolTip(
      QStringLiteral("A model for each table, with keys that hold, and the plan that fills them"));
  tables->addWidget(FCreateModels);

  FGrid = new QTableWidget(this);
  FGrid->setObjectName(QStringLiteral("sg1"));
  FGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  SetUpTitleGrid(FGrid);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(tables);
  layout->addWidget(FGrid, 1);

  connect(FConnection, &QPushButton::clicked, this, &TConnectionTab::btnConnectionClick);
  connect(FLoad, &QToolButton::clicked, this, &TConnectionTab::sbLoadConClick);
  connect(FSave, &QToolButton::clicked, this, &TConnectionTab::sbSaveConnectionClick);
  connect(FClear, &QToolButton::clicked, this, [this] { ApplyConnectionString({}); });
  connect(FCopy, &QToolButton::clicked, this, [this] { CopyFields(); });
  connect(FCreateModels, &QPushButton::clicked, this, &TConnectionTab::btnCreateModelsClick);
  // A pick whose connection cannot be opened is reported; the grid keeps what it showed.
  connect(FTables, &QComboBox::currentIndexChanged, this, [this] {
    try {
      ShowFields();
    } catch (const std::exception& e) {
      ReportError(this, e);
    }
  });
}

void TConnectionTab::ApplyConnectionString(const QString& text, bool fromFile) {
  TWaitCursor wait;
  const QString trimmed = text.trimmed();
  FState.Connection->Close();
  FState.Connection->SetConnectionString(ToAnsi(trimmed));
  FState.Connection->SetFromFile(fromFile);
  const bool modified = FState.Model->Modified();
  FState.Model->SetConnectionString(ToAnsi(trimmed));
  // The label is seen by anyone near the screen: it never shows the password.
  FLabel->setText(FromAnsi(MaskPassword(ToAnsi(trimmed))));
  if (!trimmed.isEmpty()) {
    RefreshTables();
    ShowFields();
  }
  FState.Model->SetModified(modified);
}

void TConnectionTab::btnConnectionClick() {
  try {
    FState.Connection->Close();
    EditConnection(*FState.Connection, this);
    ApplyConnectionString(FromAnsi(FState.Connection->ConnectionString()));
  } catch (const std::exception& e) {
    ReportError(this, e);
  }
}

void TConnectionTab::btnCreateModelsClick() {
  try {
    TOdbcConnection& db = *FState.Connection;
    if (!db.Connected()) {
      if (db.ConnectionString().find_first_not_of(" \t") == std::string::npos) {
        ShowMessage(this, FromAnsi(kNoConnectionMessage));
        return;
      }
      TWaitCursor wait;
      db.Open();
    }
    QStringList tables;
    for (const std::string& table : db.TableNames()) tables << FromAnsi(table);
    TScaffoldDialog dialog(tables, FScaffoldDir, this);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    FScaffoldDir = dialog.Folder();
    TScaffoldOptions options;
    for (const QString& table : dialog.CheckedTables()) options.Tables.push_back(ToAnsi(table));
    options.Records = dialog.Records();
    options.OutputDir = FileSystemName(dialog.Folder());
    // Files that exist already are replaced only when the user agrees, seeing their names.
    options.ConfirmReplace = [this](const std::vector<std::string>& existing) {
      QString text = QStringLiteral("These files exist already:\n");
      const size_t shown = std::min<size_t>(existing.size(), 20);
      for (size_t i = 0; i < shown; ++i)
        text += QStringLiteral("  ") + FromFileSystemName(existing[i]) + u'\n';
      if (existing.size() > shown)
        text += QStringLiteral("  ... and %1 more\n").arg(existing.size() - shown);
      text += QStringLiteral("\nDo you want to replace them?");
      return AskYesNo(this, QStringLiteral("Replace existing files ?"), text, TMsgIcon::Question);
    };
    TScaffoldResult result;
    {
      TWaitCursor wait;
      result = Scaffold(db, options);
    }
    if (!result.NotReplaced.empty()) return;
    if (!result.Notes.empty()) {
      QString text;
      for (const std::string& note : result.Notes) text += FromAnsi(note) + u'\n';
      ShowMessage(this, text.trimmed(), TMsgIcon::Information);
    }
    if (FHooks.OpenPlan) FHooks.OpenPlan(FromFileSystemName(result.PlanPath));
  } catch (const std::exception& e) {
    ReportError(this, e);
  }
}

void TConnectionTab::sbLoadConClick() {
  TFileDialogRequest request;
  request.Title = QStringLiteral("Open a connection");
  request.Filter = kConnectionFilter;
  request.DefaultExt = QStringLiteral("con");
  request.Folder = *FHooks.OpenDir;
  request.MustExist = true;
  const QString chosen = RunFileDialog(this, request);
  if (chosen.isEmpty()) return;
  *FHooks.OpenDir = FolderPart(chosen);
  try {
    const TConnectionFileContent content = ReadConnectionFile(FileSystemName(chosen));
    if (content.Status == TConnectionFileContent::csEmpty) return;
    if (content.Status == TConnectionFileContent::csNotAConnection) {
      ShowMessage(this, FromAnsi(kNotAConnectionMessage));
      return;
    }
    ApplyConnectionString(FromAnsi(content.ConnectionString), /*fromFile=*/true);
    if (FHooks.RefreshGeneratorList) FHooks.RefreshGeneratorList();
  } catch (const std::exception& e) {
    ReportError(this, e);
  }
}

void TConnectionTab::sbSaveConnectionClick() {
  TFileDialogRequest request;
  request.Kind = TFileDialogRequest::Save;
  request.Title = QStringLiteral("Save connection");
  request.Filter = kConnectionFilter;
  request.DefaultExt = QStringLiteral("con");
  request.Folder = *FHooks.SaveDir;
  const QString chosen = RunFileDialog(this, request);
  if (chosen.isEmpty()) return;
  *FHooks.SaveDir = FolderPart(chosen);
  try {
    WriteConnectionFile(FileSystemName(chosen), FState.Connection->ConnectionString());
  } catch (const std::exception& e) {
    ReportError(this, e);
  }
}

void TConnectionTab::RefreshTables() {
  // The list changes only once the tables are read: a connection that cannot be opened leaves
  // it as it was.
  if (!FState.Connection->Connected()) FState.Connection->Open();
  QStringList names;
  for (const std::string& name : FState.Connection->TableNames())
    names << FromAnsi(name);
  names.sort();
  QSignalBlocker block(FTables);
  FTables->clear();
  FTables->addItems(names);
  const int at = FTables->findText(FromAnsi(FState.Model->TableName()));
  FTables->setCurrentIndex(at >= 0 ? at : (names.isEmpty() ? -1 : 0));
}

// Shows the selected table's fields and makes it the model's target table; with no table
// selected the model's target table becomes empty and the grid keeps only its titles.
void TConnectionTab::ShowFields() {
  if (!FState.Connection->Connected()) FState.Connection->Open();
  const std::string table =
      FTables->currentIndex() < 0 ? std::string() : ToAnsi(FTables->currentText());
  if (FState.FUpdating == 0) FState.Model->SetTableName(table);
  const std::vector<TColumnInfo> columns =
      table.empty() ? std::vector<TColumnInfo>() : FState.Connection->Columns(table);
  ShowTitleGrid(FGrid, FieldsGrid(columns));
  if (TargetFieldsShown) TargetFieldsShown(TargetFields(columns));
}

void TConnectionTab::ShowTableFields(const QString& table) {
  {
    QSignalBlocker block(FTables);
    FTables->setCurrentIndex(FTables->findText(table, Qt::MatchFixedString));
  }
  ShowFields();
}

void TConnectionTab::CopyFields() {
  QGuiApplication::clipboard()->setText(FromAnsi(GridText(TitleGridRows(FGrid))));
}

}  // namespace kelvast::ui
