// SPDX-License-Identifier: MIT
#include "ui/screenshots.h"

#include "core/database/odbc_connection.h"
#include "core/files/model_file.h"
#include "ui/ansi_text.h"
#include "ui/current_model.h"
#include "ui/file_name_edit.h"
#include "ui/main_window.h"
#include "ui/splash_window.h"
#include "ui/tabs/connection_tab.h"
#include "ui/tabs/generators_tab.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace kelvast::ui {

namespace {

bool Save(QWidget* widget, const QString& fileName) {
  QApplication::processEvents();
  if (widget->grab().save(fileName)) {
    std::fprintf(stdout, "%s\n", qPrintable(fileName));
    return true;
  }
  std::fprintf(stderr, "kelvast: cannot write %s\n", qPrintable(fileName));
  return false;
}

// The examples folder of the source tree: under the working folder (make screenshots runs from
// the top of the tree), else above the program's folder (build/<kind>/bin); empty when absent.
QString ExamplesFolder() {
  QStringList candidates{QDir::current().filePath(QStringLiteral("examples"))};
  QDir up(QCoreApplication::applicationDirPath());
  for (int i = 0; i < 3 && up.cdUp(); ++i)
    candidates << up.filePath(QStringLiteral("examples"));
  for (const QString& dir : candidates)
    if (QFile::exists(QDir(dir).filePath(QStringLiteral("people.model")))) return dir;
  return {};
}

// A small SQLite database with two tables, so that the Connection tab lists real tables and
// fields. Returns its path, or an empty text when it cannot be made.
QString MakeSampleDatabase(const QTemporaryDir& scratch) {
  const QString path = scratch.filePath(QStringLiteral("shop.db"));
  try {
    QFile(path).open(QIODevice::WriteOnly);  // an empty file is an empty database
    TOdbcConnection db(ToAnsi(path));
    db.Open();
    db.Execute("CREATE TABLE people (id INTEGER PRIMARY KEY, first_name VARCHAR(40), "
               "last_name VARCHAR(40), email VARCHAR(80), signup_date DATE, "
               "price NUMERIC(10,2) DEFAULT 0)");
    db.Execute("CREATE TABLE orders (id INTEGER PRIMARY KEY, person_id INTEGER NOT NULL, "
               "ordered_at TIMESTAMP, total NUMERIC(12,2), note TEXT)");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kelvast: no sample database for the Connection tab: %s\n", e.what());
    return {};
  }
  return path;
}

// The example people model made current and shown, with its ten-row sample on the Generation
// tab; the example plan on the plan tab. Without the examples the window keeps its generators.
void ShowExamples(TFMain& window, const QString& examples) {
  if (examples.isEmpty()) {
    std::fprintf(stderr, "kelvast: examples folder not found; the tabs show no example\n");
    return;
  }
  try {
    ReplaceCurrentModel(window.State(),
                        LoadModelFile(ToAnsi(QDir(examples).filePath(QStringLiteral("people.model")))));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kelvast: %s\n", e.what());
    return;
  }
  window.GeneratorsTab()->ShowModel();
  if (auto* sample = window.findChild<QAbstractButton*>(QStringLiteral("sbSample"))) sample->click();
  if (auto* plan = window.findChild<TFileNameEdit*>(QStringLiteral("jvFNPlan")))
    plan->setText(QDir(examples).filePath(QStringLiteral("examples.plan")));
  if (auto* entries = window.findChild<QListWidget*>(QStringLiteral("lbPlan")))
    entries->setCurrentRow(0);
}

}  // namespace

QPalette DarkPalette() {
  QPalette dark;
  const QColor window(45, 45, 48), base(30, 30, 30), text(230, 230, 230), accent(42, 130, 218);
  dark.setColor(QPalette::Window, window);
  dark.setColor(QPalette::WindowText, text);
  dark.setColor(QPalette::Base, base);
  dark.setColor(QPalette::AlternateBase, window);
  dark.setColor(QPalette::ToolTipBase, window);
  dark.setColor(QPalette::ToolTipText, text);
  dark.setColor(QPalette::Text, text);
  dark.setColor(QPalette::Button, window);
  dark.setColor(QPalette::ButtonText, text);
  dark.setColor(QPalette::BrightText, Qt::red);
  dark.setColor(QPalette::Highlight, accent);
  dark.setColor(QPalette::HighlightedText, Qt::white);
  dark.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
  dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
  dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
  dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
  return dark;
}

int SaveScreenshots(const QString& dir) {
  if (!QDir().mkpath(dir)) {
    std::fprintf(stderr, "kelvast: cannot create %s\n", qPrintable(dir));
    return 1;
  }
  const QDir out(dir);
  bool ok = true;

  TFsplash splash;
  splash.show();
  ok &= Save(&splash, out.filePath(QStringLiteral("splash.png")));
  splash.close();

  // A throw-away settings file, so that the pictures show a first start and nothing is kept.
  QTemporaryDir scratch;
  TFMain window(TAppPaths{scratch.path(), scratch.filePath(QStringLiteral("kelvast.ini"))});
  window.show();

  // A few generators, so that the Generators tab shows its editing state even without the
  // examples.
  if (auto* add = window.findChild<QAbstractButton*>(QStringLiteral("sbAddCol")))
    for (int i = 0; i < 3; ++i)
      add->click();
  ShowExamples(window, ExamplesFolder());
  // Applied after the model is loaded, since applying a connection gives it to the model too.
  const QString database = MakeSampleDatabase(scratch);
  auto* connection =
      dynamic_cast<TConnectionTab*>(window.findChild<QWidget*>(QStringLiteral("TabSheet1")));
  if (connection && !database.isEmpty()) {
    try {
      connection->ApplyConnectionString(database);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kelvast: %s\n", e.what());
    }
  }
  // Some text in the editor.
  const QString sample = scratch.filePath(QStringLiteral("sample.sql"));
  QFile file(sample);
  if (file.open(QIODevice::WriteOnly)) {
    QTextStream(&file) << "INSERT INTO people (id, name) VALUES (1, 'Ada');\r\n"
                          "INSERT INTO people (id, name) VALUES (2, 'Grace');\r\n";
    file.close();
    if (auto* field = window.findChild<TFileNameEdit*>(QStringLiteral("feTextEditor")))
      field->setText(sample);
  }

  auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
  const auto saveTabs = [&](const QString& prefix) {
    for (int i = 0; tabs && i < tabs->count(); ++i) {
      tabs->setCurrentIndex(i);
      ok &= Save(&window, out.filePath(QStringLiteral("%1tab%2_%3.png")
                                           .arg(prefix)
                                           .arg(i)
                                           .arg(tabs->widget(i)->objectName())));
    }
  };
  saveTabs(QString());
  // The same tabs in a dark theme, where fixed colours show whether their text stays readable.
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication::setPalette(DarkPalette());
  saveTabs(QStringLiteral("dark_"));
  // The window goes without the closing question: nothing here is worth keeping.
  window.State().Model->SetModified(false);
  window.State().Connection->Close();
  return ok ? 0 : 1;
}

}  // namespace kelvast::ui
