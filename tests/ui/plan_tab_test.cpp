// SPDX-License-Identifier: MIT
// The Generation plan tab: loading and saving plan files, list editing, model information and
// the execution of a plan with a missing model.
#include "core/files/model_file.h"
#include "core/output/output_fixture.h"
#include "ui/file_name_edit.h"
#include "ui/ui_test_support.h"

#include <QDir>
#include <QFileInfo>
#include "ui/tabs/generation_tab.h"
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

namespace kelvast::ui::test {

namespace {

using kelvast::test::AddConst;

struct TPlanFixture : TWindowFixture {
  TPlanFixture() { Find<TGenerationTab>("TabSheet3")->SetDictFolder(SmallDictFolder()); }
  QString Path(const QString& name) const { return QDir(Dir()).filePath(name); }
  QListWidget* List() { return Find<QListWidget>("lbPlan"); }
  QStringList Items() {
    QStringList out;
    for (int i = 0; i < List()->count(); ++i) out << List()->item(i)->text();
    return out;
  }
  void SetItems(const QStringList& items) {
    List()->clear();
    List()->addItems(items);
  }
  // A model file of table `table` writing two records of "v" to <table>.csv in the folder.
  void SaveModel(const QString& file, const std::string& table) {
    TGenModel model;
    model.SetTableName(table);
    AddConst(model, "V", "v");
    model.SetRecNumber(2);
    model.SetSQLFile(Path(QString::fromStdString(table) + ".csv").toStdString());
    SaveModelFile(Path(file).toStdString(), model);
  }
  void WritePlan(const QString& file, const QByteArray& text) {
    QFile out(Path(file));
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size())
      throw std::runtime_error("cannot write the plan");
  }
  void Click(const char* name) { Find<QToolButton>(name)->click(); }
  // A SQLite file with the table "people", and a plan of one model on it whose stored table is
  // written in other letters.
  void PlanOnDatabase() {
    RunSql(Path(QStringLiteral("shop.db")),
           {"CREATE TABLE cities (code INTEGER)", "CREATE TABLE people (id INTEGER, name VARCHAR(40))"});
    TGenModel model;
    model.SetConnectionString(Path(QStringLiteral("shop.db")).toStdString());
    model.SetTableName("PEOPLE");
    AddConst(model, "V", "v");
    model.SetRecNumber(1);
    model.SetSQLFile(Path(QStringLiteral("people.csv")).toStdString());
    SaveModelFile(Path(QStringLiteral("m.model")).toStdString(), model);
    WritePlan(QStringLiteral("p.plan"), "ORVELA KELVAST PLAN\r\nm.model\r\n");
    Find<TFileNameEdit>("jvFNPlan")->setText(Path(QStringLiteral("p.plan")));
    Window().State().Model->SetModified(false);
  }
  QString ShownTable() { return Find<QComboBox>("cbtables")->currentText(); }
};

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

class TPlanTabTest : public QObject {
  Q_OBJECT

 private slots:
  void planRunsTheModelsThatCanBeRead() {
    TMessageRecorder messages;
    TPlanFixture f;
    f.SaveModel(QStringLiteral("a.model"), "TA");
    f.SaveModel(QStringLiteral("c.model"), "TC");
    f.WritePlan(QStringLiteral("p.plan"), "ORVELA KELVAST PLAN\r\na.model\r\nmissing.model\r\nc.model\r\n");
    f.Find<TFileNameEdit>("jvFNPlan")->setText(f.Path(QStringLiteral("p.plan")));
    QCOMPARE(f.Items(), (QStringList{"a.model", "missing.model", "c.model"}));
    f.Find<QRadioButton>("rgexportfmt_1")->click();
    f.Window().State().Model->SetModified(false);

    f.Find<QPushButton>("bbPlanGo")->click();
    QCOMPARE(messages.Texts(), QStringList());
    QCOMPARE(ReadBytes(f.Path(QStringLiteral("TA.csv"))), QByteArray("\"V\"\r\n\"v\"\r\n\"v\"\r\n"));
    QCOMPARE(ReadBytes(f.Path(QStringLiteral("TC.csv"))), QByteArray("\"V\"\r\n\"v\"\r\n\"v\"\r\n"));
    QCOMPARE(f.Find<QLabel>("lcurmodel")->text(), QStringLiteral("Done."));
    QCOMPARE(f.Find<QProgressBar>("planprog1")->value(), 3);
    QVERIFY(f.Find<QTabWidget>("PageControl1")->isEnabled());
    QCOMPARE(f.Window().State().Model->TableName(), std::string("TC"));
    QCOMPARE(f.Find<QLabel>("lprog")->text(), QStringLiteral("Done - 100%"));
  }

  // Loading the selected model reopens its connection and selects its table, shows the
  // Generators tab, and makes a later model Save propose that file.
  void loadSelectedModelReopensConnectionAndTable() {
    TMessageRecorder messages;
    TFileDialogRecorder dialogs;
    TPlanFixture f;
    f.PlanOnDatabase();
    f.List()->setCurrentRow(0);
    f.Click("sbloadplanmodel");
    QCOMPARE(messages.Texts(), QStringList());
    QCOMPARE(f.ShownTable(), QStringLiteral("people"));
    QCOMPARE(f.Window().State().Model->TableName(), std::string("people"));
    QCOMPARE(f.Find<QComboBox>("eTableField")->count(), 2);
    QVERIFY(!f.Window().State().Model->Modified());
    QCOMPARE(f.Find<QTabWidget>("PageControl1")->currentIndex(), 1);
    f.Find<QPushButton>("bbModelSave")->click();
    QCOMPARE(dialogs.Requests.size(), 1);
    QCOMPARE(dialogs.Requests[0].Folder, f.Dir());
    QCOMPARE(dialogs.Requests[0].FileName, QStringLiteral("m.model"));
  }

  // Each step reopens its model's connection and selects its table before it runs.
  void planStepSelectsTheModelsTable() {
    TMessageRecorder messages;
    TPlanFixture f;
    f.PlanOnDatabase();
    f.Find<QRadioButton>("rgexportfmt_1")->click();
    f.Find<QPushButton>("bbPlanGo")->click();
    QCOMPARE(messages.Texts(), QStringList());
    QCOMPARE(f.ShownTable(), QStringLiteral("people"));
    QCOMPARE(f.Window().State().Model->TableName(), std::string("people"));
    QCOMPARE(ReadBytes(f.Path(QStringLiteral("people.csv"))), QByteArray("\"V\"\r\n\"v\"\r\n"));
  }

  void emptyPlanEndsAtOnce() {
    TMessageRecorder messages;
    TPlanFixture f;
    f.Window().State().Model->SetModified(false);
    f.Find<QPushButton>("bbPlanGo")->click();
    QCOMPARE(messages.Texts(), QStringList());
    QCOMPARE(f.Find<QLabel>("lcurmodel")->text(), QStringLiteral("Done."));
    QVERIFY(f.Find<QTabWidget>("PageControl1")->isEnabled());
  }

  void eraseQuestionAnsweredNoRunsNothing() {
    TMessageRecorder messages;
    TPlanFixture f;
    f.SaveModel(QStringLiteral("a.model"), "TA");
    f.SetItems({QStringLiteral("a.model")});
    f.Find<TFileNameEdit>("jvFNPlan")->SetInitialDir(f.Dir());
    f.Window().State().Model->SetTableName("Mine");
    f.Window().State().Model->SetModified(true);
    f.Find<QPushButton>("bbPlanGo")->click();
    QCOMPARE(messages.Shown.size(), 1);
    QCOMPARE(messages.Shown[0].Caption, QStringLiteral("Erase current model ?"));
    QCOMPARE(messages.Shown[0].Icon, TMsgIcon::None);
    QCOMPARE(f.Window().State().Model->TableName(), std::string("Mine"));
    QCOMPARE(f.Find<QLabel>("lcurmodel")->text(), QStringLiteral("<none>"));
  }

  void notAPlanKeepsTheList_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("message");
    QTest::newRow("other first line") << QByteArray("orvela kelvast plan\r\nx.model\r\n")
                                      << QStringList{"This is not a valid data generator plan!"};
    QTest::newRow("empty file") << QByteArray() << QStringList();
  }
  void notAPlanKeepsTheList() {
    QFETCH(QByteArray, text);
    QFETCH(QStringList, message);
    TMessageRecorder messages;
    TPlanFixture f;
    f.SetItems({QStringLiteral("kept.model")});
    f.WritePlan(QStringLiteral("bad.plan"), text);
    f.Find<TFileNameEdit>("jvFNPlan")->setText(f.Path(QStringLiteral("bad.plan")));
    QCOMPARE(messages.Texts(), message);
    QCOMPARE(f.Items(), QStringList{"kept.model"});
  }

  void saveWritesTheMarkerAndReloads() {
    TFileDialogRecorder dialogs;
    TPlanFixture f;
    f.SetItems({QStringLiteral("a.model"), QString(), QStringLiteral("b.model")});
    dialogs.Answer = f.Path(QStringLiteral("saved.plan"));
    f.Click("sbSavePlan");
    QCOMPARE(dialogs.Requests.size(), 1);
    QCOMPARE(dialogs.Requests[0].Title, QStringLiteral("Save plan"));
    QCOMPARE(ReadBytes(dialogs.Answer),
             QByteArray("ORVELA KELVAST PLAN\r\na.model\r\n\r\nb.model\r\n"));
    QCOMPARE(f.Find<TFileNameEdit>("jvFNPlan")->text(), dialogs.Answer);
    QCOMPARE(f.Items(), (QStringList{"a.model", QString(), "b.model"}));
  }

  // Adding a model shares its start folder with the Open command; that folder, the plan save
  // dialog's and the plan field's are kept in the settings.
  void dialogFoldersAreSharedAndStored() {
    TFileDialogRecorder dialogs;
    TPlanFixture f;
    QDir(f.Dir()).mkpath(QStringLiteral("models"));
    dialogs.Answer = f.Path(QStringLiteral("models/a.model"));
    f.Click("sbaddtoplan");
    QCOMPARE(dialogs.Requests.last().Title, QStringLiteral("Open a model"));
    QCOMPARE(f.Items(), QStringList{QStringLiteral("a.model")});
    dialogs.Answer.clear();
    f.Find<QPushButton>("bbModelOpen")->click();
    QCOMPARE(dialogs.Requests.last().Folder, f.Path(QStringLiteral("models")));

    dialogs.Answer = f.Path(QStringLiteral("saved.plan"));
    f.Click("sbSavePlan");
    f.Find<TFileNameEdit>("jvFNPlan")->SetInitialDir(f.Path(QStringLiteral("models")));
    f.Destroy();
    const auto settings = IniSection(f.SettingsFile());
    QCOMPARE(settings.value(QStringLiteral("opModel_InitialDir")), f.Path(QStringLiteral("models")));
    QCOMPARE(settings.value(QStringLiteral("sdplan_InitialDir")), f.Dir());
    QCOMPARE(settings.value(QStringLiteral("jvFNPlan_InitialDir")), f.Path(QStringLiteral("models")));
  }

  void listEditing_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("selectedAfter");
    QTest::newRow("up the middle") << "sbupplan" << 1 << QStringList{"b", "a", "c"} << 0;
    QTest::newRow("up the first") << "sbupplan" << 0 << QStringList{"a", "b", "c"} << 0;
    QTest::newRow("up nothing") << "sbupplan" << -1 << QStringList{"a", "b", "c"} << -1;
    QTest::newRow("down the middle") << "sbdownplan" << 1 << QStringList{"a", "c", "b"} << 2;
    QTest::newRow("down the last") << "sbdownplan" << 2 << QStringList{"a", "b", "c"} << 2;
    QTest::newRow("down nothing") << "sbdownplan" << -1 << QStringList{"a", "b", "c"} << -1;
    QTest::newRow("drop the last") << "sbdropfromplan" << 2 << QStringList{"a", "b"} << -2;
    QTest::newRow("drop nothing") << "sbdropfromplan" << -1 << QStringList{"a", "b", "c"} << -1;
  }
  void listEditing() {
    QFETCH(QString, button);
    QFETCH(int, selected);
    QFETCH(QStringList, after);
    QFETCH(int, selectedAfter);
    TPlanFixture f;
    f.SetItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    f.List()->setCurrentRow(selected);
    f.Click(button.toLatin1().constData());
    QCOMPARE(f.Items(), after);
    // -2: whatever the list selects after a deletion.
    if (selectedAfter != -2) {
      const QList<QListWidgetItem*> chosen = f.List()->selectedItems();
      QCOMPARE(chosen.isEmpty() ? -1 : f.List()->row(chosen[0]), selectedAfter);
    }
  }

  void modelInformation_data() {
    QTest::addColumn<bool>("output");
    QTest::addColumn<QString>("text");
    QTest::newRow("no output file") << false << "Model: m.model\nDatabase: db\nDescription: d\nTable: T\n";
    QTest::newRow("with output file")
        << true << "Model: m.model\nDatabase: db\nDescription: d\nTable: T\nOutput: out.sql";
  }
  void modelInformation() {
    QFETCH(bool, output);
    QFETCH(QString, text);
    TMessageRecorder messages;
    TPlanFixture f;
    TGenModel model;
    model.SetDatabase("db");
    model.SetDescription("d");
    model.SetTableName("T");
    if (output) model.SetSQLFile("out.sql");
    SaveModelFile(f.Path(QStringLiteral("m.model")).toStdString(), model);
    f.WritePlan(QStringLiteral("p.plan"), "ORVELA KELVAST PLAN\r\nm.model\r\n");
    f.Find<TFileNameEdit>("jvFNPlan")->setText(f.Path(QStringLiteral("p.plan")));
    f.List()->setCurrentRow(0);
    f.Click("sbplanmodelinfo");
    QCOMPARE(messages.Texts(), QStringList{text});
  }
};

KELVAST_UI_TEST(TPlanTabTest)

}  // namespace kelvast::ui::test

#include "plan_tab_test.moc"
