#include "ui/grid_autosize.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>

namespace kelvast::ui {

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
