// SPDX-License-Identifier: MIT
#include "ui/dialogs/conn_edit_form.h"

#include "core/database/connection_string.h"
#include "core/database/odbc_connection.h"
#include "core/database/odbc_sources.h"
#include "ui/ansi_text.h"
#include "ui/dialog_runner.h"
#include "ui/dialogs/conn_build_form.h"
#include "ui/file_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kelvast::ui {

namespace {

// The folder part of a file name with its closing "/": "/etc/a.dsn" gives "/etc/", "a.dsn" "".
QString FolderWithSlash(const QString& fileName) {
  return fileName.left(fileName.lastIndexOf(u'/') + 1);
}

QString WithSlash(const QString& folder) { return folder.endsWith(u'/') ? folder : folder + u'/'; }

// The file a "FILEDSN=" string names: everything after the prefix, without its braces when it
// is quoted.
QString FileOf(const QString& text) {
  const QString file = text.mid(int(qstrlen(kFileDsnPrefix)));
  if (!file.startsWith(u'{')) return file;
  const auto attributes = SplitConnectionString(ToAnsi(text));
  return attributes.empty() ? QString() : FromAnsi(attributes.front().Value);
}

void SetBaseColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Base, colour);
  widget->setPalette(palette);
}

// The data source file dialog: a ".dsn" file, started in the folder of `initial` (a bare name
// lies in the data source folder); `initial` itself when cancelled.
QString ChooseDataLinkFile(QWidget* parent, const QString& initial, const QString& folder) {
  TFileDialogRequest request;
  request.Title = QStringLiteral("Select a file data source");
  request.Filter = QStringLiteral("File data sources|*.dsn|All (*.*)|*.*");
  request.DefaultExt = QStringLiteral("dsn");
  const QString initialFolder = FolderPart(initial);
  request.Folder = initialFolder.isEmpty() ? folder : initialFolder;
  request.FileName = initial;
  request.MustExist = true;
  const QString chosen = RunFileDialog(parent, request);
  return chosen.isEmpty() ? initial : chosen;
}

}  // namespace

QString DataLinkFolder() { return FromAnsi(FileDataSourceFolder().string()); }

TConnEditForm::TConnEditForm(QWidget* parent, const QString& dataLinkFolder)
    : QDialog(parent), FDataLinkFolder(dataLinkFolder) {
  setObjectName(QStringLiteral("ConnEditForm"));
  setWindowTitle(QStringLiteral("ODBC Data Connection Editor"));

  auto* source = new QGroupBox(QStringLiteral("Connection source"), this);
  FUseDataLinkFile = new QRadioButton(QStringLiteral("Use following &data source file"), source);
  FUseDataLinkFile->setObjectName(QStringLiteral("UseDataLinkFile"));
  FDataLinkFile = new QComboBox(source);
  FDataLinkFile->setObjectName(QStringLiteral("DataLinkFile"));
  FDataLinkFile->setEditable(true);
  // The list stays as filled: a typed name is a choice, not a new entry.
  FDataLinkFile->setInsertPolicy(QComboBox::NoInsert);
  FDataLinkFile->setMinimumWidth(320);
  FBrowse = new QPushButton(QStringLiteral("&Browse"), source);
  FBrowse->setObjectName(QStringLiteral("Browse"));
  FUseConnectionString =
      new QRadioButton(QStringLiteral("Use following connection string"), source);
  FUseConnectionString->setObjectName(QStringLiteral("UseConnectionString"));
  FConnectionString = new QLineEdit(source);
  FConnectionString->setObjectName(QStringLiteral("ConnectionString"));
  FBuild = new QPushButton(QStringLiteral("&Build..."), source);
  FBuild->setObjectName(QStringLiteral("Build"));

  auto* grid = new QGridLayout(source);
  grid->addWidget(FUseDataLinkFile, 0, 0, 1, 2);
  grid->addWidget(FDataLinkFile, 1, 0);
  grid->addWidget(FBrowse, 1, 1);
  grid->addWidget(FUseConnectionString, 2, 0, 1, 2);
  grid->addWidget(FConnectionString, 3, 0);
  grid->addWidget(FBuild, 3, 1);
  grid->setColumnStretch(0, 1);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OkButton"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* column = new QVBoxLayout(this);
  column->addWidget(source);
  column->addLayout(buttons);
  // A fixed border: the dialog keeps the size its contents need.
  column->setSizeConstraint(QLayout::SetFixedSize);

  // Sorted as a sorted combo box sorts: without regard to case.
  QStringList names;
  for (const std::string& name : ListFileDataSources(ToAnsi(FDataLinkFolder)))
    names << FromAnsi(name);
  names.sort(Qt::CaseInsensitive);
  FDataLinkFile->addItems(names);
  FDataLinkFile->setCurrentIndex(-1);

  connect(FUseDataLinkFile, &QRadioButton::clicked, this, &TConnEditForm::SourceButtonClick);
  connect(FUseConnectionString, &QRadioButton::clicked, this, &TConnEditForm::SourceButtonClick);
  connect(FBrowse, &QPushButton::clicked, this, &TConnEditForm::BrowseClick);
  connect(FBuild, &QPushButton::clicked, this, &TConnEditForm::BuildClick);
  connect(ok, &QPushButton::clicked, this, &TConnEditForm::OkButtonClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  adjustSize();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TConnEditForm::SetConnectionString(const QString& text) {
  FResult = text;
  if (text.startsWith(QLatin1String(kFileDsnPrefix))) {
    FUseDataLinkFile->setChecked(true);
    const QString file = FileOf(text);
    const bool inFolder = FolderWithSlash(file) == WithSlash(FDataLinkFolder);
    FDataLinkFile->setEditText(inFolder ? file.mid(FolderWithSlash(file).size()) : file);
  } else {
    FUseConnectionString->setChecked(true);
    FConnectionString->setText(text);
  }
  SourceButtonClick();
}

QString TConnEditForm::Edit(const QString& text) {
  SetConnectionString(text);
  if (ExecDialog(*this) != QDialog::Accepted) FResult = text;
  return FResult;
}

void TConnEditForm::SourceButtonClick() {
  const bool useFile = FUseDataLinkFile->isChecked();
  const bool useString = FUseConnectionString->isChecked();
  FDataLinkFile->setEnabled(useFile);
  FBrowse->setEnabled(useFile);
  FConnectionString->setEnabled(useString);
  FBuild->setEnabled(useString);
  const QPalette standard = QApplication::palette();
  const QColor window = standard.color(QPalette::Active, QPalette::Base);
  const QColor buttonFace = standard.color(QPalette::Active, QPalette::Button);
  SetBaseColour(FDataLinkFile, useFile ? window : buttonFace);
  SetBaseColour(FConnectionString, useString ? window : buttonFace);
  if (useFile)
    FDataLinkFile->setFocus();
  else if (useString)
    FConnectionString->setFocus();
}

void TConnEditForm::BrowseClick() {
  FDataLinkFile->setEditText(
      ChooseDataLinkFile(this, FDataLinkFile->currentText(), FDataLinkFolder));
}

void TConnEditForm::BuildClick() {
  FConnectionString->setText(PromptConnectionString(this, FConnectionString->text()));
}

void TConnEditForm::OkButtonClick() {
  if (FUseConnectionString->isChecked()) {
    FResult = FConnectionString->text();
  } else {
    const QString file = FDataLinkFile->currentText();
    if (file.isEmpty()) {
      FResult.clear();
    } else {
      const QString full = file.contains(u'/') ? file : WithSlash(FDataLinkFolder) + file;
      FResult = QLatin1String(kFileDsnPrefix) + FromAnsi(QuoteConnectionValue(ToAnsi(full)));
    }
  }
  accept();
}

bool EditConnection(TOdbcConnection& connection, QWidget* parent) {
  const QString before = FromAnsi(connection.ConnectionString());
  TConnEditForm form(parent);
  const QString after = form.Edit(before);
  if (after == before) return false;
  connection.SetConnectionString(ToAnsi(after));
  return true;
}

}  // namespace kelvast::ui
