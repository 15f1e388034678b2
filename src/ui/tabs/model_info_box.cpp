// SPDX-License-Identifier: MIT
#include "ui/tabs/model_info_box.h"

#include "ui/ansi_text.h"
#include "ui/file_name_edit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>

namespace kelvast::ui {

namespace {

QLineEdit* Field(QWidget* parent, const char* name, const QString& hint) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  edit->setToolTip(hint);
  return edit;
}

// A label whose mnemonic moves the focus to its field.
QLabel* Caption(QWidget* parent, const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

QLineEdit* DelimiterField(QWidget* parent, const char* name, const QString& hint) {
  QLineEdit* edit = Field(parent, name, hint);
  edit->setMaxLength(2);
  edit->setText(QStringLiteral("''"));
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")) + 8);
  return edit;
}

}  // namespace

TModelInfoBox::TModelInfoBox(TUiState& state, QWidget* parent)
    : QGroupBox(QStringLiteral("Model information"), parent), FState(state) {
  setObjectName(QStringLiteral("gbModelInfo"));

  FModelDesc = Field(this, "eModelDesc", QStringLiteral("Description of the current model"));
  FDBDesc = Field(this, "eDBDesc", QStringLiteral("Target database description"));
  FTableName = Field(this, "eTableName", QStringLiteral("Target table"));

  FScriptName = new TFileNameEdit(this);
  FScriptName->setObjectName(QStringLiteral("eScriptName"));
  FScriptName->setToolTip(
      QStringLiteral("Name of output file.\nKeep it blank to insert the records straight into the table through ODBC."));
  FScriptName->SetFilter(
      QStringLiteral("SQL Script (*.sql)|*.sql|Text file (*.txt)|*.txt|CSV file (*.csv)|*.csv|"
                     "XML file (*.xml)|*.xml|All (*.*)|*.*"));
  FScriptName->SetDefaultExt(QStringLiteral("sql"));

  FRecsToGen = new QSpinBox(this);
  FRecsToGen->setObjectName(QStringLiteral("eRecsToGen"));
  FRecsToGen->setToolTip(QStringLiteral("Number of records to generate"));
  FRecsToGen->setRange(kMinRecords, kMaxRecords);
  FRecsToGen->setSingleStep(200);
  FRecsToGen->setGroupSeparatorShown(true);
  FRecsToGen->setAlignment(Qt::AlignRight);
  FRecsToGen->setValue(2000);

  FDelimiter = DelimiterField(this, "eDelimiter", QStringLiteral("Table and field name delimiter"));
  FSDelimiter = DelimiterField(this, "eSDelimiter", QStringLiteral("String delimiter"));

  auto* delimiters = new QHBoxLayout;
  delimiters->addWidget(Caption(this, QStringLiteral("Names"), FDelimiter));
  delimiters->addWidget(FDelimiter);
  delimiters->addSpacing(8);
  delimiters->addWidget(Caption(this, QStringLiteral("Strings"), FSDelimiter));
  delimiters->addWidget(FSDelimiter);
  delimiters->addStretch();

  auto* grid = new QGridLayout(this);
  grid->addWidget(Caption(this, QStringLiteral("Model description"), FModelDesc), 0, 0);
  grid->addWidget(FModelDesc, 0, 1, 1, 3);
  grid->addWidget(Caption(this, QStringLiteral("Database description"), FDBDesc), 1, 0);
  grid->addWidget(FDBDesc, 1, 1, 1, 3);
  grid->addWidget(Caption(this, QStringLiteral("Physical table"), FTableName), 2, 0);
  grid->addWidget(FTableName, 2, 1);
  grid->addWidget(Caption(this, QStringLiteral("Output file"), FScriptName), 2, 2);
  grid->addWidget(FScriptName, 2, 3);
  grid->addWidget(Caption(this, QStringLiteral("Records to generate"), FRecsToGen), 3, 0);
  grid->addWidget(FRecsToGen, 3, 1);
  grid->addWidget(new QLabel(QStringLiteral("Delimiters:"), this), 3, 2);
  grid->addLayout(delimiters, 3, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  connect(FModelDesc, &QLineEdit::textChanged, this, &TModelInfoBox::eModelDescChange);
  connect(FDBDesc, &QLineEdit::textChanged, this, &TModelInfoBox::eDBDescChange);
  connect(FTableName, &QLineEdit::textChanged, this, &TModelInfoBox::eTableNameChange);
  connect(FScriptName, &QLineEdit::textChanged, this, &TModelInfoBox::eScriptNameChange);
  connect(FRecsToGen, &QSpinBox::valueChanged, this, &TModelInfoBox::eRecsToGenChange);
  connect(FDelimiter, &QLineEdit::textChanged, this, &TModelInfoBox::eDelimiterChange);
  connect(FSDelimiter, &QLineEdit::textChanged, this, &TModelInfoBox::eSDelimiterChange);
}

void TModelInfoBox::LoadFromModel() {
  const TGenModel& model = *FState.Model;
  FModelDesc->setText(FromAnsi(model.Description()));
  FDBDesc->setText(FromAnsi(model.Database()));
  FTableName->setText(FromAnsi(model.TableName()));
  FScriptName->setText(FromAnsi(model.SQLFile()));
  FRecsToGen->setValue(std::clamp<int32_t>(model.RecNumber(), kMinRecords, kMaxRecords));
  // The field's change handler does not run when the shown value stays the same.
  FState.Model->SetRecNumber(FRecsToGen->value());
  FDelimiter->setText(FromAnsi(model.Delimiter()));
  FSDelimiter->setText(FromAnsi(model.StringDelimiter()));
}

void TModelInfoBox::eModelDescChange(const QString& text) {
  FState.Model->SetDescription(ToAnsi(text));
}

void TModelInfoBox::eDBDescChange(const QString& text) { FState.Model->SetDatabase(ToAnsi(text)); }

void TModelInfoBox::eTableNameChange(const QString& text) {
  FState.Model->SetTableName(ToAnsi(text));
}

void TModelInfoBox::eScriptNameChange(const QString& text) {
  FState.Model->SetSQLFile(ToAnsi(text));
  FScriptName->SetInitialDir(FolderPart(text));
}

void TModelInfoBox::eRecsToGenChange(int value) { FState.Model->SetRecNumber(value); }

void TModelInfoBox::eDelimiterChange(const QString& text) {
  if (FState.FUpdating > 0) return;
  FState.Model->SetDelimiter(ToAnsi(text));
}

void TModelInfoBox::eSDelimiterChange(const QString& text) {
  if (FState.FUpdating > 0) return;
  FState.Model->SetStringDelimiter(ToAnsi(text));
}

}  // namespace kelvast::ui
