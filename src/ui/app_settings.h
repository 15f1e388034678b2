// SPDX-License-Identifier: MIT
#pragma once
// The settings store: one INI file, every key in section "FMain", each write flushed to disk at
// once. The file is readable by its owner only. Booleans are written "TRUE" / "FALSE"; "TRUE", "YES", "Y" and "FALSE", "NO", "N" are
// read (case ignored), anything else reads as the default.

#include <QSettings>
#include <QString>

namespace kelvast::ui {

// The settings file's spelling of booleans: "TRUE" / "FALSE" when written; "TRUE", "YES", "Y"
// and "FALSE", "NO", "N" when read (case ignored), anything else reading as def.
QString BoolText(bool value);
bool ParseBool(const QString& text, bool def);

class TAppSettings {
 public:
  explicit TAppSettings(const QString& fileName);

  bool ValueExists(const QString& key) const;
  QString ReadString(const QString& key, const QString& def = QString()) const;
  int ReadInteger(const QString& key, int def) const;
  bool ReadBool(const QString& key, bool def) const;

  void WriteString(const QString& key, const QString& value);
  void WriteInteger(const QString& key, int value);
  void WriteBool(const QString& key, bool value);

  QString FileName() const { return FStore.fileName(); }

 private:
  QString Key(const QString& key) const;
  void KeepPrivate() const;

  mutable QSettings FStore;
};

}  // namespace kelvast::ui
