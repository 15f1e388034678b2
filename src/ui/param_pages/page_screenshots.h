// SPDX-License-Identifier: MIT
#pragma once
// Renders the parameter pages and the two editor dialogs to PNG files, for the documentation's
// screenshots.

#include <QString>

namespace kelvast::ui {

// Writes "page_00_none.png" to "page_25_Sex.png" (each page loaded with its generator's
// defaults), "dialog_charset_editor.png" and "dialog_list_editor.png" into dir, which must
// exist. Needs a QApplication. Returns the number of files written.
int RenderPageScreenshots(const QString& dir);

}  // namespace kelvast::ui
