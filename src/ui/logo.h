// SPDX-License-Identifier: MIT
#pragma once
// The program's pictures, drawn in code: the logo of the splash window and the About tab, and the
// six tab icons.

#include <QIcon>
#include <QPixmap>

namespace kelvast::ui {

// The Kelvast mark: a rounded square holding a grid of generated cells.
QPixmap LogoPicture(int size);
// A picture of a small table of rows being filled, for the splash window.
QPixmap RowsPicture(int width, int height);
// The icon of each tab of the main window, by tab index 0..5.
QIcon TabIcon(int index);

}  // namespace kelvast::ui
