// SPDX-License-Identifier: MIT
#include "ui/ansi_text.h"

#include <QFile>

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

std::string FileSystemName(const QString& fileName) {
  return QFile::encodeName(fileName).toStdString();
}

QString FromFileSystemName(const std::string& fileName) {
  return QFile::decodeName(QByteArray::fromStdString(fileName));
}

}  // namespace kelvast::ui
