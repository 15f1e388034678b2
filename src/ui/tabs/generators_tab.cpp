// SPDX-License-Identifier: MIT
#include "ui/tabs/generators_tab.h"

#include "core/model/gen_model.h"
#include "ui/ansi_text.h"
#include "ui/current_model.h"
#include "ui/dialogs/assign_dialog.h"
#include "ui/message_box.h"
#include "ui/tabs/generator_box.h"
#include "ui/tabs/model_info_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelvast::ui {

namespace {

constexpr int kListWidth = 220;

// A button showing a glyph, or the theme's icon when the theme has one; its hint names it for
// screen readers too.
QToolButton* SmallButton(QWidget* parent, const char* name, const QString& hint,
                         const QString& glyph, const QIcon& icon = QIcon()) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setToolTip(hint);
  button->setAccessibleName(hint);
  if (icon.isNull()) {
    button->setText(glyph);
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
  } else {
    button->setIcon(icon);
  }
  button->setMinimumSize(26, 26);
  return button;
}

// The theme's icon of that name, or none when the theme has none.
QIcon ThemeIcon(const char* name) {
  return QIcon::hasThemeIcon(QLatin1String(name)) ? QIcon::fromTheme(QLatin1String(name)) : QIcon();
}

}  // namespace

TGeneratorsTab::TGeneratorsTab(TUiState& state, QWidget* parent) : QWidget(parent), FState(state) {
  setObjectName(QStringLiteral("TabSheet2"));

  FCols = new QListWidget(this);
  FCols->setObjectName(QStringLiteral("lbcols"));
  FCols->setFixedWidth(kListWidth);
  FCols->setSelectionMode(QAbstractItemView::SingleSelection);
  // The list's light background takes dark text in every theme.
  QPalette pal = FCols->palette();
  pal.setColor(QPalette::Base, QColor(240, 240, 255));
  pal.setColor(QPalette::Text, Qt::black);
  FCols->setPalette(pal);

  auto* listColumn = new QVBoxLayout;
  auto* listLabel = new QLabel(QStringLiteral("Generators"), this);
  listLabel->setBuddy(FCols);
  listColumn->addWidget(listLabel);
  listColumn->addWidget(FCols, 1);

  QStyle* st = style();
  auto* add = SmallButton(this, "sbAddCol", QStringLiteral("Add a generator"), QStringLiteral("+"),
                          ThemeIcon("list-add"));
  auto* del = SmallButton(this, "sbDelCol", QStringLiteral("Delete generator"),
                          QString(QChar(0x2212)), ThemeIcon("list-remove"));
  auto* clear = SmallButton(
      this, "sbClearCols", QStringLiteral("New model (clear current one)"), {},
      QIcon::fromTheme(QStringLiteral("document-new"), st->standardIcon(QStyle::SP_FileIcon)));
  auto* assign = SmallButton(this, "sbAssign", QStringLiteral("Table field assignment"), {},
                             QIcon::fromTheme(QStringLiteral("view-list-details"),
                                              st->standardIcon(QStyle::SP_FileDialogDetailedView)));
  auto* buttons = new QVBoxLayout;
  buttons->addSpacing(listColumn->itemAt(0)->sizeHint().height());
  buttons->addWidget(add);
  buttons->addWidget(del);
  buttons->addSpacing(16);
  buttons->addWidget(clear);
  buttons->addWidget(assign);
  buttons->addStretch();

  FModelInfo = new TModelInfoBox(FState, this);
  FGenerator = new TGeneratorBox(FState, this);
  auto* right = new QVBoxLayout;
  right->addWidget(FModelInfo);
  right->addWidget(FGenerator, 1);

  auto* row = new QHBoxLayout(this);
  row->addLayout(listColumn);
  row->addLayout(buttons);
  row->addLayout(right, 1);

  connect(add, &QToolButton::clicked, this, &TGeneratorsTab::sbAddColClick);
  connect(del, &QToolButton::clicked, this, &TGeneratorsTab::sbDelColClick);
  connect(clear, &QToolButton::clicked, this, &TGeneratorsTab::sbClearColsClick);
  connect(assign, &QToolButton::clicked, this, &TGeneratorsTab::sbAssignClick);
  // The selection, not the current row: a click moves the current row before it selects.
  connect(FCols, &QListWidget::itemSelectionChanged, this, &TGeneratorsTab::lbcolsClick);
  // Delete in the list deletes the selected generator, as the button does.
  auto* deleteKey = new QShortcut(QKeySequence::Delete, FCols, nullptr, nullptr, Qt::WidgetShortcut);
  connect(deleteKey, &QShortcut::activated, this, &TGeneratorsTab::sbDelColClick);
  connect(FGenerator, &TGeneratorBox::Renamed, this, [this](const QString& name) {
    if (QListWidgetItem* entry = SelectedEntry()) entry->setText(name);
  });
}

TColToGenItem* TGeneratorsTab::ItemOf(const QListWidgetItem* entry) {
  return entry ? static_cast<TColToGenItem*>(entry->data(Qt::UserRole).value<void*>()) : nullptr;
}

QListWidgetItem* TGeneratorsTab::SelectedEntry() const { return FCols->selectedItems().value(0); }

void TGeneratorsTab::SelectRow(int row) {
  const QSignalBlocker quiet(FCols);
  FCols->setCurrentRow(row);
}

void TGeneratorsTab::ShowModel() {
  FModelInfo->LoadFromModel();
  {
    const QSignalBlocker quiet(FCols);
    FCols->clear();
  }
  RefreshGeneratorList();
}

void TGeneratorsTab::RefreshGeneratorList() {
  TUpdating updating(FState);
  const QSignalBlocker quiet(FCols);
  FCols->clear();
  for (const auto& gen : FState.Model->Cols()) {
    auto* entry = new QListWidgetItem(FromAnsi(gen->ColName()), FCols);
    entry->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(gen.get())));
  }
  if (FCols->count() == 0) {
    FState.FCurrentItem = nullptr;
    return;
  }
  FCols->setCurrentRow(0);
  TColToGenItem* first = ItemOf(FCols->item(0));
  FGenerator->ShowGenerator(first);
  FState.FCurrentItem = first;
}

void TGeneratorsTab::sbAddColClick() {
  TColToGens& cols = FState.Model->Cols();
  TColToGenItem& gen = cols.Add();
  // Numbered after the count, with no look at existing names: a name may repeat after deletions.
  gen.SetColName("Generator " + std::to_string(cols.Count()));
  RefreshGeneratorList();
  SelectRow(FCols->count() - 1);
  FGenerator->ShowGenerator(&gen);
  FState.FCurrentItem = &gen;
}

void TGeneratorsTab::sbDelColClick() {
  const QListWidgetItem* selected = SelectedEntry();
  if (!selected) return;
  int row = FCols->row(selected);
  // The generator is found again by its name; with repeated names the first one goes.
  TColToGens& cols = FState.Model->Cols();
  const int index = cols.IndexOfName(ItemOf(selected)->ColName());
  FState.FCurrentItem = nullptr;
  if (index >= 0) cols.Delete(index);
  RefreshGeneratorList();
  row = std::min(row, FCols->count() - 1);
  SelectRow(row);
  lbcolsClick();
}

void TGeneratorsTab::lbcolsClick() {
  FState.FCurrentItem = ItemOf(SelectedEntry());
  FGenerator->ShowGenerator(FState.FCurrentItem);
}

void TGeneratorsTab::sbClearColsClick() {
  if (!AskYesNo(nullptr, QStringLiteral("Clear model !"),
                QStringLiteral("Clear model info and delete all generators ?"), TMsgIcon::Warning))
    return;
  ReplaceCurrentModel(FState, std::make_unique<TGenModel>());
  ShowModel();
  FGenerator->ShowGenerator(nullptr);
  FGenerator->ShowParameters(nullptr);
}

// The overview of the target table's fields and the generators connected to them.
void TGeneratorsTab::sbAssignClick() {
  ShowFieldAssignment(FGenerator->TargetFieldNames(), FState.Model->Cols(), window());
}

}  // namespace kelvast::ui
