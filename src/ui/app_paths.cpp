// SPDX-License-Identifier: MIT
#include "ui/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kelvast::ui {

TAppPaths TAppPaths::ForRunningProgram() {
  TAppPaths paths;
  paths.AppDir = QCoreApplication::applicationDirPath();
  const QString iniName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                          QStringLiteral(".ini");
  if (QFileInfo(paths.AppDir).isWritable()) {
    paths.SettingsFile = QDir(paths.AppDir).filePath(iniName);
  } else {
    const QString configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(configDir);
    paths.SettingsFile = QDir(configDir).filePath(iniName);
  }
  return paths;
}

}  // namespace kelvast::ui
