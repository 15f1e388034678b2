// SPDX-License-Identifier: MIT
#include "ui/dialogs/scaffold_dialog.h"

#include "ui/file_dialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

namespace kelvast::ui {

TScaffoldDialog::TScaffoldDialog(const QStringList& tables, const QString& folder,
                                 QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("ScaffoldDialog"));
  setWindowTitle(QStringLiteral("Create models for this database"));

  FTables = new QListWidget(this);
  FTables->setObjectName(QStringLiteral("lbTables"));
  FTables->setAccessibleName(QStringLiteral("Tables"));
  for (const QString& table : tables) {
    auto* item = new QListWidgetItem(table, FTables);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
  }
  auto* tablesLabel = new QLabel(QStringLiteral("&Tables:"), this);
  tablesLabel->setBuddy(FTables);

  FRecords = new QSpinBox(this);
  FRecords->setObjectName(QStringLiteral("seRecords"));
  FRecords->setRange(1, std::numeric_limits<int>::max());
  FRecords->setValue(1000);
  FRecords->setGroupSeparatorShown(true);

  FFolder = new QLineEdit(folder, this);
  FFolder->setObjectName(QStringLiteral("edFolder"));
  auto* browse = new QToolButton(this);
  browse->setObjectName(QStringLiteral("sbFolder"));
  browse->setText(QStringLiteral("..."));
  browse->setToolTip(QStringLiteral("Choose the folder"));
  browse->setAccessibleName(QStringLiteral("Choose the folder"));
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(FFolder, 1);
  folderRow->addWidget(browse);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Records per table:"), FRecords);
  form->addRow(QStringLiteral("&Folder:"), folderRow);
  if (auto* label = qobject_cast<QLabel*>(form->labelForField(folderRow))) label->setBuddy(FFolder);

  FButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  FButtons->setObjectName(QStringLiteral("bbButtons"));
  FButtons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OkButton"));
  FButtons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tablesLabel);
  layout->addWidget(FTables, 1);
  layout->addLayout(form);
  layout->addWidget(FButtons);

  connect(FButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(FButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(FTables, &QListWidget::itemChanged, this, [this] { UpdateOk(); });
  connect(FFolder, &QLineEdit::textChanged, this, [this] { UpdateOk(); });
  connect(browse, &QToolButton::clicked, this, [this] { BrowseFolder(); });
  UpdateOk();
}

QStringList TScaffoldDialog::CheckedTables() const {
  QStringList checked;
  for (int i = 0; i < FTables->count(); ++i)
    if (FTables->item(i)->checkState() == Qt::Checked) checked << FTables->item(i)->text();
  return checked;
}

int TScaffoldDialog::Records() const { return FRecords->value(); }

QString TScaffoldDialog::Folder() const { return FFolder->text().trimmed(); }

void TScaffoldDialog::UpdateOk() {
  FButtons->button(QDialogButtonBox::Ok)->setEnabled(!CheckedTables().isEmpty() &&
                                                     !Folder().isEmpty());
}

void TScaffoldDialog::BrowseFolder() {
  TFileDialogRequest request;
  request.Kind = TFileDialogRequest::ChooseFolder;
  request.Title = QStringLiteral("Folder of the models");
  request.Folder = Folder();
  const QString chosen = RunFileDialog(this, request);
  if (!chosen.isEmpty()) FFolder->setText(chosen);
}

}  // namespace kelvast::ui
