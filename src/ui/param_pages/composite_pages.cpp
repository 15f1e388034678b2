// SPDX-License-Identifier: MIT
// Pages of the composite generators: column reference and combination.

#include "core/generators/composite_gens.h"
#include "core/model/gen_model.h"
#include "ui/param_pages/page_kit.h"
#include "ui/param_pages/param_page_set.h"

#include <QComboBox>
#include <QGridLayout>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelvast::ui {

namespace {

class TColRefPage : public TParamPage {
 public:
  explicit TColRefPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("ColRef"), QStringLiteral("Column reference generator")) {
    cbCRTable = NewBox(QStringLiteral("cbCRTable"));
    cbCRField = NewBox(QStringLiteral("cbCRField"));
    AddRow(QStringLiteral("Table name"), cbCRTable);
    AddRow(QStringLiteral("Field name"), cbCRField);
    rgntref = AddExportGroup(QStringLiteral("rgntref"));
    // Every keystroke counts, as do picks from the lists.
    connect(cbCRTable, &QComboBox::currentTextChanged, this, &TColRefPage::cbCRTableChange);
    connect(cbCRField, &QComboBox::currentTextChanged, this, &TColRefPage::cbCRFieldChange);
    AddUniqueRow();
  }

  // The boxes list what the connection offers; the stored table and field are selected when
  // listed (case ignored) and nothing is selected otherwise.
  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPColRef*>(&param);
    if (!p) return;
    const TParamPageSet& set = FCtx.Set;
    cbCRTable->clear();
    if (set.TableNames) cbCRTable->addItems(set.TableNames());
    cbCRTable->setCurrentIndex(
        cbCRTable->findText(FromAnsi(p->Table()), Qt::MatchFixedString));
    cbCRField->clear();
    if (set.ListTableFields) cbCRField->addItems(set.ListTableFields(cbCRTable->currentText()));
    cbCRField->setCurrentIndex(
        cbCRField->findText(FromAnsi(p->Field()), Qt::MatchFixedString));
    rgntref->SetItemIndex(p->ExportType());
  }

 private:
  QComboBox* NewBox(const QString& name) {
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(180);
    return box;
  }

  // The table text becomes the parameter's Table and the field list is read again for it. The
  // field box keeps its text and the parameter its Field until the user picks or types a field.
  void cbCRTableChange(const QString& text) {
    auto* p = Target<TCPColRef>();
    if (!p) return;
    p->SetTable(ToAnsi(text));
    TUpdating updating(FCtx.State);
    const QString field = cbCRField->currentText();
    cbCRField->clear();
    if (FCtx.Set.ListTableFields) cbCRField->addItems(FCtx.Set.ListTableFields(text));
    cbCRField->setCurrentIndex(-1);
    cbCRField->setEditText(field);
  }

  void cbCRFieldChange(const QString& text) {
    if (auto* p = Target<TCPColRef>()) p->SetField(ToAnsi(text));
  }

  QComboBox* cbCRTable;
  QComboBox* cbCRField;
  TRadioGroup* rgntref;
};

class TComboPage : public TParamPage {
 public:
  explicit TComboPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("Combo"), QStringLiteral("Multi generator")) {
    lbcombo = new QListWidget(this);
    lbcombo->setObjectName(QStringLiteral("lbcombo"));
    lbcombo->setSelectionMode(QAbstractItemView::SingleSelection);
    lbcombo->setMinimumHeight(96);
    ppcombo = new QMenu(this);
    ppcombo->setObjectName(QStringLiteral("ppcombo"));
    sbaddcombo =
        NewTool(QStringLiteral("sbaddcombo"), QStringLiteral("Add a generator to the list"));
    sbaddcombo->setText(QStringLiteral("+"));
    sbdelcombo = NewTool(QStringLiteral("sbdelcombo"),
                         QStringLiteral("Delete selected generator from list"));
    sbdelcombo->setText(QStringLiteral("-"));
    sbcomboUp = NewTool(QStringLiteral("sbcomboUp"), QStringLiteral("Kick upstairs generator"));
    sbcomboUp->setArrowType(Qt::UpArrow);
    sbComboDown =
        NewTool(QStringLiteral("sbComboDown"), QStringLiteral("Kick downstairs generator"));
    sbComboDown->setArrowType(Qt::DownArrow);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(sbaddcombo);
    buttons->addWidget(sbdelcombo);
    buttons->addSpacing(8);
    buttons->addWidget(sbcomboUp);
    buttons->addWidget(sbComboDown);
    buttons->addStretch(1);
    auto* listRow = new QWidget(this);
    auto* row = new QHBoxLayout(listRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(lbcombo, 1);
    row->addLayout(buttons);
    AddWide(listRow);
    rgntcombo = AddExportGroup(QStringLiteral("rgntcombo"));

    connect(sbaddcombo, &QToolButton::clicked, this, &TComboPage::sbaddcomboClick);
    connect(ppcombo, &QMenu::aboutToShow, this, &TComboPage::ppcomboPopup);
    connect(sbdelcombo, &QToolButton::clicked, this, &TComboPage::sbdelcomboClick);
    connect(sbcomboUp, &QToolButton::clicked, this, &TComboPage::sbcomboUpClick);
    connect(sbComboDown, &QToolButton::clicked, this, &TComboPage::sbComboDownClick);
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPCombo*>(&param);
    if (!p) return;
    lbcombo->clear();
    for (const std::string& name : p->Colnames())
      lbcombo->addItem(FromAnsi(name));
    rgntcombo->SetItemIndex(p->ExportType());
  }

 private:
  QToolButton* NewTool(const QString& name, const QString& hint) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setMinimumSize(24, 24);
    return button;
  }

  // The selected entry of lbcombo, or -1.
  int SelectedRow() const {
    QListWidgetItem* item = lbcombo->currentItem();
    return item && item->isSelected() ? lbcombo->row(item) : -1;
  }

  // The list is the combination's Colnames; edits replace its entries in place, which marks
  // nothing modified.
  void CopyToColnames(TCPCombo& p) {
    std::vector<std::string>& names = p.ColnamesRef();
    names.clear();
    for (int i = 0; i < lbcombo->count(); ++i)
      names.push_back(ToAnsi(lbcombo->item(i)->text()));
  }

  // One menu entry per generator of the model, in list order, opened below the button.
  void sbaddcomboClick() {
    if (!Target<TCPCombo>()) return;
    const TColToGens& cols = FCtx.State.Model->Cols();
    if (cols.Count() == 0) return;
    ppcombo->clear();
    for (int i = 0; i < cols.Count(); ++i) {
      QString caption = FromAnsi(cols[i].ColName());
      caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
      QAction* entry = ppcombo->addAction(caption);
      entry->setData(i);
      connect(entry, &QAction::triggered, this, [this, i] { comboppclick(i); });
    }
    ppcombo->popup(sbaddcombo->mapToGlobal(QPoint(0, sbaddcombo->height())));
  }

  // A combination cannot list itself: its own entry is greyed.
  void ppcomboPopup() {
    const TColToGenItem* current = FCtx.State.FCurrentItem;
    const TColToGens& cols = FCtx.State.Model->Cols();
    for (QAction* entry : ppcombo->actions()) {
      const int position = entry->data().toInt();
      const bool self =
          current && position < cols.Count() && cols[position].ColName() == current->ColName();
      entry->setEnabled(!self);
    }
  }

  void comboppclick(int position) {
    auto* p = Target<TCPCombo>();
    const TColToGens& cols = FCtx.State.Model->Cols();
    if (!p || position >= cols.Count()) return;
    lbcombo->addItem(FromAnsi(cols[position].ColName()));
    CopyToColnames(*p);
  }

  void sbdelcomboClick() {
    auto* p = Target<TCPCombo>();
    const int row = SelectedRow();
    if (!p || row < 0) return;
    delete lbcombo->takeItem(row);
    CopyToColnames(*p);
  }

  void sbcomboUpClick() { MoveSelected(-1); }
  void sbComboDownClick() { MoveSelected(+1); }

  // Swaps the selected entry with its neighbour; the moved entry stays selected.
  void MoveSelected(int step) {
    auto* p = Target<TCPCombo>();
    const int row = SelectedRow();
    const int to = row + step;
    if (!p || row < 0 || to < 0 || to >= lbcombo->count()) return;
    lbcombo->insertItem(to, lbcombo->takeItem(row));
    lbcombo->setCurrentRow(to);
    CopyToColnames(*p);
  }

  QListWidget* lbcombo;
  QMenu* ppcombo;
  QToolButton* sbaddcombo;
  QToolButton* sbdelcombo;
  QToolButton* sbcomboUp;
  QToolButton* sbComboDown;
  TRadioGroup* rgntcombo;
};

}  // namespace

TParamPage* NewColRefPage(TPageContext& ctx) { return new TColRefPage(ctx); }
TParamPage* NewComboPage(TPageContext& ctx) { return new TComboPage(ctx); }

}  // namespace kelvast::ui
