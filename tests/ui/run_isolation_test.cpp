// SPDX-License-Identifier: MIT
// What the window does while "Go !" runs: every command that changes, replaces or frees the
// shown model works on the window's model, never on what the run writes; Sample is refused; and
// the progress label says "Done" only for a run that wrote everything.
#include "core/files/model_file.h"
#include "core/generators/composite_gens.h"
#include "core/generators/person_gens.h"
#include "core/output/output_fixture.h"
#include "ui/file_name_edit.h"
#include "ui/tabs/generators_tab.h"
#include "ui/tabs/generation_tab.h"
#include "ui/ui_test_support.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace kelvast::ui::test {

namespace {

using kelvast::test::AddConst;
using kelvast::test::AddCounter;

constexpr int kRecords = 2000;

struct TRunFixture : TWindowFixture {
  TRunFixture() {
    Tab()->SetDictFolder(SmallDictFolder());
    // The window works at every progress report, so commands land in the middle of the run.
    Tab()->SetEventInterval(0);
    ClickTab(1);
  }
  TGenerationTab* Tab() { return Find<TGenerationTab>("TabSheet3"); }
  void ClickTab(int index) {
    QTabBar* bar = Find<QTabWidget>("PageControl1")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  }
  TGenModel& Model() { return *Window().State().Model; }
  QString Path(const QString& name) const { return QDir(Dir()).filePath(name); }

  // A constant, a counter, a courtesy title, a first name following it, and a combination of
  // the first two, which the run reads through the current model: kRecords records to out.csv.
  void BuildModel() {
    TGenModel& m = Model();
    m.SetTableName("T");
    AddConst(m, "A", "x");
    AddCounter(m, "B");
    TColToGenItem& title = m.Cols().Add();
    title.SetColName("T");
    title.SetDBColName("T");
    title.SetColType(ctSex);
    TColToGenItem& first = m.Cols().Add();
    first.SetColName("F");
    first.SetDBColName("F");
    first.SetColType(ctFirstName);
    TColToGenItem& combo = m.Cols().Add();
    combo.SetColName("C");
    combo.SetDBColName("C");
    combo.SetColType(ctCombo);
    static_cast<TCPCombo&>(combo.Param()).SetColnames({"A", "B"});
    m.SetRecNumber(kRecords);
    m.SetSQLFile(Path(QStringLiteral("out.csv")).toStdString());
    Window().GeneratorsTab()->ShowModel();
    ClickTab(2);
    Find<QRadioButton>("rgexportfmt_1")->click();
  }

  // Runs `during` at the first moment the run lets the window work, then presses "Go !".
  void GoWith(std::function<void()> during) {
    QTimer::singleShot(0, Tab(), [this, during = std::move(during)] {
      // Busy, and not yet at the last record.
      RanDuringRun = Tab()->Busy() && !Find<QLabel>("lprog")->text().startsWith(
                                          QStringLiteral("%1/").arg(kRecords));
      during();
    });
    Find<QPushButton>("bbGenerate")->click();
  }

  // Every record of BuildModel's model, whole and in order, whatever happened to the window's
  // model meanwhile.
  void VerifyCompleteFile() {
    QFile file(Path(QStringLiteral("out.csv")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), kRecords + 2);  // title row, records, and nothing after the last CR LF
    QCOMPARE(lines[0], QByteArray("\"A\",\"B\",\"T\",\"F\",\"C\"\r"));
    const QRegularExpression row(
        QStringLiteral("^\"x\",(\\d+),\"(Mr\\.|Mrs\\.|Miss)\",\"[^\"]+\",\"x(\\d+)\"\r$"));
    for (int r = 1; r <= kRecords; ++r) {
      const QRegularExpressionMatch m = row.match(QString::fromLatin1(lines[r]));
      QVERIFY2(m.hasMatch(), lines[r].constData());
      QCOMPARE(m.captured(1).toInt(), r);
      QCOMPARE(m.captured(3).toInt(), r);
    }
    QCOMPARE(Find<QLabel>("lprog")->text(), QStringLiteral("Done - 100%"));
    QVERIFY(Find<QPushButton>("bbGenerate")->isEnabled());
  }

  QStringList Generators() {
    QStringList out;
    auto* list = Find<QListWidget>("lbcols");
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
  }

  bool RanDuringRun = false;
};

// A command of the window, run while "Go !" runs, and what the window shows after it.
struct TCommandCase {
  const char* Name;
  std::function<void(TRunFixture&, TMessageRecorder&, TFileDialogRecorder&)> Command;
  QStringList GeneratorsAfter;
};

// A model file of one constant generator "Other".
void SaveOtherModel(const QString& path) {
  TGenModel other;
  AddConst(other, "Other", "o");
  SaveModelFile(path.toStdString(), other);
}

const std::vector<TCommandCase>& CommandCases() {
  static const std::vector<TCommandCase> cases = {
      {"Delete generator",
       [](TRunFixture& f, TMessageRecorder&, TFileDialogRecorder&) {
         f.Find<QListWidget>("lbcols")->setCurrentRow(0);
         f.Find<QToolButton>("sbDelCol")->click();
         f.Find<QToolButton>("sbDelCol")->click();
       },
       {"T", "F", "C"}},
      {"Clear model",
       [](TRunFixture& f, TMessageRecorder& messages, TFileDialogRecorder&) {
         messages.Answers = {true};
         f.Find<QToolButton>("sbClearCols")->click();
       },
       {}},
      {"Open",
       [](TRunFixture& f, TMessageRecorder&, TFileDialogRecorder& dialogs) {
         SaveOtherModel(f.Path(QStringLiteral("other.model")));
         dialogs.Answer = f.Path(QStringLiteral("other.model"));
         f.Find<QPushButton>("bbModelOpen")->click();
       },
       {"Other"}},
      {"Load selected model",
       [](TRunFixture& f, TMessageRecorder& messages, TFileDialogRecorder&) {
         SaveOtherModel(f.Path(QStringLiteral("other.model")));
         QFile plan(f.Path(QStringLiteral("p.plan")));
         if (!plan.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write the plan");
         plan.write("ORVELA KELVAST PLAN\r\nother.model\r\n");
         plan.close();
         f.Find<TFileNameEdit>("jvFNPlan")->setText(f.Path(QStringLiteral("p.plan")));
         f.Find<QListWidget>("lbPlan")->setCurrentRow(0);
         messages.Answers = {true};
         f.Find<QToolButton>("sbloadplanmodel")->click();
       },
       {"Other"}},
      {"Type change and page edits",
       [](TRunFixture& f, TMessageRecorder&, TFileDialogRecorder&) {
         TGenModel& m = f.Model();
         m.Cols()[0].SetColType(ctInteger);
         static_cast<TCPCombo&>(m.Cols()[4].Param()).SetColnames({"F"});
         // The title page edits the titles of the window's model, not those the run draws from.
         f.Find<QListWidget>("lbcols")->setCurrentRow(2);
         f.Find<QLineEdit>("eSexMister")->setText(QStringLiteral("Dr."));
         f.Find<QLineEdit>("eSexMissis")->setText(QStringLiteral("Dr."));
         f.Find<QLineEdit>("eSexMiss")->setText(QStringLiteral("Dr."));
       },
       {"A", "B", "T", "F", "C"}},
  };
  return cases;
}

}  // namespace

class TRunIsolationTest : public QObject {
  Q_OBJECT

 private slots:
  void commandDuringRunLeavesTheRunAlone_data() {
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < CommandCases().size(); ++i)
      QTest::newRow(CommandCases()[i].Name) << static_cast<int>(i);
  }
  void commandDuringRunLeavesTheRunAlone() {
    QFETCH(int, index);
    const TCommandCase& c = CommandCases()[static_cast<size_t>(index)];
    TMessageRecorder messages;
    TFileDialogRecorder dialogs;
    TRunFixture f;
    f.BuildModel();
    f.GoWith([&] { c.Command(f, messages, dialogs); });
    QVERIFY(f.RanDuringRun);
    f.VerifyCompleteFile();
    QCOMPARE(f.Generators(), c.GeneratorsAfter);
  }

  // The window's title edits reached the window's model and stay there.
  void titleEditsDuringRunStayInTheWindowsModel() {
    TMessageRecorder messages;
    TRunFixture f;
    f.BuildModel();
    f.GoWith([&] {
      f.Find<QListWidget>("lbcols")->setCurrentRow(2);
      f.Find<QLineEdit>("eSexMister")->setText(QStringLiteral("Dr."));
    });
    f.VerifyCompleteFile();
    QCOMPARE(PersonOf(f.Model()).Mister(), std::string("Dr."));
  }

  // Sample is refused while a run goes: the run keeps its word lists and ends "Done".
  void sampleIsRefusedDuringRun() {
    TMessageRecorder messages;
    TRunFixture f;
    f.BuildModel();
    bool sampleEnabled = true;
    f.GoWith([&] {
      auto* sample = f.Find<QPushButton>("sbSample");
      sampleEnabled = sample->isEnabled();
      sample->click();
      f.Tab()->sbSampleClick();
    });
    QVERIFY(!sampleEnabled);
    f.VerifyCompleteFile();
    QCOMPARE(f.Find<QTableWidget>("sgSamp")->rowCount(), 0);
    QCOMPARE(messages.Texts(), QStringList());
    QVERIFY(f.Find<QPushButton>("sbSample")->isEnabled());
  }

  // Go and Execute plan are refused while a run goes.
  void secondRunIsRefusedDuringRun() {
    TMessageRecorder messages;
    TRunFixture f;
    f.BuildModel();
    bool planEnabled = true;
    f.GoWith([&] {
      planEnabled = f.Find<QPushButton>("bbPlanGo")->isEnabled();
      f.Find<QPushButton>("bbPlanGo")->click();
      f.Tab()->bbGenerateClick();
    });
    QVERIFY(!planEnabled);
    f.VerifyCompleteFile();
    QCOMPARE(messages.Texts(), QStringList());
    QVERIFY(f.Find<QPushButton>("bbPlanGo")->isEnabled());
  }

  // A run that fails never reads "Done".
  void failedRunIsNotDone_data() {
    QTest::addColumn<QString>("sqlFile");
    QTest::addColumn<bool>("dictFound");
    QTest::newRow("output folder missing") << "missing/out.csv" << true;
    QTest::newRow("word lists missing") << "out.csv" << false;
  }
  void failedRunIsNotDone() {
    QFETCH(QString, sqlFile);
    QFETCH(bool, dictFound);
    TMessageRecorder messages;
    TRunFixture f;
    f.BuildModel();
    f.Model().SetSQLFile(f.Path(sqlFile).toStdString());
    if (!dictFound) f.Tab()->SetDictFolder(f.Path(QStringLiteral("no-dict")).toStdString());
    f.Find<QPushButton>("bbGenerate")->click();
    QCOMPARE(messages.Shown.size(), 1);
    QCOMPARE(messages.Shown[0].Icon, TMsgIcon::Error);
    QCOMPARE(f.Find<QLabel>("lprog")->text(), QStringLiteral("Failed"));
    QVERIFY(f.Find<QPushButton>("bbGenerate")->isEnabled());
    QVERIFY(f.Find<QPushButton>("sbSample")->isEnabled());
  }
};

KELVAST_UI_TEST(TRunIsolationTest)

}  // namespace kelvast::ui::test

#include "run_isolation_test.moc"
