#include "ui/screenshots.h"

#include "ui/file_name_edit.h"
#include "ui/main_window.h"
#include "ui/splash_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
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

}  // namespace

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

  // A few generators, so that the Generators tab shows its editing state.
  if (auto* add = window.findChild<QAbstractButton*>(QStringLiteral("sbAddCol")))
    for (int i = 0; i < 3; ++i)
      add->click();
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
  for (int i = 0; tabs && i < tabs->count(); ++i) {
    tabs->setCurrentIndex(i);
    ok &= Save(
        &window,
        out.filePath(QStringLiteral("tab%1_%2.png").arg(i).arg(tabs->widget(i)->objectName())));
  }
  // The window goes without the closing question: nothing here is worth keeping.
  window.State().Model->SetModified(false);
  return ok ? 0 : 1;
}

}  // namespace kelvast::ui
