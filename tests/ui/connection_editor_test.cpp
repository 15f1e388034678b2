// SPDX-License-Identifier: MIT
// The connection editor (file data source or connection string) and the connection builder,
// driven through their controls.
#include "core/database/odbc_connection.h"
#include "dialog_script.h"
#include "ui/dialogs/conn_build_form.h"
#include "ui/dialogs/conn_edit_form.h"
#include "ui/ui_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace kelvast::ui::test {

namespace {

// A data link folder with three file data sources; sales.dsn opens an SQLite file with one table.
struct TDataLinkFixture {
  TDataLinkFixture() {
    Db = Dir.filePath(QStringLiteral("sales.db"));
    RunSql(Db, {"CREATE TABLE orders (id INTEGER)"});
    Write(QStringLiteral("sales.dsn"), "[ODBC]\nDRIVER=SQLite3\nDatabase=" + Db.toUtf8() + "\n");
    Write(QStringLiteral("b.dsn"), "[ODBC]\n");
    Write(QStringLiteral("A.dsn"), "[ODBC]\n");
    Write(QStringLiteral("notes.txt"), "");
  }
  void Write(const QString& name, const QByteArray& bytes) {
    QFile file(Dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QString Folder() const { return Dir.path(); }

  QTemporaryDir Dir;
  QString Db;
};

QColor Base(QWidget* widget) { return widget->palette().color(QPalette::Base); }

}  // namespace

class TConnectionEditorTest : public QObject {
  Q_OBJECT

 private slots:
  // A file data source in the data link folder shows by its name alone and comes back whole on
  // OK; one elsewhere shows and comes back whole; a typed bare name lies in the folder.
  void FileDataSourceRoundTrip_data() {
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("in the folder") << "FILEDSN=%F/sales.dsn"
                                   << "sales.dsn" << QString() << "FILEDSN=%F/sales.dsn";
    QTest::newRow("elsewhere") << "FILEDSN=/srv/dsn/x.dsn"
                               << "/srv/dsn/x.dsn" << QString() << "FILEDSN=/srv/dsn/x.dsn";
    QTest::newRow("quoted name") << "FILEDSN={%F/a;b}}.dsn}"
                                 << "a;b}.dsn" << QString() << "FILEDSN={%F/a;b}}.dsn}";
    QTest::newRow("typed name") << "x.db"
                                << ""
                                << "b.dsn"
                                << "FILEDSN=%F/b.dsn";
    QTest::newRow("emptied") << "FILEDSN=%F/sales.dsn"
                             << "sales.dsn"
                             << ""
                             << "";
  }
  void FileDataSourceRoundTrip() {
    QFETCH(QString, initial);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    TDataLinkFixture f;
    const auto folder = [&f](QString s) { return s.replace(QStringLiteral("%F"), f.Folder()); };
    TConnEditForm form(nullptr, f.Folder());
    auto* combo = form.findChild<QComboBox*>(QStringLiteral("DataLinkFile"));
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(0), QStringLiteral("A.dsn"));
    QCOMPARE(combo->itemText(2), QStringLiteral("sales.dsn"));

    form.SetConnectionString(folder(initial));
    QCOMPARE(combo->currentText(), shown);
    if (!typed.isNull()) {
      form.findChild<QRadioButton*>(QStringLiteral("UseDataLinkFile"))->click();
      combo->setEditText(typed);
    }
    QCOMPARE(form.Result(), folder(initial));
    Click(form, "OkButton");
    QCOMPARE(form.Result(), folder(result));
    QCOMPARE(form.result(), int(QDialog::Accepted));
  }

  // The string the editor makes of a file data source opens the database that file names.
  void FileDataSourceOpens() {
    TDataLinkFixture f;
    TConnEditForm form(nullptr, f.Folder());
    form.findChild<QRadioButton*>(QStringLiteral("UseDataLinkFile"))->click();
    form.findChild<QComboBox*>(QStringLiteral("DataLinkFile"))->setCurrentIndex(2);
    Click(form, "OkButton");
    TOdbcConnection db(form.Result().toStdString());
    db.Open();
    QCOMPARE(db.TableNames(), std::vector<std::string>{"orders"});
  }

  // The chosen source's controls are enabled, in the window colour and focused; the other's are
  // disabled and in the button-face colour. Clicking a radio button switches.
  void ModeRule() {
    TDataLinkFixture f;
    TConnEditForm form(nullptr, f.Folder());
    form.SetConnectionString(QStringLiteral("x.db"));
    QWidget* file[] = {form.findChild<QComboBox*>(QStringLiteral("DataLinkFile")),
                       form.findChild<QPushButton*>(QStringLiteral("Browse"))};
    QWidget* string[] = {form.findChild<QLineEdit*>(QStringLiteral("ConnectionString")),
                         form.findChild<QPushButton*>(QStringLiteral("Build"))};
    const QColor window = QApplication::palette().color(QPalette::Base);
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    QVERIFY(window != buttonFace);
    for (bool useFile : {false, true, false}) {
      if (useFile != form.findChild<QRadioButton*>(QStringLiteral("UseDataLinkFile"))->isChecked())
        Click(form, useFile ? "UseDataLinkFile" : "UseConnectionString");
      QWidget** on = useFile ? file : string;
      QWidget** off = useFile ? string : file;
      QVERIFY(on[0]->isEnabled() && on[1]->isEnabled());
      QVERIFY(!off[0]->isEnabled() && !off[1]->isEnabled());
      QCOMPARE(Base(on[0]), window);
      QCOMPARE(Base(off[0]), buttonFace);
      QVERIFY(form.focusWidget() == on[0] || on[0]->isAncestorOf(form.focusWidget()));
    }
  }

  // Browse starts the file dialog from the combo's file (a bare name in the data link folder) and
  // takes the chosen file; a cancelled dialog leaves the text.
  void BrowseChoosesFile() {
    TDataLinkFixture f;
    TFileDialogRecorder dialogs;
    TConnEditForm form(nullptr, f.Folder());
    form.SetConnectionString(QStringLiteral("FILEDSN=") + f.Folder() + QStringLiteral("/b.dsn"));
    auto* combo = form.findChild<QComboBox*>(QStringLiteral("DataLinkFile"));
    Click(form, "Browse");
    QCOMPARE(combo->currentText(), QStringLiteral("b.dsn"));
    dialogs.Answer = QStringLiteral("/srv/dsn/other.dsn");
    Click(form, "Browse");
    QCOMPARE(combo->currentText(), dialogs.Answer);
    Click(form, "Browse");
    QCOMPARE(dialogs.Requests.size(), 3);
    const TFileDialogRequest& first = dialogs.Requests[0];
    QCOMPARE(first.Kind, TFileDialogRequest::Open);
    QCOMPARE(first.Folder, f.Folder());
    QCOMPARE(first.FileName, QStringLiteral("b.dsn"));
    QVERIFY(first.Filter.contains(QStringLiteral("*.dsn")));
    QVERIFY(first.MustExist);
    QCOMPARE(dialogs.Requests[2].Folder, QStringLiteral("/srv/dsn"));
  }

  // Build runs the builder on the edit's text: OK puts the built string in the edit, Cancel
  // leaves it.
  void BuildFillsEdit() {
    TDataLinkFixture f;
    TConnEditForm form(nullptr, f.Folder());
    form.SetConnectionString(QStringLiteral("DATABASE=/tmp/a.db;Timeout=100"));
    auto* edit = form.findChild<QLineEdit*>(QStringLiteral("ConnectionString"));
    for (bool ok : {false, true}) {
      TDialogScript script([ok](QDialog& builder) {
        QCOMPARE(Child<QLineEdit>(builder, "eDatabase")->text(), QStringLiteral("/tmp/a.db"));
        SetText(builder, "eDatabase", QStringLiteral("/tmp/b.db"));
        Click(builder, ok ? "OkButton" : "CancelButton");
      });
      Click(form, "Build");
      QCOMPARE(script.Ran, QStringList{QStringLiteral("ConnBuildForm")});
      QCOMPARE(edit->text(), ok ? QStringLiteral("DATABASE=/tmp/b.db;Timeout=100")
                                : QStringLiteral("DATABASE=/tmp/a.db;Timeout=100"));
    }
  }

  // The builder shows the string's fields; unchanged it gives the string back as written, and an
  // edited password holding ";" is quoted.
  void BuilderFieldsFollowTheString_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");  // driver, server, port, database, user, password
    QTest::addColumn<QString>("withPassword");
    QTest::newRow("SQLite file") << "  /tmp/my shop.db "
                                 << QStringList{"", "", "", "/tmp/my shop.db", "", ""}
                                 << "DATABASE=/tmp/my shop.db;PWD={a;b}";
    QTest::newRow("PostgreSQL")
        << "Driver={PostgreSQL Unicode};server=h;Port=5433;Database=d;Uid=u;Pwd=p;sslmode=allow"
        << QStringList{"PostgreSQL Unicode", "h", "5433", "d", "u", "p"}
        << "DRIVER={PostgreSQL Unicode};SERVER=h;PORT=5433;DATABASE=d;UID=u;PWD={a;b};"
           "sslmode=allow";
    QTest::newRow("unknown driver") << "DRIVER={No Such Driver};DATABASE=x"
                                    << QStringList{"No Such Driver", "", "", "x", "", ""}
                                    << "DRIVER={No Such Driver};DATABASE=x;PWD={a;b}";
  }
  void BuilderFieldsFollowTheString() {
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QFETCH(QString, withPassword);
    TConnBuildForm form;
    form.SetConnectionString(text);
    auto* driver = form.findChild<QComboBox*>(QStringLiteral("cbDriver"));
    QCOMPARE(driver->currentData().toString(), fields[0]);
    const char* names[] = {"eServer", "ePort", "eDatabase", "eUser", "ePassword"};
    for (int i = 0; i < 5; ++i)
      QCOMPARE(Child<QLineEdit>(form, names[i])->text(), fields[i + 1]);
    QCOMPARE(form.ConnectionString(), text);
    SetText(form, "ePassword", QStringLiteral("a;b"));
    QCOMPARE(form.ConnectionString(), withPassword);
  }

  // The driver list holds the default first, then the drivers the driver manager knows.
  void BuilderListsInstalledDrivers() {
    TConnBuildForm form;
    auto* driver = form.findChild<QComboBox*>(QStringLiteral("cbDriver"));
    QCOMPARE(driver->itemData(0).toString(), QString());
    QVERIFY(driver->findData(QStringLiteral("PostgreSQL Unicode")) > 0);
    QVERIFY(driver->findData(QStringLiteral("SQLite3")) > 0);
  }

  // The test button opens a real connection: an SQLite file works; a missing driver fails with
  // the driver manager's message.
  void BuilderTestButton_data() {
    QTest::addColumn<bool>("works");
    QTest::newRow("SQLite file") << true;
    QTest::newRow("missing driver") << false;
  }
  void BuilderTestButton() {
    QFETCH(bool, works);
    TDataLinkFixture f;
    TMessageRecorder messages;
    TConnBuildForm form;
    form.SetConnectionString(works ? f.Db : QStringLiteral("DRIVER={No Such Driver};DATABASE=x"));
    Click(form, "btnTest");
    QCOMPARE(messages.Shown.size(), 1);
    const QString text = messages.Shown[0].Text;
    if (works) {
      QCOMPARE(text, QStringLiteral("The connection works."));
    } else {
      QVERIFY2(text.startsWith(QStringLiteral("The connection failed")), qPrintable(text));
      QVERIFY2(text.contains(QStringLiteral("No Such Driver")), qPrintable(text));
    }
    QVERIFY(!QGuiApplication::overrideCursor());
  }
};

KELVAST_UI_TEST(TConnectionEditorTest)

}  // namespace kelvast::ui::test

#include "connection_editor_test.moc"
