// SPDX-License-Identifier: MIT
// Filters of the file dialogs, given in "Description|patterns|..." form.
#include "ui/file_dialogs.h"

#include "ui/ui_test_support.h"

namespace kelvast::ui::test {

class TFileDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void nameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("descriptions that show their patterns")
        << "SQL Script (*.sql)|*.sql|All (*.*)|*.*"
        << QStringList{"SQL Script (*.sql)", "All (*.*)"};
    QTest::newRow("description without patterns, several patterns")
        << "Data|*.csv;*.txt" << QStringList{"Data (*.csv *.txt)"};
    QTest::newRow("a description without its patterns is dropped")
        << "Text|*.txt|Odd" << QStringList{"Text (*.txt)"};
  }
  void nameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(QtNameFilters(filter), expected);
  }

  void folderPart_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("folder");
    QTest::newRow("full path") << "/data/out.sql"
                               << "/data";
    QTest::newRow("bare name") << "out.sql"
                               << "";
    QTest::newRow("file at the root") << "/out.sql"
                                      << "/";
  }
  void folderPart() {
    QFETCH(QString, fileName);
    QFETCH(QString, folder);
    QCOMPARE(FolderPart(fileName), folder);
  }
};

KELVAST_UI_TEST(TFileDialogsTest)

}  // namespace kelvast::ui::test

#include "file_dialogs_test.moc"
