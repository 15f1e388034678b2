// SPDX-License-Identifier: MIT
#pragma once
// The screenshot mode of the program (kelvast --screenshots DIR): renders the splash window and
// each tab of the main window to PNG files, for reviewing the layout without a display.

#include <QPalette>
#include <QString>

namespace kelvast::ui {

// Writes splash.png, tabN_<name>.png, and dark_tabN_<name>.png in the Fusion style with
// DarkPalette(), into dir; 0 on success, 1 when a file cannot be written.
int SaveScreenshots(const QString& dir);

// A dark palette of the kind desktop themes give: light text on dark backgrounds.
QPalette DarkPalette();

}  // namespace kelvast::ui
