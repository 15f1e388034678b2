// SPDX-License-Identifier: MIT
#pragma once
// Where the program finds its companions (help files) and keeps its settings file.

#include <QString>

namespace kelvast::ui {

struct TAppPaths {
  // The folder of the executable: start folder of the connection dialogs, parent of "Help".
  QString AppDir;
  // The INI file of the settings store.
  QString SettingsFile;

  // The paths of the running program: the settings file is named after the executable with the
  // extension ".ini", beside it when that folder is writable, else in the user's configuration
  // folder.
  static TAppPaths ForRunningProgram();
};

}  // namespace kelvast::ui
