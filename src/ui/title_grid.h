// SPDX-License-Identifier: MIT
#pragma once
// The text grids of the window. A title grid (the Connection tab's fields, the Generation tab's
// sample) shows its first row as the column header and its first column as the row header, so
// that both stay in place while the grid scrolls; they are bold and drawn in the palette's
// header colours, which keeps them readable in light and dark themes.
//
//   SetUpTitleGrid(grid);
//   ShowTitleGrid(grid, FieldsGrid(columns));   // rows[0] titles, rows[r][0] row titles
//   GridText(TitleGridRows(grid));              // the same rows back, for the clipboard

#include <string>
#include <vector>

class QTableWidget;

namespace kelvast::ui {

// Header views shown, bold, rows as high as the font needs, the corner cell showing the first
// row's first title.
void SetUpTitleGrid(QTableWidget* grid);

// Shows rows[0] as the column titles (its first entry in the corner), rows[r][0] as the title of
// row r, and the other entries as cells; columns sized to their widest text.
void ShowTitleGrid(QTableWidget* grid, const std::vector<std::vector<std::string>>& rows);

// The rows as ShowTitleGrid was given them, titles included.
std::vector<std::vector<std::string>> TitleGridRows(const QTableWidget* grid);

// Sets each column to the width of its widest cell plus 8 pixels, measured in the grid's font.
// The title row is the horizontal header when it is shown, else the grid's first row. Cells of
// the first column are measured bold, and so are the title row's when boldTitleRow is set; all
// others plain. A grid without rows or titles keeps its widths.
void AutoSizeColumns(QTableWidget* grid, bool boldTitleRow);

}  // namespace kelvast::ui
