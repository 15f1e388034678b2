// SPDX-License-Identifier: MIT
#include "ui/title_grid.h"

#include "ui/ansi_text.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QTableWidget>
#include <algorithm>

namespace kelvast::ui {

namespace {

constexpr const char* kCornerTitle = "kelvastCornerTitle";

// Draws the corner button as a header section holding the grid's corner title.
class TCornerPainter : public QObject {
 public:
  TCornerPainter(QTableWidget* grid, QAbstractButton* corner) : QObject(corner), FGrid(grid) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    auto* corner = static_cast<QWidget*>(watched);
    QPainter painter(corner);
    QStyleOptionHeader option;
    option.initFrom(corner);
    option.rect = corner->rect();
    option.text = FGrid->property(kCornerTitle).toString();
    option.textAlignment = Qt::AlignCenter;
    option.position = QStyleOptionHeader::OnlyOneSection;
    painter.setFont(FGrid->horizontalHeader()->font());
    corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
    return true;
  }

 private:
  QTableWidget* FGrid;
};

void SetBold(QWidget* w) {
  QFont bold = w->font();
  bold.setBold(true);
  w->setFont(bold);
}

}  // namespace

void SetUpTitleGrid(QTableWidget* grid) {
  grid->horizontalHeader()->show();
  grid->verticalHeader()->show();
  SetBold(grid->horizontalHeader());
  SetBold(grid->verticalHeader());
  grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid->horizontalHeader()->setHighlightSections(false);
  grid->verticalHeader()->setHighlightSections(false);
  // One text line and a little air, in whatever font the desktop gives.
  const int rowHeight = QFontMetrics(grid->verticalHeader()->font()).height() + 6;
  grid->verticalHeader()->setMinimumSectionSize(rowHeight);
  grid->verticalHeader()->setDefaultSectionSize(rowHeight);
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  if (auto* corner = grid->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly))
    corner->installEventFilter(new TCornerPainter(grid, corner));
}

void ShowTitleGrid(QTableWidget* grid, const std::vector<std::vector<std::string>>& rows) {
  grid->clear();
  const int columns = rows.empty() ? 0 : static_cast<int>(rows[0].size());
  grid->setRowCount(rows.empty() ? 0 : static_cast<int>(rows.size()) - 1);
  grid->setColumnCount(std::max(columns - 1, 0));
  const QString corner = columns > 0 ? FromAnsi(rows[0][0]) : QString();
  grid->setProperty(kCornerTitle, corner);
  QStringList titles;
  for (int c = 1; c < columns; ++c) titles << FromAnsi(rows[0][static_cast<size_t>(c)]);
  grid->setHorizontalHeaderLabels(titles);
  QStringList rowTitles;
  for (size_t r = 1; r < rows.size(); ++r) {
    rowTitles << (rows[r].empty() ? QString() : FromAnsi(rows[r][0]));
    for (size_t c = 1; c < rows[r].size() && c < static_cast<size_t>(columns); ++c)
      grid->setItem(static_cast<int>(r - 1), static_cast<int>(c - 1),
                    new QTableWidgetItem(FromAnsi(rows[r][c])));
  }
  grid->setVerticalHeaderLabels(rowTitles);
  // The row titles' column is at least as wide as the corner's title.
  const int cornerWidth = QFontMetrics(grid->verticalHeader()->font()).horizontalAdvance(corner);
  grid->verticalHeader()->setMinimumWidth(cornerWidth + 12);
  grid->resizeColumnsToContents();
  grid->viewport()->update();
}

std::vector<std::vector<std::string>> TitleGridRows(const QTableWidget* grid) {
  const auto text = [](const QTableWidgetItem* item) {
    return item ? ToAnsi(item->text()) : std::string();
  };
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> titles{ToAnsi(grid->property(kCornerTitle).toString())};
  for (int c = 0; c < grid->columnCount(); ++c) titles.push_back(text(grid->horizontalHeaderItem(c)));
  rows.push_back(std::move(titles));
  for (int r = 0; r < grid->rowCount(); ++r) {
    std::vector<std::string> row{text(grid->verticalHeaderItem(r))};
    for (int c = 0; c < grid->columnCount(); ++c) row.push_back(text(grid->item(r, c)));
    rows.push_back(std::move(row));
  }
  return rows;
}

void AutoSizeColumns(QTableWidget* grid, bool boldTitleRow) {
  QFont bold = grid->font();
  bold.setBold(true);
  const QFontMetrics plainMetrics(grid->font());
  const QFontMetrics boldMetrics(bold);
  const bool headerTitles = !grid->horizontalHeader()->isHidden();
  for (int c = 0; c < grid->columnCount(); ++c) {
    int widest = 0;
    auto measure = [&](const QString& text, bool isTitle) {
      const bool inBold = c == 0 || (isTitle && boldTitleRow);
      const QFontMetrics& m = inBold ? boldMetrics : plainMetrics;
      widest = std::max(widest, m.horizontalAdvance(text) + 8);
    };
    if (headerTitles)
      if (const QTableWidgetItem* title = grid->horizontalHeaderItem(c))
        measure(title->text(), true);
    for (int r = 0; r < grid->rowCount(); ++r) {
      const QTableWidgetItem* item = grid->item(r, c);
      measure(item ? item->text() : QString(), !headerTitles && r == 0);
    }
    if (widest > 0) grid->setColumnWidth(c, widest);
  }
}

}  // namespace kelvast::ui
