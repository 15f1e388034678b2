#pragma once
// Core text (Windows-1252, std::string) to QString and back, for the pages and dialogs.

#include "core/platform/code_page.h"

#include <QString>
#include <string>
#include <string_view>

namespace kelvast::ui {

inline QString AnsiToQString(std::string_view ansi) {
  return QString::fromStdString(AnsiToUtf8(ansi));
}

// Characters the code page cannot hold become '?'.
inline std::string QStringToAnsi(const QString& text) {
  std::string out;
  Utf8ToAnsi(text.toStdString(), out);
  return out;
}

}  // namespace kelvast::ui
