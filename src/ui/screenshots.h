#pragma once
// The screenshot mode of the program (kelvast --screenshots DIR): renders the splash window and
// each tab of the main window to PNG files, for reviewing the layout without a display.

#include <QString>

namespace kelvast::ui {

// Writes splash.png and tabN_<name>.png into dir; 0 on success, 1 when a file cannot be written.
int SaveScreenshots(const QString& dir);

}  // namespace kelvast::ui
