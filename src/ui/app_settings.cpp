// SPDX-License-Identifier: MIT
#include "ui/app_settings.h"

#include "core/platform/errors.h"
#include "core/platform/file_io.h"

#include <QFile>

namespace kelvast::ui {

namespace {
const QString kSection = QStringLiteral("FMain");
}

TAppSettings::TAppSettings(const QString& fileName) : FStore(fileName, QSettings::IniFormat) {}

QString TAppSettings::Key(const QString& key) const { return kSection + u'/' + key; }

bool TAppSettings::ValueExists(const QString& key) const { return FStore.contains(Key(key)); }

QString TAppSettings::ReadString(const QString& key, const QString& def) const {
  // Another program (or the user) may have edited the file since it was last read.
  FStore.sync();
  return FStore.value(Key(key), def).toString();
}

int TAppSettings::ReadInteger(const QString& key, int def) const {
  bool ok = false;
  const int value = ReadString(key).trimmed().toInt(&ok);
  return ok ? value : def;
}

QString BoolText(bool value) { return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"); }

bool ParseBool(const QString& text, bool def) {
  const QString upper = text.trimmed().toUpper();
  if (upper == u"TRUE" || upper == u"YES" || upper == u"Y") return true;
  if (upper == u"FALSE" || upper == u"NO" || upper == u"N") return false;
  return def;
}

bool TAppSettings::ReadBool(const QString& key, bool def) const {
  return ParseBool(ReadString(key), def);
}

void TAppSettings::WriteString(const QString& key, const QString& value) {
  FStore.setValue(Key(key), value);
  // The file may hold a connection's password: it is made readable by its owner only before
  // the new content goes in (Qt's replacement keeps the replaced file's permissions), and
  // checked again after a write that created it.
  KeepPrivate();
  FStore.sync();
  KeepPrivate();
}

void TAppSettings::KeepPrivate() const {
  try {
    MakeFilePrivate(QFile::encodeName(FStore.fileName()).toStdString());
  } catch (const EKelvastError&) {
    // A folder that does not exist yet is made by the write itself; a settings file that
    // cannot be written is no reason to stop the program.
  }
}

void TAppSettings::WriteInteger(const QString& key, int value) {
  WriteString(key, QString::number(value));
}

void TAppSettings::WriteBool(const QString& key, bool value) { WriteString(key, BoolText(value)); }

}  // namespace kelvast::ui
