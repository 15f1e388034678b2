// The Connection tab: applying a connection string, the table list, the fields grid.
#include "ui/tabs/connection_tab.h"

#include "core/database/odbc_connection.h"
#include "core/model/gen_model.h"
#include "ui/param_pages/param_page_set.h"
#include "ui/ui_test_support.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>

namespace kelvast::ui::test {

namespace {

// A window and a SQLite file with two tables.
struct TConnectionFixture : TWindowFixture {
  TConnectionFixture() {
    Db = Dir() + QStringLiteral("/shop.db");
    TOdbcConnection c(Db.toStdString());
    c.Open();
    c.Execute("CREATE TABLE people (id INTEGER, name VARCHAR(40))");
    c.Execute("CREATE TABLE cities (code INTEGER, title VARCHAR(20))");
    c.Close();
  }
  TConnectionTab* Tab() { return dynamic_cast<TConnectionTab*>(Find<QWidget>("TabSheet1")); }
  QString Db;
};

}  // namespace

class TConnectionTabTest : public QObject {
  Q_OBJECT

 private slots:
  void ApplyRefreshesTablesAndKeepsModifiedState_data() {
    QTest::addColumn<bool>("modified");
    QTest::newRow("unmodified model") << false;
    QTest::newRow("modified model") << true;
  }
  void ApplyRefreshesTablesAndKeepsModifiedState() {
    QFETCH(bool, modified);
    TConnectionFixture f;
    f.Window().State().Model->SetModified(modified);
    f.Tab()->ApplyConnectionString(QStringLiteral("  ") + f.Db + QStringLiteral(" "));
    auto* tables = f.Find<QComboBox>("cbtables");
    QCOMPARE(tables->count(), 2);
    QCOMPARE(tables->itemText(0), QStringLiteral("cities"));
    QCOMPARE(f.Find<QLabel>("Label1")->text(), f.Db);
    QCOMPARE(QString::fromStdString(f.Window().State().Model->ConnectionString()), f.Db);
    QCOMPARE(f.Find<QTableWidget>("sg1")->item(1, 0)->text(), QStringLiteral("code"));
    QCOMPARE(f.Window().State().Model->Modified(), modified);
  }

  void TablePickSetsTargetTableAndShowsFields() {
    TConnectionFixture f;
    f.Tab()->ApplyConnectionString(f.Db);
    f.Find<QComboBox>("cbtables")->setCurrentIndex(1);
    QCOMPARE(f.Window().State().Model->TableName(), std::string("people"));
    auto* grid = f.Find<QTableWidget>("sg1");
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("name"));
  }

  void CopyFieldsGivesTabSeparatedLines() {
    TConnectionFixture f;
    f.Tab()->ApplyConnectionString(f.Db);
    f.Find<QToolButton>("sbcopyfields")->click();
    const QStringList lines = QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    QVERIFY(lines.size() >= 3);
    QVERIFY(lines[0].startsWith(QStringLiteral("Field\tType\t")));
    QVERIFY(lines[1].startsWith(QStringLiteral("code\t")));
    QCOMPARE(lines[1].count(QLatin1Char('\t')), 5);
  }

  void ReferencePageListsTablesAndFields() {
    TConnectionFixture f;
    auto* pages = dynamic_cast<TParamPageSet*>(f.Find<QWidget>("ntbtype"));
    QVERIFY(pages);
    QCOMPARE(pages->TableNames(), QStringList());
    f.Tab()->ApplyConnectionString(f.Db);
    QCOMPARE(pages->TableNames(),
             (QStringList{QStringLiteral("cities"), QStringLiteral("people")}));
    QCOMPARE(pages->ListTableFields(QStringLiteral("people")),
             (QStringList{QStringLiteral("id"), QStringLiteral("name")}));
  }

  // Clearing keeps the table list; a table picked then cannot be shown, which is reported while
  // the grid and the target table stay as they were.
  void ClearEmptiesStringButKeepsTables() {
    TMessageRecorder messages;
    TConnectionFixture f;
    f.Tab()->ApplyConnectionString(f.Db);
    f.Find<QToolButton>("sbClearConnection")->click();
    QCOMPARE(f.Find<QLabel>("Label1")->text(), QString());
    QVERIFY(f.Window().State().Model->ConnectionString().empty());
    QVERIFY(!f.Window().State().Connection->Connected());
    QCOMPARE(f.Find<QComboBox>("cbtables")->count(), 2);
    f.Find<QComboBox>("cbtables")->setCurrentIndex(1);
    QCOMPARE(messages.Shown.size(), 1);
    QCOMPARE(messages.Shown[0].Icon, TMsgIcon::Error);
    QCOMPARE(f.Window().State().Model->TableName(), std::string("cities"));
    QCOMPARE(f.Find<QTableWidget>("sg1")->item(1, 0)->text(), QStringLiteral("code"));
  }

  // The remembered connection is applied at start (an unreachable one is reported and start-up
  // goes on) and the current one is written back at close.
  void RememberedConnection_data() {
    QTest::addColumn<bool>("reachable");
    QTest::newRow("reachable") << true;
    QTest::newRow("unreachable") << false;
  }
  void RememberedConnection() {
    QFETCH(bool, reachable);
    QTemporaryDir dbDir;
    QString db = dbDir.filePath(QStringLiteral("shop.db"));
    if (reachable) {
      TOdbcConnection c(db.toStdString());
      c.Open();
      c.Execute("CREATE TABLE people (id INTEGER)");
      c.Close();
    } else {
      db = dbDir.filePath(QStringLiteral("missing/folder/shop.db"));
    }
    TMessageRecorder messages;
    TWindowFixture f("[FMain]\r\nCONNECTION=" + db.toUtf8() + "\r\n");
    f.Window().show();
    QCOMPARE(f.Find<QLabel>("Label1")->text(), db);
    QCOMPARE(f.Find<QComboBox>("cbtables")->count(), reachable ? 1 : 0);
    QCOMPARE(messages.Shown.size(), reachable ? 0 : 1);
    f.Window().State().Connection->SetConnectionString("other.db");
    f.Destroy();
    QCOMPARE(IniSection(f.SettingsFile()).value(QStringLiteral("CONNECTION")),
             QStringLiteral("other.db"));
  }
};

KELVAST_UI_TEST(TConnectionTabTest)

}  // namespace kelvast::ui::test

#include "connection_tab_test.moc"
