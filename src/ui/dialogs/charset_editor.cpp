// SPDX-License-Identifier: MIT
#include "ui/dialogs/charset_editor.h"

#include "core/platform/code_page.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kelvast::ui {

namespace {

constexpr int kSide = 16;
// A cell is 28 pixels plus the grid line the view draws at its right and bottom edges.
constexpr int kCellPitch = 29;
const QColor kMemberColour(185, 185, 255);
const QColor kCodeColour(128, 128, 128);

QFont SmallFont() {
  QFont font(QStringLiteral("Small Fonts"));
  font.setPointSize(7);
  return font;
}

// Draws one cell: shading for members, the code small in the top-left corner, the main text
// centred and clipped to the cell.
class TCellPainter : public QStyledItemDelegate {
 public:
  TCellPainter(const TCharSet& set, QObject* parent) : QStyledItemDelegate(parent), FSet(set) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const int code = index.row() * kSide + index.column();
    const QRect cell = option.rect;
    painter->save();
    painter->setClipRect(cell);
    // A member's fixed light shading takes dark text whatever the theme; other cells follow the
    // palette.
    const bool member = FSet.Contains(static_cast<unsigned char>(code));
    painter->fillRect(cell, member ? QBrush(kMemberColour) : option.palette.base());
    const QColor ink = member ? QColor(Qt::black) : option.palette.color(QPalette::Text);

    const QFont small = SmallFont();
    painter->setFont(small);
    painter->setPen(kCodeColour);
    painter->drawText(cell, Qt::AlignLeft | Qt::AlignTop, QString::number(code));

    const QString text = TFcseditor::CellMainText(code);
    if (code < 32) {
      painter->setFont(small);
    } else {
      painter->setFont(option.font);
      painter->setPen(ink);
    }
    const QFontMetrics metrics(painter->font());
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    const QRect box(cell.left() + (cell.width() - width) / 2,
                    cell.top() + (cell.height() - height) / 2, width, height);
    painter->drawText(box, Qt::AlignLeft | Qt::AlignTop, text);

    // The current cell gets a dotted frame so that the arrow keys can be followed.
    if (option.state & QStyle::State_HasFocus) {
      painter->setPen(QPen(ink, 1, Qt::DotLine));
      painter->drawRect(cell.adjusted(0, 0, -1, -1));
    }
    painter->restore();
  }

 private:
  const TCharSet& FSet;
};

}  // namespace

TFcseditor::TFcseditor(QWidget* parent) : QDialog(parent), FGrid(new QTableWidget(kSide, kSide)) {
  setObjectName(QStringLiteral("Fcseditor"));
  setWindowTitle(QStringLiteral("Character set editor"));
  setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
  setFixedSize(468, 499);

  FGrid->setObjectName(QStringLiteral("sg"));
  FGrid->setParent(this);
  FGrid->horizontalHeader()->hide();
  FGrid->verticalHeader()->hide();
  FGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  FGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  FGrid->horizontalHeader()->setMinimumSectionSize(1);
  FGrid->verticalHeader()->setMinimumSectionSize(1);
  FGrid->horizontalHeader()->setDefaultSectionSize(kCellPitch);
  FGrid->verticalHeader()->setDefaultSectionSize(kCellPitch);
  FGrid->setShowGrid(true);
  FGrid->setFont(QFont(QStringLiteral("Verdana"), 8));
  FGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  FGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  FGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  FGrid->setItemDelegate(new TCellPainter(FSet, FGrid));
  for (int n = 0; n < kSide * kSide; ++n)
    FGrid->setItem(n / kSide, n % kSide, new QTableWidgetItem(QString::number(n)));
  connect(FGrid, &QTableWidget::cellDoubleClicked, this, [this] { sgDblClick(); });

  auto* hint = new QLabel(QStringLiteral("Double-click a char to dis/enable"), this);
  hint->setObjectName(QStringLiteral("Label1"));
  auto* invert = new QPushButton(QStringLiteral("&Invert"), this);
  invert->setObjectName(QStringLiteral("SpeedButton1"));
  invert->setFlat(true);
  invert->setAutoDefault(false);
  auto* clear = new QPushButton(QStringLiteral("&Clear"), this);
  clear->setObjectName(QStringLiteral("SpeedButton2"));
  clear->setFlat(true);
  clear->setAutoDefault(false);
  auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
  ok->setObjectName(QStringLiteral("BitBtn2"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("cancel"), this);
  cancel->setObjectName(QStringLiteral("BitBtn1"));
  cancel->setAutoDefault(false);
  connect(invert, &QPushButton::clicked, this, &TFcseditor::SpeedButton1Click);
  connect(clear, &QPushButton::clicked, this, &TFcseditor::SpeedButton2Click);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  // The strip is narrow for its five controls: the buttons take no more than their captions.
  for (QPushButton* button : {invert, clear})
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(button->text()) + 12);
  for (QPushButton* button : {ok, cancel})
    button->setFixedWidth(64);
  hint->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);

  auto* strip = new QWidget(this);
  strip->setFixedHeight(32);
  auto* row = new QHBoxLayout(strip);
  row->setContentsMargins(4, 2, 4, 2);
  row->setSpacing(4);
  row->addWidget(hint);
  row->addWidget(invert);
  row->addWidget(clear);
  row->addStretch(1);
  row->addWidget(ok);
  row->addWidget(cancel);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(FGrid, 1);
  column->addWidget(strip);
}

void TFcseditor::SetWorkingSet(const TCharSet& set) {
  FSet = set;
  FGrid->viewport()->update();
}

QString TFcseditor::CellMainText(int code) {
  if (code < 32) return QStringLiteral("(%1)").arg(code);
  return QString(QChar(AnsiToWideChar(static_cast<unsigned char>(code))));
}

void TFcseditor::sgDblClick() {
  const int row = FGrid->currentRow();
  const int column = FGrid->currentColumn();
  if (row < 0 || column < 0) return;
  const auto code = static_cast<unsigned char>(kSide * row + column);
  if (FSet.Contains(code))
    FSet.Exclude(code);
  else
    FSet.Include(code);
  FGrid->viewport()->update();
}

void TFcseditor::SpeedButton1Click() {
  for (int n = 0; n < 256; ++n) {
    const auto code = static_cast<unsigned char>(n);
    if (FSet.Contains(code))
      FSet.Exclude(code);
    else
      FSet.Include(code);
  }
  FGrid->viewport()->update();
}

void TFcseditor::SpeedButton2Click() {
  FSet.Clear();
  FGrid->viewport()->update();
}

bool EditCharset(TCharSet& set, QWidget* parent) {
  const TCharSet kept = set;
  TFcseditor editor(parent);
  editor.SetWorkingSet(set);
  const bool ok = editor.exec() == QDialog::Accepted;
  set = ok ? editor.WorkingSet() : kept;
  return ok;
}

}  // namespace kelvast::ui
