// SPDX-License-Identifier: MIT
#include "ui/app_settings.h"

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
  FStore.sync();
}

void TAppSettings::WriteInteger(const QString& key, int value) {
  WriteString(key, QString::number(value));
}

void TAppSettings::WriteBool(const QString& key, bool value) { WriteString(key, BoolText(value)); }

}  // namespace kelvast::ui
