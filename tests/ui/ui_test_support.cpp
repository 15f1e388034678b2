// SPDX-License-Identifier: MIT
#include "ui/ui_test_support.h"

#include "core/database/odbc_connection.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

namespace kelvast::ui::test {

std::vector<TTestFactory>& TestClasses() {
  static std::vector<TTestFactory> classes;
  return classes;
}

TWindowFixture::TWindowFixture(const QByteArray& iniText) {
  if (!QDir().mkpath(Dir())) throw std::runtime_error("cannot make the program folder");
  if (!iniText.isEmpty()) {
    QFile ini(SettingsFile());
    if (!ini.open(QIODevice::WriteOnly) || ini.write(iniText) != iniText.size())
      throw std::runtime_error("cannot write the settings file");
  }
  FWindow = std::make_unique<TFMain>(TAppPaths{Dir(), SettingsFile()});
  FWindow->show();
  if (!QTest::qWaitForWindowExposed(FWindow.get()))
    throw std::runtime_error("the window was not shown");
}

TWindowFixture::~TWindowFixture() { FWindow.reset(); }

std::filesystem::path SmallDictFolder() {
  return std::filesystem::path(KELVAST_TEST_DATA) / "dict-small";
}

void ProcessUntilIdle() {
  // A waiting event loop announces that it is about to block before it sleeps; the zero timer
  // ends the loop right after.
  QEventLoop loop;
  QTimer::singleShot(0, &loop, &QEventLoop::quit);
  loop.exec();
}

QMap<QString, QString> IniSection(const QString& fileName) {
  QMap<QString, QString> values;
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return values;
  bool inSection = false;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.startsWith(u'[')) {
      inSection = line == u"[FMain]";
      continue;
    }
    const qsizetype eq = line.indexOf(u'=');
    if (inSection && eq > 0) values.insert(line.left(eq), line.mid(eq + 1));
  }
  return values;
}

void RunSql(const QString& db, std::initializer_list<const char*> statements) {
  // A bare path names an SQLite file, which must exist before it is opened: an empty file is an
  // empty database.
  if (!db.contains(u'=') && !QFile::exists(db)) {
    QFile file(db);
    file.open(QIODevice::WriteOnly);
  }
  TOdbcConnection connection(db.toStdString());
  connection.Open();
  for (const char* sql : statements) connection.Execute(sql);
  connection.Close();
}

}  // namespace kelvast::ui::test
