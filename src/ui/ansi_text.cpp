#include "ui/ansi_text.h"

#include "core/platform/code_page.h"

namespace kelvast::ui {

QString FromAnsi(std::string_view text) {
  const std::u16string wide = AnsiToUtf16(text);
  return QString(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size()));
}

std::string ToAnsi(const QString& text) {
  std::string out;
  Utf16ToAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                  static_cast<size_t>(text.size())),
              out);
  return out;
}

}  // namespace kelvast::ui
