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

}  // namespace kelvast::ui
