// SPDX-License-Identifier: MIT
// The model Open and Save commands of the bottom panel: the file dialogs, the round trip, and
// the connection and target table that opening a model brings back.
#include "core/files/model_file.h"
#include "core/model/gen_model.h"
#include "ui/tabs/connection_tab.h"
#include "ui/tabs/generator_box.h"
#include "ui/tabs/generators_tab.h"
#include "ui/ui_test_support.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace kelvast::ui::test {

namespace {

const QString kModelFilter = QStringLiteral("Models|*.model|All (*.*)|*.*");
const QString kCantLoad = QStringLiteral("Can't load this file!");

// A window on the Generators tab and a SQLite file with two tables in its scratch folder.
struct TModelFixture : TWindowFixture {
  TModelFixture() {
    Db = Path(QStringLiteral("shop.db"));
    RunSql(Db, {"CREATE TABLE people (id INTEGER, name VARCHAR(40))",
                "CREATE TABLE cities (code INTEGER, title VARCHAR(20))"});
    QTabBar* bar = Find<QTabWidget>("PageControl1")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
  }
  QString Path(const QString& name) const { return QDir(Dir()).filePath(name); }
  TGenModel& Model() { return *Window().State().Model; }
  TConnectionTab* Connection() { return dynamic_cast<TConnectionTab*>(Find<QWidget>("TabSheet1")); }
  void Click(const char* button) { Find<QPushButton>(button)->click(); }

  // A model file of one generator connected to "name", on the given connection and table.
  void WriteModel(const QString& file, const QString& connection, const std::string& table) {
    TGenModel model;
    model.SetConnectionString(connection.toStdString());
    model.SetTableName(table);
    TColToGenItem& gen = model.Cols().Add();
    gen.SetColName("G");
    gen.SetDBColName("name");
    SaveModelFile(Path(file).toStdString(), model);
  }
  QStringList Generators() {
    QStringList out;
    auto* list = Find<QListWidget>("lbcols");
    for (int i = 0; i < list->count(); ++i)
      out << list->item(i)->text();
    return out;
  }
  QStringList TargetFields() {
    return Window().GeneratorsTab()->GeneratorBox()->TargetFieldNames();
  }

  QString Db;
};

}  // namespace

class TModelCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  // Save then Open gives back the generators, the connection and the table, unmodified; the
  // dialogs remember their folders and a later Save proposes the opened file.
  void saveThenOpenRestoresTheModel() {
    TMessageRecorder messages;
    TFileDialogRecorder dialogs;
    TModelFixture f;
    f.Connection()->ApplyConnectionString(f.Db);
    f.Connection()->ShowTableFields(QStringLiteral("people"));
    f.Model().SetDescription("shop people");
    f.Model().SetRecNumber(7);
    for (const auto& [name, type, field] :
         {std::tuple{"Who", ctLastName, "name"}, std::tuple{"Key", ctIncremental, "id"}}) {
      TColToGenItem& gen = f.Model().Cols().Add();
      gen.SetColName(name);
      gen.SetColType(type);
      gen.SetDBColName(field);
    }
    QVERIFY(f.Model().Modified());
    dialogs.Answer = f.Path(QStringLiteral("people.model"));
    f.Click("bbModelSave");
    QCOMPARE(dialogs.Requests.size(), 1);
    QCOMPARE(dialogs.Requests[0].Kind, TFileDialogRequest::Save);
    QCOMPARE(dialogs.Requests[0].Title, QStringLiteral("Save model"));
    QCOMPARE(dialogs.Requests[0].Filter, kModelFilter);
    QCOMPARE(dialogs.Requests[0].DefaultExt, QStringLiteral("model"));
    QVERIFY(!f.Model().Modified());

    // Another model, another table and no connection before opening.
    messages.Answers = {true};
    f.Find<QToolButton>("sbClearCols")->click();
    f.Connection()->ShowTableFields(QStringLiteral("cities"));
    f.Connection()->ApplyConnectionString(QString());
    f.Click("bbModelOpen");
    QCOMPARE(dialogs.Requests[1].Kind, TFileDialogRequest::Open);
    QCOMPARE(dialogs.Requests[1].Title, QStringLiteral("Open a model"));
    QCOMPARE(dialogs.Requests[1].Filter, kModelFilter);
    QVERIFY(dialogs.Requests[1].MustExist);

    TGenModel& m = f.Model();
    QCOMPARE(m.Description(), std::string("shop people"));
    QCOMPARE(m.RecNumber(), 7);
    QCOMPARE(m.Cols().Count(), 2);
    QCOMPARE(m.Cols()[0].ColType(), ctLastName);
    QCOMPARE(m.Cols()[1].DBColName(), std::string("id"));
    QCOMPARE(QString::fromStdString(m.ConnectionString()), f.Db);
    QCOMPARE(m.TableName(), std::string("people"));
    QVERIFY(!m.Modified());
    QCOMPARE(f.Find<QLabel>("Label1")->text(), f.Db);
    QCOMPARE(f.Find<QComboBox>("cbtables")->currentText(), QStringLiteral("people"));
    QCOMPARE(f.TargetFields(), (QStringList{"id", "name"}));
    QCOMPARE(f.Generators(), (QStringList{"Who", "Key"}));
    QCOMPARE(f.Find<QComboBox>("eTableField")->currentText(), QStringLiteral("name"));
    QCOMPARE(messages.Shown.size(), 1);

    dialogs.Answer.clear();
    f.Click("bbModelSave");
    QCOMPARE(dialogs.Requests[2].Folder, f.Dir());
    QCOMPARE(dialogs.Requests[2].FileName, QStringLiteral("people.model"));
    f.Destroy();
    const auto ini = IniSection(f.SettingsFile());
    QCOMPARE(ini.value(QStringLiteral("sdModel_InitialDir")), f.Dir());
    QCOMPARE(ini.value(QStringLiteral("opModel_InitialDir")), f.Dir());
  }

  // The stored table is selected again, case ignored; one the database does not have leaves the
  // model without a target table.
  void openReselectsTheStoredTable_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("listed") << "cities"
                            << "cities" << QStringList{"code", "title"};
    QTest::newRow("other case") << "PEOPLE"
                                << "people" << QStringList{"id", "name"};
    QTest::newRow("not in the database") << "ghost"
                                         << "" << QStringList();
  }
  void openReselectsTheStoredTable() {
    QFETCH(QString, stored);
    QFETCH(QString, selected);
    QFETCH(QStringList, fields);
    TMessageRecorder messages;
    TFileDialogRecorder dialogs;
    TModelFixture f;
    f.WriteModel(QStringLiteral("m.model"), f.Db, stored.toStdString());
    dialogs.Answer = f.Path(QStringLiteral("m.model"));
    f.Click("bbModelOpen");
    QCOMPARE(messages.Texts(), QStringList());
    QCOMPARE(f.Find<QComboBox>("cbtables")->currentText(), selected);
    QCOMPARE(QString::fromStdString(f.Model().TableName()), selected);
    QCOMPARE(f.TargetFields(), fields);
    QVERIFY(!f.Model().Modified());
  }

  // A connection that cannot be opened is reported; the model keeps its connection string and
  // table and is shown.
  void unreachableConnectionIsReportedAndModelKept() {
    TMessageRecorder messages;
    TFileDialogRecorder dialogs;
    TModelFixture f;
    const QString missing = f.Path(QStringLiteral("missing/folder/shop.db"));
    f.WriteModel(QStringLiteral("m.model"), missing, "people");
    dialogs.Answer = f.Path(QStringLiteral("m.model"));
    f.Click("bbModelOpen");
    QCOMPARE(messages.Shown.size(), 1);
    QVERIFY(!messages.Shown[0].Text.isEmpty());
    QVERIFY(messages.Shown[0].Text != kCantLoad);
    QCOMPARE(QString::fromStdString(f.Model().ConnectionString()), missing);
    QCOMPARE(f.Model().TableName(), std::string("people"));
    QCOMPARE(f.Generators(), QStringList{"G"});
    QVERIFY(!f.Model().Modified());
  }

  // A file that is not a model leaves an empty model, on which the connection step still runs.
  void unreadableFileGivesAnEmptyModel_data() {
    QTest::addColumn<int>("at");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("wrong first byte") << 0 << QByteArray("\x00", 1);
    QTest::newRow("wrong signature") << -1 << QByteArray("TPF1");
    QTest::newRow("truncated") << -2 << QByteArray();
  }
  void unreadableFileGivesAnEmptyModel() {
    QFETCH(int, at);
    QFETCH(QByteArray, bytes);
    TMessageRecorder messages;
    TFileDialogRecorder dialogs;
    TModelFixture f;
    f.WriteModel(QStringLiteral("good.model"), f.Db, "people");
    dialogs.Answer = f.Path(QStringLiteral("good.model"));
    f.Click("bbModelOpen");
    QCOMPARE(f.Generators(), QStringList{"G"});

    QFile file(dialogs.Answer);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray content = file.readAll();
    file.close();
    if (at == -1) at = content.indexOf("TPF0");
    if (at == -2)
      content.truncate(content.size() / 2);
    else
      content.replace(at, bytes.size(), bytes);
    const QString bad = f.Path(QStringLiteral("bad.model"));
    QFile out(bad);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
    out.close();
    dialogs.Answer = bad;
    f.Click("bbModelOpen");
    QCOMPARE(messages.Texts(), QStringList{kCantLoad});
    QCOMPARE(f.Model().Cols().Count(), 0);
    QCOMPARE(f.Generators(), QStringList());
    QCOMPARE(f.Find<QLabel>("Label1")->text(), QString());
    QVERIFY(!f.Model().Modified());
  }

  // A file that cannot be written is reported; the model stays modified and the dialog keeps
  // its folder.
  void saveFailureKeepsStateAndFolder() {
    TMessageRecorder messages;
    TFileDialogRecorder dialogs;
    TModelFixture f;
    dialogs.Answer = f.Path(QStringLiteral("first.model"));
    f.Click("bbModelSave");
    f.Model().SetDescription("changed");
    dialogs.Answer = f.Path(QStringLiteral("missing/second.model"));
    f.Click("bbModelSave");
    QCOMPARE(messages.Shown.size(), 1);
    QCOMPARE(messages.Shown[0].Icon, TMsgIcon::Error);
    QVERIFY(f.Model().Modified());
    dialogs.Answer.clear();
    f.Click("bbModelSave");
    QCOMPARE(dialogs.Requests.last().Folder, f.Dir());
  }
};

KELVAST_UI_TEST(TModelCommandsTest)

}  // namespace kelvast::ui::test

#include "model_commands_test.moc"
