// SPDX-License-Identifier: MIT
// The Connection tab: applying a connection string, the table list, the fields grid.
#include "ui/tabs/connection_tab.h"

#include "core/model/gen_model.h"
#include "dialog_script.h"
#include "ui/param_pages/param_page_set.h"
#include "ui/ui_test_support.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QLineEdit>
#include <QTableWidget>
#include <QSettings>
#include <QToolButton>

#include <sys/stat.h>

#include "ui/ansi_text.h"

namespace kelvast::ui::test {

namespace {

// The file's permission bits.
unsigned FileMode(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 07777;
}

// A window and a SQLite file with two tables.
struct TConnectionFixture : TWindowFixture {
  TConnectionFixture() {
    Db = Dir() + QStringLiteral("/shop.db");
    RunSql(Db, {"CREATE TABLE people (id INTEGER, name VARCHAR(40))",
                "CREATE TABLE cities (code INTEGER, title VARCHAR(20))"});
  }
  TConnectionTab* Tab() { return dynamic_cast<TConnectionTab*>(Find<QWidget>("TabSheet1")); }
  // A file of the scratch folder with exactly these bytes; its full name.
  QString WriteFile(const QString& name, const QByteArray& bytes) {
    QFile file(Dir() + u'/' + name);
    if (!file.open(QIODevice::WriteOnly))
      throw std::runtime_error("cannot write " + name.toStdString());
    file.write(bytes);
    return file.fileName();
  }
  QByteArray ReadFile(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
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
    QCOMPARE(f.Find<QTableWidget>("sg1")->verticalHeaderItem(0)->text(), QStringLiteral("code"));
    QCOMPARE(f.Window().State().Model->Modified(), modified);
  }

  void TablePickSetsTargetTableAndShowsFields() {
    TConnectionFixture f;
    f.Tab()->ApplyConnectionString(f.Db);
    f.Find<QComboBox>("cbtables")->setCurrentIndex(1);
    QCOMPARE(f.Window().State().Model->TableName(), std::string("people"));
    auto* grid = f.Find<QTableWidget>("sg1");
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->verticalHeaderItem(1)->text(), QStringLiteral("name"));
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
    QCOMPARE(f.Find<QTableWidget>("sg1")->verticalHeaderItem(0)->text(), QStringLiteral("code"));
  }

  // The editor runs on the closed connection's string; OK applies the edited string, Cancel
  // applies the unchanged one again, which refreshes the table list all the same.
  void ConnectionButtonAppliesEditorResult_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
  }
  void ConnectionButtonAppliesEditorResult() {
    QFETCH(bool, ok);
    TConnectionFixture f;
    f.Tab()->ApplyConnectionString(f.Db);
    const QString other = f.Dir() + QStringLiteral("/other.db");
    RunSql(other, {});  // an empty database
    RunSql(f.Db, {"CREATE TABLE added (id INTEGER)"});
    bool wasOpen = true;
    TDialogScript script([&](QDialog& editor) {
      wasOpen = f.Window().State().Connection->Connected();
      QCOMPARE(Child<QLineEdit>(editor, "ConnectionString")->text(), f.Db);
      SetText(editor, "ConnectionString", other);
      Click(editor, ok ? "OkButton" : "CancelButton");
    });
    TMessageRecorder messages;
    f.Find<QPushButton>("btnConnection")->click();
    QCOMPARE(script.Ran, QStringList{QStringLiteral("ConnEditForm")});
    QVERIFY(!wasOpen);
    QCOMPARE(f.Find<QLabel>("Label1")->text(), ok ? other : f.Db);
    QCOMPARE(f.Find<QComboBox>("cbtables")->count(), ok ? 0 : 3);
    QVERIFY(f.Window().State().Connection->Connected());
    QCOMPARE(messages.Shown.size(), 0);
  }

  // An edited string that cannot be opened is reported and stays applied.
  void ConnectionButtonReportsOpenFailure() {
    TConnectionFixture f;
    const QString missing = f.Dir() + QStringLiteral("/no/such/folder.db");
    TDialogScript script([&](QDialog& editor) {
      SetText(editor, "ConnectionString", missing);
      Click(editor, "OkButton");
    });
    TMessageRecorder messages;
    f.Find<QPushButton>("btnConnection")->click();
    QCOMPARE(messages.Shown.size(), 1);
    QCOMPARE(messages.Shown[0].Icon, TMsgIcon::Error);
    QVERIFY(messages.Shown[0].Text.contains(QStringLiteral("does not exist")));
    QCOMPARE(f.Find<QLabel>("Label1")->text(), missing);
  }

  // A connection file is applied (and the generator list rebuilt with its first generator
  // shown) only when its first line is the exact marker; an empty file does nothing.
  void LoadConnectionFile_data() {
    QTest::addColumn<QByteArray>("bytes");  // %DB stands for the database file
    QTest::addColumn<QString>("label");     // %DB, or %OLD for the string applied before
    QTest::addColumn<int>("tables");
    QTest::addColumn<QString>("message");
    QTest::newRow("valid") << QByteArray("ORVELA KELVAST\r\n  %DB \r\n") << "%DB" << 2 << "";
    QTest::newRow("LF only, no last break")
        << QByteArray("ORVELA KELVAST\n%DB") << "%DB" << 2 << "";
    QTest::newRow("marker only") << QByteArray("ORVELA KELVAST\r\n") << "" << 1 << "";
    QTest::newRow("wrong case") << QByteArray("Orvela Kelvast\r\n%DB\r\n") << "%OLD" << 1
                                << "This is not a valid Connection file";
    QTest::newRow("trailing space") << QByteArray("ORVELA KELVAST \r\n%DB\r\n") << "%OLD" << 1
                                    << "This is not a valid Connection file";
    QTest::newRow("empty file") << QByteArray() << "%OLD" << 1 << "";
  }
  void LoadConnectionFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, label);
    QFETCH(int, tables);
    QFETCH(QString, message);
    TConnectionFixture f;
    const QString old = f.Dir() + QStringLiteral("/old.db");
    RunSql(old, {"CREATE TABLE before (id INTEGER)"});
    f.Tab()->ApplyConnectionString(old);
    for (int i = 0; i < 2; ++i)
      f.Find<QToolButton>("sbAddCol")->click();
    auto* cols = f.Find<QListWidget>("lbcols");
    cols->setCurrentRow(1);
    const bool applied = label != QStringLiteral("%OLD");
    label.replace(QStringLiteral("%OLD"), old).replace(QStringLiteral("%DB"), f.Db);

    TFileDialogRecorder dialogs;
    dialogs.Answer = f.WriteFile(QStringLiteral("shop.con"), bytes.replace("%DB", f.Db.toUtf8()));
    TMessageRecorder messages;
    f.Find<QToolButton>("sbLoadCon")->click();
    QCOMPARE(f.Find<QLabel>("Label1")->text(), label);
    QCOMPARE(QString::fromStdString(f.Window().State().Connection->ConnectionString()), label);
    QCOMPARE(QString::fromStdString(f.Window().State().Model->ConnectionString()), label);
    QCOMPARE(f.Find<QComboBox>("cbtables")->count(), tables);
    QCOMPARE(messages.Texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(cols->currentRow(), applied ? 0 : 1);
    QCOMPARE(f.Window().State().FCurrentItem, &f.Window().State().Model->Cols()[applied ? 0 : 1]);

    QCOMPARE(dialogs.Requests.size(), 1);
    const TFileDialogRequest& request = dialogs.Requests[0];
    QCOMPARE(request.Kind, TFileDialogRequest::Open);
    QCOMPARE(request.Title, QStringLiteral("Open a connection"));
    QCOMPARE(request.Filter, QStringLiteral("Connections|*.con|All (*.*)|*.*"));
    QCOMPARE(request.DefaultExt, QStringLiteral("con"));
    QVERIFY(request.MustExist);
    // The next dialog starts in the folder of the file opened last.
    dialogs.Answer.clear();
    f.Find<QToolButton>("sbLoadCon")->click();
    QCOMPARE(dialogs.Requests[1].Folder, f.Dir());
  }

  // Saving writes the marker line and the connection's string, each ended by CR LF; the folder
  // is remembered in the settings; a file that cannot be written is reported.
  void SaveConnectionFile() {
    TConnectionFixture f;
    f.Tab()->ApplyConnectionString(f.Db);
    TFileDialogRecorder dialogs;
    TMessageRecorder messages;
    dialogs.Answer = f.Dir() + QStringLiteral("/shop.con");
    f.Find<QToolButton>("sbSaveConnection")->click();
    QCOMPARE(f.ReadFile(dialogs.Answer), "ORVELA KELVAST\r\n" + f.Db.toUtf8() + "\r\n");
    const TFileDialogRequest& request = dialogs.Requests[0];
    QCOMPARE(request.Kind, TFileDialogRequest::Save);
    QCOMPARE(request.Title, QStringLiteral("Save connection"));
    QCOMPARE(request.Filter, QStringLiteral("Connections|*.con|All (*.*)|*.*"));
    QCOMPARE(request.DefaultExt, QStringLiteral("con"));

    dialogs.Answer = f.Dir() + QStringLiteral("/missing/shop.con");
    f.Find<QToolButton>("sbSaveConnection")->click();
    QCOMPARE(dialogs.Requests[1].Folder, f.Dir());
    QCOMPARE(messages.Shown.size(), 1);
    QCOMPARE(messages.Shown[0].Icon, TMsgIcon::Error);
    QCOMPARE(f.ReadFile(dialogs.Answer), QByteArray("<missing>"));

    // Cancelled: nothing written, the folder kept.
    dialogs.Answer.clear();
    f.Find<QToolButton>("sbSaveConnection")->click();
    f.Destroy();
    QCOMPARE(IniSection(f.SettingsFile()).value(QStringLiteral("sd1_InitialDir")),
             f.Dir() + QStringLiteral("/missing"));
  }

  // The label never shows the password; a connection file that holds one is the user's only.
  void PasswordMaskedOnTheLabelAndPrivateInTheFile() {
    TConnectionFixture f;
    const QString text = QStringLiteral("DRIVER=SQLite3;Database=") + f.Db +
                         QStringLiteral(";PWD=s3cret");
    f.Tab()->ApplyConnectionString(text);
    QCOMPARE(f.Find<QLabel>("Label1")->text(),
             QStringLiteral("DRIVER=SQLite3;Database=") + f.Db + QStringLiteral(";PWD=********"));
    TFileDialogRecorder dialogs;
    TMessageRecorder messages;
    dialogs.Answer = f.Dir() + QStringLiteral("/shop.con");
    f.Find<QToolButton>("sbSaveConnection")->click();
    QCOMPARE(messages.Texts(), QStringList());
    QVERIFY(f.ReadFile(dialogs.Answer).contains("PWD=s3cret"));
    QCOMPARE(FileMode(FileSystemName(dialogs.Answer)), 0600u);
  }

  // The settings file is the user's only, also when it was looser before, and keeps the
  // connection's password only when "Remember the password" is checked.
  void RememberedConnectionKeepsThePasswordOnlyWhenAsked_data() {
    QTest::addColumn<bool>("remember");
    QTest::newRow("default: not remembered") << false;
    QTest::newRow("remembered") << true;
  }
  void RememberedConnectionKeepsThePasswordOnlyWhenAsked() {
    QFETCH(bool, remember);
    TConnectionFixture f;
    f.WriteFile(QStringLiteral("kelvast.ini"), "[FMain]\r\nFormVersion=0\r\n");
    QCOMPARE(::chmod(FileSystemName(f.SettingsFile()).c_str(), 0644), 0);
    QCOMPARE(f.Find<QCheckBox>("cbRememberPassword")->isChecked(), false);
    if (remember) f.Find<QCheckBox>("cbRememberPassword")->setChecked(true);
    f.Window().State().Connection->SetConnectionString(
        "DRIVER={PostgreSQL Unicode};SERVER=db;UID=ada;PWD=s3cret");
    f.Destroy();
    QCOMPARE(FileMode(FileSystemName(f.SettingsFile())), 0600u);
    const QSettings ini(f.SettingsFile(), QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("FMain/CONNECTION")).toString(),
             remember ? QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=db;UID=ada;PWD=s3cret")
                      : QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=db;UID=ada"));
    // The choice itself is remembered.
    const QString choice = ini.value(QStringLiteral("FMain/cbRememberPassword_Checked")).toString();
    QCOMPARE(choice, remember ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
    TWindowFixture again("[FMain]\r\ncbRememberPassword_Checked=" + choice.toUtf8() + "\r\n");
    QCOMPARE(again.Find<QCheckBox>("cbRememberPassword")->isChecked(), remember);
  }

  // A connection file whose name has accented letters is written and read under that name.
  void ConnectionFileWithAccentedName() {
    TConnectionFixture f;
    f.Tab()->ApplyConnectionString(f.Db);
    TFileDialogRecorder dialogs;
    TMessageRecorder messages;
    dialogs.Answer = f.Dir() + QString::fromUtf8("/\u00e9t\u00e9.con");
    f.Find<QToolButton>("sbSaveConnection")->click();
    QVERIFY(QFile::exists(dialogs.Answer));
    f.Tab()->ApplyConnectionString({});
    f.Find<QToolButton>("sbLoadCon")->click();
    QCOMPARE(messages.Texts(), QStringList());
    QCOMPARE(f.Find<QLabel>("Label1")->text(), f.Db);
    QCOMPARE(f.Find<QComboBox>("cbtables")->count(), 2);
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
      RunSql(db, {"CREATE TABLE people (id INTEGER)"});
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

  // A remembered string that came from a file is still held to the file rules after a restart:
  // a hostile one is refused and writes nothing, and it is remembered as from a file again.
  void RememberedFileConnectionStaysFromAFile_data() {
    QTest::addColumn<bool>("fromFile");
    QTest::newRow("from a file") << true;
    QTest::newRow("the user's own") << false;
  }
  void RememberedFileConnectionStaysFromAFile() {
    QFETCH(bool, fromFile);
    QTemporaryDir dbDir;
    const QString db = dbDir.filePath(QStringLiteral("shop.db"));
    RunSql(db, {"CREATE TABLE people (id INTEGER)"});
    const QString trace = dbDir.filePath(QStringLiteral("trace.log"));
    const QString connection = "DRIVER=SQLite3;Database=" + db + ";Tracefile=" + trace;
    TMessageRecorder messages;
    // Quoted, as the settings file writes a value holding ";".
    TWindowFixture f("[FMain]\r\nCONNECTION=\"" + connection.toUtf8() +
                     "\"\r\nCONNECTION_FROM_FILE=" + (fromFile ? "1" : "0") + "\r\n");
    f.Window().show();
    QCOMPARE(f.Find<QComboBox>("cbtables")->count(), fromFile ? 0 : 1);
    QCOMPARE(QFileInfo::exists(trace), !fromFile);
    QCOMPARE(messages.Shown.size(), fromFile ? 1 : 0);
    if (fromFile) QVERIFY(messages.Shown.front().Text.contains(QStringLiteral("\"Tracefile\"")));
    f.Destroy();
    QCOMPARE(IniSection(f.SettingsFile()).value(QStringLiteral("CONNECTION_FROM_FILE")),
             fromFile ? QStringLiteral("1") : QStringLiteral("0"));
  }

  // The models of the checked tables and their plan are made in the chosen folder, and the plan
  // opens on its tab with the referenced table first; a cancelled dialog makes nothing.
  void CreateModelsOpensThePlanOfTheCheckedTables_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
  }
  void CreateModelsOpensThePlanOfTheCheckedTables() {
    QFETCH(bool, ok);
    TWindowFixture f;
    const QString db = f.Dir() + QStringLiteral("/shop.db");
    RunSql(db, {"CREATE TABLE cities (code INTEGER PRIMARY KEY, title VARCHAR(20))",
                "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL, "
                "city INTEGER NOT NULL REFERENCES cities(code))",
                "CREATE TABLE unused (x INTEGER)"});
    dynamic_cast<TConnectionTab*>(f.Find<QWidget>("TabSheet1"))->ApplyConnectionString(db);
    const QString folder = f.Dir() + QStringLiteral("/models");
    bool okWithoutTables = true;
    TDialogScript script([&](QDialog& dialog) {
      auto* tables = Child<QListWidget>(dialog, "lbTables");
      QCOMPARE(tables->count(), 3);
      for (int i = 0; i < tables->count(); ++i) tables->item(i)->setCheckState(Qt::Unchecked);
      okWithoutTables = Child<QAbstractButton>(dialog, "OkButton")->isEnabled();
      for (int i = 0; i < tables->count(); ++i)
        if (tables->item(i)->text() != QStringLiteral("unused"))
          tables->item(i)->setCheckState(Qt::Checked);
      Child<QSpinBox>(dialog, "seRecords")->setValue(25);
      SetText(dialog, "edFolder", folder);
      Click(dialog, ok ? "OkButton" : "CancelButton");
    });
    TMessageRecorder messages;
    f.Find<QPushButton>("btnCreateModels")->click();
    QCOMPARE(script.Ran, QStringList{QStringLiteral("ScaffoldDialog")});
    QVERIFY(!okWithoutTables);
    auto* plan = f.Find<QListWidget>("lbPlan");
    if (!ok) {
      QVERIFY(!QFile::exists(folder));
      QCOMPARE(plan->count(), 0);
      return;
    }
    for (const auto& shown : messages.Shown) QVERIFY2(shown.Icon != TMsgIcon::Error, qPrintable(shown.Text));
    QCOMPARE(f.Find<QLineEdit>("jvFNPlan")->text(), folder + QStringLiteral("/database.plan"));
    QCOMPARE(f.Find<QTabWidget>("PageControl1")->currentWidget(), f.Find<QWidget>("TabSheet5"));
    QCOMPARE(plan->count(), 2);
    QVERIFY(plan->item(0)->text().endsWith(QStringLiteral("cities.model")));
    QVERIFY(plan->item(1)->text().endsWith(QStringLiteral("people.model")));
    QVERIFY(!QFile::exists(folder + QStringLiteral("/unused.model")));
  }

  // Models that exist already are replaced only when the user agrees, shown their names; No
  // writes nothing and opens no plan.
  void CreateModelsAsksBeforeReplacingExistingFiles_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
  }
  void CreateModelsAsksBeforeReplacingExistingFiles() {
    QFETCH(bool, yes);
    TWindowFixture f;
    const QString db = f.Dir() + QStringLiteral("/shop.db");
    RunSql(db, {"CREATE TABLE cities (code INTEGER PRIMARY KEY, title VARCHAR(20))"});
    dynamic_cast<TConnectionTab*>(f.Find<QWidget>("TabSheet1"))->ApplyConnectionString(db);
    const QString folder = f.Dir() + QStringLiteral("/models");
    QVERIFY(QDir().mkpath(folder));
    const QString mine = folder + QStringLiteral("/cities.model");
    {
      QFile file(mine);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("mine");
    }
    TDialogScript script([&](QDialog& dialog) {
      SetText(dialog, "edFolder", folder);
      Click(dialog, "OkButton");
    });
    TMessageRecorder messages;
    messages.Answers << yes;
    f.Find<QPushButton>("btnCreateModels")->click();
    QCOMPARE(messages.Shown.size(), 1);
    QVERIFY(messages.Shown[0].YesNo);
    QVERIFY2(messages.Shown[0].Text.contains(mine), qPrintable(messages.Shown[0].Text));
    QFile file(mine);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll() == "mine", !yes);
    QCOMPARE(f.Find<QListWidget>("lbPlan")->count(), yes ? 1 : 0);
  }
};

KELVAST_UI_TEST(TConnectionTabTest)

}  // namespace kelvast::ui::test

#include "connection_tab_test.moc"
