// SPDX-License-Identifier: MIT
#pragma once
// Conversions between the single-byte text of the core (Windows-1252) and Qt's strings.

#include <QString>
#include <string>
#include <string_view>

namespace kelvast::ui {

// The Qt string of a core text; every byte maps to one character and back.
QString FromAnsi(std::string_view text);
// The core text of a Qt string; characters that Windows-1252 cannot hold become '?'.
std::string ToAnsi(const QString& text);
// A file name as the file system spells it, for the core's file operations: the code page is
// for what files hold, not for their names, so a name with accented letters still opens.
std::string FileSystemName(const QString& fileName);
QString FromFileSystemName(const std::string& fileName);

}  // namespace kelvast::ui
