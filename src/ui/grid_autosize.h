#pragma once
// Column widths of the text grids (the Connection tab's fields grid, the field assignment
// overview) fitted to their widest cell.

class QTableWidget;

namespace kelvast::ui {

// Sets each column to the width of its widest cell plus 8 pixels, measured in the grid's font.
// The title row is the horizontal header when it is shown, else the grid's first row. Cells of
// the first column are measured bold, and so are the title row's when boldTitleRow is set; all
// others plain. A grid without rows or titles keeps its widths.
void AutoSizeColumns(QTableWidget* grid, bool boldTitleRow);

}  // namespace kelvast::ui
