// SPDX-License-Identifier: MIT
#include "ui/tabs/generator_box.h"

#include "core/generators/registry.h"
#include "core/database/schema.h"
#include "core/generators/composite_gens.h"
#include "core/model/gen_model.h"
#include "core/platform/text_utils.h"
#include "ui/ansi_text.h"
#include "ui/file_name_edit.h"
#include "ui/message_box.h"
#include "ui/param_pages/param_page_set.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace kelvast::ui {

namespace {

QLabel* Caption(QWidget* parent, const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

template <class W>
W* Named(W* widget, const char* name, const QString& hint) {
  widget->setObjectName(QLatin1String(name));
  widget->setToolTip(hint);
  return widget;
}

}  // namespace

TGeneratorBox::TGeneratorBox(TUiState& state, QWidget* parent)
    : QGroupBox(QStringLiteral("Selected generator information"), parent), FState(state) {
  setObjectName(QStringLiteral("gbGenerator"));

  FColName = Named(new QLineEdit(this), "eColName",
                   QStringLiteral("Generator name\nHit ENTER to validate any change !"));
  FTableField = Named(new QComboBox(this), "eTableField", QStringLiteral("Target field"));
  FTableField->setEditable(true);
  FTableField->setInsertPolicy(QComboBox::NoInsert);
  // Each keystroke connects the text typed so far; completing it to a list entry would connect
  // a field the user did not type (and, as the field is then taken, refuse the next keystroke).
  FTableField->setCompleter(nullptr);
  FGenType = Named(new QComboBox(this), "cbGenType", QStringLiteral("Generator type"));
  FGenType->setMaxVisibleItems(10);

  FUseExtFile = Named(new QCheckBox(QStringLiteral("Use external file"), this), "cbUseExtFile",
                      QStringLiteral("Define an external file source"));
  FExtFile = Named(new TFileNameEdit(this), "eExtFile",
                   QStringLiteral("External text file containing fake data"));
  FAllowNull = Named(new QCheckBox(QStringLiteral("Allow Null"), this), "cbAllowNull",
                     QStringLiteral("Generate some nulls or not"));
  FNullPercent =
      Named(new QSpinBox(this), "eNullPercent", QStringLiteral("Percentage of generated nulls"));
  FNullPercent->setRange(0, 100);
  FNullPercent->setSingleStep(5);
  FStealth = Named(new QCheckBox(QStringLiteral("Stealth column"), this), "cbStealth",
                   QStringLiteral("Defines a temp generator"));
  FCase = new QComboBox(this);
  FCase->setObjectName(QStringLiteral("cbCase"));
  // The item position is the TGenCase value.
  FCase->addItems({QStringLiteral("No change"), QStringLiteral("Upper"), QStringLiteral("Lower"),
                   QStringLiteral("Proper"), QStringLiteral("Random")});

  FPages = new TParamPageSet(FState, this);
  // The column-reference page lists the tables and fields of the one connection, when open.
  FPages->TableNames = [this] {
    QStringList names;
    TOdbcConnection* c = FState.Connection.get();
    if (c && c->Connected())
      for (const std::string& name : c->TableNames())
        names << FromAnsi(name);
    names.sort();
    return names;
  };
  FPages->ListTableFields = [this](const QString& table) {
    std::vector<std::string> fields;
    ListTableFields(FState.Connection.get(), ToAnsi(table), fields);
    QStringList names;
    for (const std::string& f : fields)
      names << FromAnsi(f);
    return names;
  };

  auto* grid = new QGridLayout(this);
  grid->addWidget(Caption(this, QStringLiteral("Generator name"), FColName), 0, 0);
  grid->addWidget(Caption(this, QStringLiteral("Table Field"), FTableField), 0, 1);
  grid->addWidget(Caption(this, QStringLiteral("Generator type"), FGenType), 0, 2);
  grid->addWidget(FColName, 1, 0);
  grid->addWidget(FTableField, 1, 1);
  grid->addWidget(FGenType, 1, 2);
  for (int c = 0; c < 3; ++c)
    grid->setColumnStretch(c, 1);

  auto* external = new QHBoxLayout;
  external->addWidget(FUseExtFile);
  external->addWidget(FExtFile, 1);
  grid->addLayout(external, 2, 0, 1, 3);

  auto* options = new QHBoxLayout;
  options->addWidget(FAllowNull);
  options->addWidget(FNullPercent);
  options->addWidget(Caption(this, QStringLiteral("percent of null values"), FNullPercent));
  options->addSpacing(12);
  options->addWidget(FStealth);
  options->addStretch();
  options->addWidget(Caption(this, QStringLiteral("Case"), FCase));
  options->addWidget(FCase);
  grid->addLayout(options, 3, 0, 1, 3);

  grid->addWidget(FPages, 4, 0, 1, 3);
  grid->setRowStretch(4, 1);

  FillGenTypes();

  connect(FGenType, &QComboBox::currentIndexChanged, this, &TGeneratorBox::cbGenTypeClick);
  connect(FStealth, &QCheckBox::toggled, this, &TGeneratorBox::cbStealthClick);
  connect(FUseExtFile, &QCheckBox::toggled, this, &TGeneratorBox::cbUseExtFileClick);
  connect(FExtFile, &QLineEdit::textChanged, this, &TGeneratorBox::eExtFileChange);
  connect(FAllowNull, &QCheckBox::toggled, this, &TGeneratorBox::cbAllowNullClick);
  connect(FNullPercent, &QSpinBox::valueChanged, this, &TGeneratorBox::eNullPercentChange);
  connect(FCase, &QComboBox::currentIndexChanged, this, &TGeneratorBox::cbCaseChange);
  // Only the user's picks and edits connect a field: the program fills the box silently.
  connect(FTableField, &QComboBox::textActivated, this, &TGeneratorBox::eTableFieldChange);
  connect(FTableField->lineEdit(), &QLineEdit::textEdited, this, &TGeneratorBox::eTableFieldChange);
  for (QObject* o : {static_cast<QObject*>(FColName), static_cast<QObject*>(FTableField),
                     static_cast<QObject*>(FTableField->lineEdit())})
    o->installEventFilter(this);
}

void TGeneratorBox::FillGenTypes() {
  // Every type but ctnone, by display name; each entry carries its type, since the position
  // says nothing about it.
  std::vector<std::pair<QString, int>> types;
  for (const TGeneratorType& type : GeneratorTypes())
    if (type.Type != ctnone) types.emplace_back(FromAnsi(type.DisplayName), type.Type);
  std::sort(types.begin(), types.end(), [](const auto& a, const auto& b) {
    return QString::compare(a.first, b.first, Qt::CaseInsensitive) < 0;
  });
  FGenType->clear();
  for (const auto& [name, type] : types)
    FGenType->addItem(name, type);
}

void TGeneratorBox::ShowGenerator(TColToGenItem* item) {
  TUpdating updating(FState);
  FColName->clear();
  FTableField->setEditText(QString());
  FGenType->setCurrentIndex(0);
  FCase->setCurrentIndex(gcNoChange);
  FStealth->setChecked(false);
  FUseExtFile->setChecked(false);
  FAllowNull->setChecked(false);
  FExtFile->clear();
  FNullPercent->setValue(0);
  ShowParameters(nullptr);

  const bool shown = item != nullptr;
  for (QWidget* w :
       std::initializer_list<QWidget*>{FColName, FTableField, FGenType, FStealth, FUseExtFile,
                                       FExtFile, FAllowNull, FNullPercent})
    w->setEnabled(shown);
  // The column-reference boxes list the tables and fields of the shown generator only.
  for (const char* name : {"cbCRTable", "cbCRField"})
    if (auto* box = FPages->findChild<QComboBox*>(QLatin1String(name))) box->clear();
  if (!item) return;

  FColName->setText(FromAnsi(item->ColName()));
  FTableField->setEditText(FromAnsi(item->DBColName()));
  FCase->setCurrentIndex(item->Param().DataCase());
  const int typeIndex = FGenType->findData(static_cast<int>(item->ColType()));
  if (typeIndex < 0) return;  // ctnone: the type box stays on its first entry, pages disabled
  FGenType->setCurrentIndex(typeIndex);
  ShowParameters(item);
}

void TGeneratorBox::ShowParameters(TColToGenItem* item) {
  TUpdating updating(FState);
  FUseExtFile->setChecked(false);
  FExtFile->clear();
  FExtFile->setEnabled(false);
  FAllowNull->setChecked(false);
  FNullPercent->setValue(0);
  FNullPercent->setEnabled(false);
  FStealth->setChecked(false);
  FPages->ShowParameters(item);
  if (!item) return;

  const TColParams& p = item->Param();
  FUseExtFile->setChecked(p.UseExternalFile());
  FExtFile->setEnabled(p.UseExternalFile());
  FExtFile->setText(FromAnsi(p.ExternalFile()));
  FAllowNull->setChecked(p.AllowNull());
  FNullPercent->setEnabled(p.AllowNull());
  FNullPercent->setValue(p.NullPercent());
  FStealth->setChecked(p.Stealth());
  FTableField->setEnabled(!p.Stealth());
}

void TGeneratorBox::cbGenTypeClick(int index) {
  if (!CanEdit() || index < 0) return;
  TColToGenItem& item = *FState.FCurrentItem;
  item.SetColType(static_cast<TColType>(FGenType->itemData(index).toInt()));
  item.Param().InitNew();
  if (item.ColType() == ctColRef) {
    auto& ref = static_cast<TCPColRef&>(item.Param());
    ref.SetDelimiter(FState.Model->Delimiter());
    ref.SetStrDelimiter(FState.Model->StringDelimiter());
  }
  ShowParameters(&item);
  TUpdating updating(FState);
  FCase->setCurrentIndex(item.Param().DataCase());
}

bool TGeneratorBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QGroupBox::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    ApplyName();
    return true;
  }
  if (key->key() == Qt::Key_F && (key->modifiers() & Qt::ControlModifier)) {
    CopyFieldToName();
    return true;
  }
  return QGroupBox::eventFilter(watched, event);
}

void TGeneratorBox::CopyFieldToName() {
  // Only proposes the field name; Enter applies it.
  const QString field = FTableField->currentText().trimmed();
  if (!field.isEmpty()) FColName->setText(field);
}

void TGeneratorBox::ApplyName() {
  if (!CanEdit()) return;
  TColToGenItem& item = *FState.FCurrentItem;
  const std::string newName = Trim(ToAnsi(FColName->text()));
  const std::string oldName = item.ColName();
  // The lookup ignores case and finds the generator itself too, so a name that only changes case
  // is refused as well.
  if (newName.empty() || FState.Model->Cols().FindByName(newName)) {
    ShowMessage(this,
                QStringLiteral("Invalid name (empty or already existing names are not allowed)"));
    return;
  }
  item.SetColName(newName);
  emit Renamed(FromAnsi(newName));
  // Combinations follow the rename; entries written in another case are left as they are. These
  // in-place edits mark nothing modified.
  for (const auto& col : FState.Model->Cols())
    if (auto* combo = dynamic_cast<TCPCombo*>(&col->Param()))
      for (std::string& name : combo->ColnamesRef())
        if (name == oldName) name = newName;
}

void TGeneratorBox::cbStealthClick(bool checked) {
  if (!CanEdit()) return;
  FState.FCurrentItem->Param().SetStealth(checked);
  FTableField->setEnabled(!checked);
  if (checked) {
    // A stealth generator writes no column, so it keeps no target field.
    FTableField->setEditText(QString());
    eTableFieldChange();
  }
}

void TGeneratorBox::cbUseExtFileClick(bool checked) {
  if (!CanEdit()) return;
  FState.FCurrentItem->Param().SetUseExternalFile(checked);
  FExtFile->setEnabled(checked);
}

void TGeneratorBox::eExtFileChange(const QString& text) {
  if (!CanEdit()) return;
  FState.FCurrentItem->Param().SetExternalFile(ToAnsi(text));
  FExtFile->SetInitialDir(FolderPart(text));
}

void TGeneratorBox::cbAllowNullClick(bool checked) {
  if (!CanEdit()) return;
  FState.FCurrentItem->Param().SetAllowNull(checked);
  FNullPercent->setEnabled(checked);
}

void TGeneratorBox::eNullPercentChange(int value) {
  if (!CanEdit()) return;
  FState.FCurrentItem->Param().SetNullPercent(value);
}

void TGeneratorBox::cbCaseChange(int index) {
  if (!CanEdit() || index < 0) return;
  FState.FCurrentItem->Param().SetDataCase(static_cast<TGenCase>(index));
}

void TGeneratorBox::SetTargetFields(const std::vector<TTargetField>& fields) {
  TUpdating updating(FState);
  const QSignalBlocker quiet(FTableField);
  const QString shown = FTableField->currentText();
  FTableField->clear();
  for (const TTargetField& field : fields)
    FTableField->addItem(FromAnsi(field.Name), QVariant::fromValue<qint64>(field.MaxLength));
  FTableField->setCurrentIndex(-1);
  FTableField->setEditText(shown);
}

QStringList TGeneratorBox::TargetFieldNames() const {
  QStringList names;
  for (int i = 0; i < FTableField->count(); ++i)
    names << FTableField->itemText(i);
  return names;
}

// Connects the shown generator to the field named in the box, at each pick and each keystroke.
// A field name already held by a generator, this one included, is refused.
void TGeneratorBox::eTableFieldChange() {
  if (!FState.FCurrentItem) return;
  TColToGenItem& item = *FState.FCurrentItem;
  const QString text = FTableField->currentText();
  if (FState.Model->Cols().FindByFieldName(ToAnsi(text))) {
    ShowMessage(this, QStringLiteral("This field is already connected to a generator!"));
    ResetTableField();
    return;
  }
  item.SetDBColName(ToAnsi(text));
  // A generator without a length of its own takes the length of the field picked from the list.
  const int entry = FTableField->findText(text, Qt::MatchFixedString);
  if (item.Param().DataLength() != 0 || entry < 0) return;
  const qint64 length = FTableField->itemData(entry).toLongLong();
  item.Param().SetDataLength(static_cast<int32_t>(std::min<qint64>(length, INT32_MAX)));
  ShowGenerator(&item);
}

void TGeneratorBox::ResetTableField() {
  TUpdating updating(FState);
  const QSignalBlocker quiet(FTableField);
  const QString field = FromAnsi(FState.FCurrentItem->DBColName());
  const int entry = field.isEmpty() ? -1 : FTableField->findText(field, Qt::MatchFixedString);
  FTableField->setCurrentIndex(entry);
  if (entry < 0) FTableField->setEditText(QString());
}

}  // namespace kelvast::ui
