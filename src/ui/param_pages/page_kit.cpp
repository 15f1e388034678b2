// SPDX-License-Identifier: MIT
#include "ui/param_pages/page_kit.h"

#include "ui/message_box.h"
#include "ui/param_pages/param_page_set.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kelvast::ui {

// ---- TRadioGroup ----

TRadioGroup::TRadioGroup(const QString& name, const QString& caption, const QStringList& items,
                         int columns, QWidget* parent)
    : QGroupBox(caption, parent), FButtons(new QButtonGroup(this)) {
  setObjectName(name);
  auto* grid = new QGridLayout(this);
  const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    button->setObjectName(name + QString::number(i));
    FButtons->addButton(button, i);
    // Items run down the first column, then the next, as the original radio groups fill.
    grid->addWidget(button, i % rows, i / rows);
  }
  connect(FButtons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) emit Click(id);
  });
}

int TRadioGroup::ItemIndex() const { return FButtons->checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* button = FButtons->button(index)) {
    button->setChecked(true);
    return;
  }
  // An exclusive group never unchecks its last checked button on its own.
  FButtons->setExclusive(false);
  for (QAbstractButton* button : FButtons->buttons())
    button->setChecked(false);
  FButtons->setExclusive(true);
}

QList<QAbstractButton*> TRadioGroup::Buttons() const { return FButtons->buttons(); }

// ---- TParamPage ----

TParamPage::TParamPage(TPageContext& ctx, const QString& name, const QString& header)
    : FCtx(ctx), FGrid(new QGridLayout) {
  setObjectName(name);
  auto* strip = new QLabel(header, this);
  strip->setObjectName(QStringLiteral("header"));
  strip->setMinimumHeight(22);
  strip->setContentsMargins(8, 0, 8, 0);
  strip->setStyleSheet(QStringLiteral(
      "QLabel { color: white; font-weight: bold; background: qlineargradient(x1:0, y1:0, x2:1, "
      "y2:0, stop:0 #1b3f8b, stop:0.6 #4f7cc9, stop:1 #c9d8f2); }"));

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(strip);
  FGrid->setContentsMargins(8, 6, 8, 6);
  FGrid->setColumnStretch(3, 1);
  column->addLayout(FGrid);
  column->addStretch(1);
}

void TParamPage::Load(TColParams&) {}

void TParamPage::AddUniqueRow() {
  FUnique = NewCheck(QStringLiteral("cbUnique"), QStringLiteral("Unique"));
  FUniqueKey = NewSpin(QStringLiteral("seUniqueKey"), 1, 99);
  FUniqueKey->setToolTip(
      QStringLiteral("Key number: generators of one number are unique together"));
  FUniqueKey->setEnabled(false);
  AddRow(QString(), FUnique, FUniqueKey);
  connect(FUnique, &QCheckBox::toggled, this, [this](bool on) {
    FUniqueKey->setEnabled(on);
    UniqueChanged();
  });
  connect(FUniqueKey, &QSpinBox::valueChanged, this, [this] { UniqueChanged(); });
}

void TParamPage::UniqueChanged() {
  if (auto* p = Target<TColParams>()) p->SetUnique(FUnique->isChecked() ? FUniqueKey->value() : 0);
}

void TParamPage::LoadUnique(const TColParams& param) {
  if (!FUnique) return;
  FUnique->setChecked(param.Unique() > 0);
  FUniqueKey->setValue(param.Unique() > 0 ? param.Unique() : 1);
  FUniqueKey->setEnabled(param.Unique() > 0);
}

void TParamPage::Warn(const QString& text) { ShowMessage(this, text); }

QWidget* TParamPage::AddRow(const QString& label, QWidget* field, QWidget* extra) {
  auto* caption = new QLabel(label, this);
  caption->setBuddy(field);
  FGrid->addWidget(caption, FNextRow, 0);
  FGrid->addWidget(field, FNextRow, 1);
  if (extra) FGrid->addWidget(extra, FNextRow, 2, Qt::AlignLeft);
  ++FNextRow;
  return field;
}

QWidget* TParamPage::AddWide(QWidget* widget) {
  FGrid->addWidget(widget, FNextRow++, 0, 1, 3);
  return widget;
}

QSpinBox* TParamPage::NewSpin(const QString& name, int min, int max, int step, bool grouped) {
  auto* spin = new QSpinBox(this);
  spin->setObjectName(name);
  spin->setRange(min, max);
  spin->setSingleStep(step);
  spin->setGroupSeparatorShown(grouped);
  spin->setAlignment(Qt::AlignRight);
  return spin;
}

QLineEdit* TParamPage::NewEdit(const QString& name) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(name);
  edit->setMinimumWidth(180);
  return edit;
}

QCheckBox* TParamPage::NewCheck(const QString& name, const QString& caption) {
  auto* check = new QCheckBox(caption, this);
  check->setObjectName(name);
  return check;
}

QPushButton* TParamPage::NewEllipsis(const QString& name) {
  auto* button = new QPushButton(QStringLiteral("..."), this);
  button->setObjectName(name);
  button->setMinimumWidth(32);
  button->setMaximumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 32);
  button->setAutoDefault(false);
  return button;
}

QLineEdit* TParamPage::NewTimeEdit(const QString& name) {
  QLineEdit* edit = NewEdit(name);
  edit->setInputMask(QStringLiteral("99:99:99;_"));
  // Wide enough for the mask at any font size.
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + 24);
  return edit;
}

TRadioGroup* TParamPage::AddExportGroup(const QString& name) {
  auto* group = new TRadioGroup(name, QStringLiteral("Export as"),
                                {QStringLiteral("Num"), QStringLiteral("Text")}, 2, this);
  connect(group, &TRadioGroup::Click, this, &TParamPage::ExportTypeClick);
  AddWide(group);
  return group;
}

void TParamPage::ExportTypeClick(int index) {
  if (auto* p = Target<TColParams>()) p->SetExportType(static_cast<TExportType>(index));
}

}  // namespace kelvast::ui
