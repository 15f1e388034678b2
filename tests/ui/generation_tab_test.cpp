// SPDX-License-Identifier: MIT
// The Generation tab: runs of the current model to files, the messages and the replace question,
// the progress label, the sample grid and the format chosen from the output file's extension.
#include "core/output/output_fixture.h"
#include "ui/tabs/generation_tab.h"
#include "core/generators/temporal_gens.h"
#include "ui/locale_format.h"
#include "ui/title_grid.h"
#include "ui/ui_test_support.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include "ui/tabs/generation_tab.h"
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QHeaderView>
#include <QTableWidget>

namespace kelvast::ui::test {

namespace {

using kelvast::test::AddConst;
using kelvast::test::AddCounter;

struct TGenerationFixture : TWindowFixture {
  TGenerationFixture() {
    ClickTab(2);
    Find<TGenerationTab>("TabSheet3")->SetDictFolder(SmallDictFolder());
  }
  void ClickTab(int index) {
    QTabBar* bar = Find<QTabWidget>("PageControl1")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  }
  TGenModel& Model() { return *Window().State().Model; }
  // Table T with a constant "x" and a counter, three records, written to `file` in the folder.
  void BuildModel(const QString& file, int records = 3) {
    Model().SetTableName("T");
    AddConst(Model(), "A", "x");
    AddCounter(Model(), "B");
    Model().SetRecNumber(records);
    Model().SetSQLFile(file.isEmpty() ? std::string() : Path(file).toStdString());
  }
  void ChooseFormat(int index) {
    Find<QRadioButton>(QStringLiteral("rgexportfmt_%1").arg(index).toLatin1().constData())
        ->click();
  }
  void Go() { Find<QPushButton>("bbGenerate")->click(); }
  QString Progress() { return Find<QLabel>("lprog")->text(); }
  QString Path(const QString& name) const { return QDir(Dir()).filePath(name); }
};

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    throw std::runtime_error("cannot write the test file");
}

}  // namespace

class TGenerationTabTest : public QObject {
  Q_OBJECT

 private slots:
  void runWritesTheChosenFormat_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("sqlFile");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::newRow("SQL script") << 0 << "out.sql" << "out.sql"
                                << QByteArrayList{"INSERT INTO 'T' ('A', 'B') VALUES ('x', 1);\r\n",
                                                  "INSERT INTO 'T' ('A', 'B') VALUES ('x', 3);\r\n"};
    QTest::newRow("CSV without extension") << 1 << "out" << "out.csv"
                                           << QByteArrayList{"\"A\",\"B\"\r\n\"x\",1\r\n\"x\",2\r\n"
                                                             "\"x\",3\r\n"};
    QTest::newRow("XML replaces .txt") << 2 << "out.txt" << "out.xml"
                                       << QByteArrayList{"<?xml", "<RECORD><ROW A=\"x\" B=\"1\"/></RECORD>\r\n",
                                                   "<RECORD><ROW A=\"x\" B=\"3\"/></RECORD>\r\n"
                                                   "</RECORDS>\r\n"};
  }
  void runWritesTheChosenFormat() {
    QFETCH(int, format);
    QFETCH(QString, sqlFile);
    QFETCH(QString, written);
    QFETCH(QByteArrayList, lines);
    TMessageRecorder messages;
    TGenerationFixture f;
    f.BuildModel(sqlFile);
    f.ChooseFormat(format);
    f.Go();
    QCOMPARE(messages.Texts(), QStringList());
    const QByteArray out = ReadBytes(f.Path(written));
    for (const QByteArray& line : lines)
      QVERIFY2(out.contains(line), out.constData());
    QCOMPARE(f.Progress(), QStringLiteral("Done - 100%"));
    QVERIFY(f.Find<QPushButton>("bbGenerate")->isEnabled());
    QVERIFY(f.Find<QProgressBar>("jvsp")->isHidden());
    QVERIFY(f.Find<QWidget>("pDBError")->isHidden());
  }

  // The encoding box decides the file's bytes and the XML declaration.
  void encodingChoiceReachesTheFile() {
    TMessageRecorder messages;
    TGenerationFixture f;
    f.BuildModel(QStringLiteral("enc"));
    static_cast<TCPConst&>(f.Model().Cols()[0].Param()).SetConstValue("caf\xE9");
    auto* box = f.Find<QComboBox>("cbEncoding");
    QCOMPARE(box->currentText(), QStringLiteral("Windows-1252"));
    f.ChooseFormat(1);
    f.Go();
    QVERIFY(ReadBytes(f.Path(QStringLiteral("enc.csv"))).contains("\"caf\xE9\""));
    box->setCurrentIndex(box->findText(QStringLiteral("UTF-8")));
    QFile::remove(f.Path(QStringLiteral("enc.csv")));
    f.Go();
    QVERIFY(ReadBytes(f.Path(QStringLiteral("enc.csv"))).contains("\"caf\xC3\xA9\""));
    f.ChooseFormat(2);
    f.Go();
    QVERIFY(ReadBytes(f.Path(QStringLiteral("enc.xml"))).startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\""));
    QCOMPARE(messages.Texts(), QStringList());
  }

  void runStopsWithAMessage_data() {
    QTest::addColumn<bool>("columns");
    QTest::addColumn<QString>("sqlFile");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("progress");
    QTest::newRow("no generator") << false << "out.sql" << 0
                                  << "There's no column to export..." << QString();
    QTest::newRow("blank output file") << true << "" << 1 << "Please specify an output file name!"
                                       << QString();
    // The direct insert has got past the checks: its clean-up runs, and says it failed.
    QTest::newRow("direct insert without connection")
        << true << "" << 3 << "There's no active connection..." << "Failed";
  }
  void runStopsWithAMessage() {
    QFETCH(bool, columns);
    QFETCH(QString, sqlFile);
    QFETCH(int, format);
    QFETCH(QString, message);
    QFETCH(QString, progress);
    TMessageRecorder messages;
    TGenerationFixture f;
    if (columns) f.BuildModel(sqlFile);
    else f.Model().SetSQLFile(f.Path(sqlFile).toStdString());
    f.ChooseFormat(format);
    f.Go();
    QCOMPARE(messages.Texts(), QStringList{message});
    QCOMPARE(f.Progress(), progress);
    QVERIFY(f.Find<QPushButton>("bbGenerate")->isEnabled());
    QCOMPARE(QDir(f.Dir()).entryList({QStringLiteral("out*")}, QDir::Files), QStringList());
  }

  // A unique key without room for the records asked: the usual error box, and no file.
  void runRefusesAUniqueKeyWithoutRoom() {
    TMessageRecorder messages;
    TGenerationFixture f;
    f.BuildModel("out.csv");
    auto& counter = static_cast<TCPIncremental&>(f.Model().Cols()[1].Param());
    counter.SetStep(0);
    counter.SetUnique(1);
    f.ChooseFormat(1);
    f.Go();
    QCOMPARE(messages.Texts(), QStringList{"B: 3 unique values asked, 1 possible (0)"});
    QVERIFY(f.Find<QPushButton>("bbGenerate")->isEnabled());
    QCOMPARE(QDir(f.Dir()).entryList({QStringLiteral("out*")}, QDir::Files), QStringList());
  }

  // Files take the format's own separators and English names whatever the desktop's locale:
  // under German settings "mm/dd/yyyy" still writes 01/16/2025, in every file format.
  void filesIgnoreTheDesktopLocale_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("written");
    QTest::newRow("SQL script") << 0 << "de.sql";
    QTest::newRow("CSV") << 1 << "de.csv";
    QTest::newRow("XML") << 2 << "de.xml";
  }
  void filesIgnoreTheDesktopLocale() {
    QFETCH(int, format);
    QFETCH(QString, written);
    const TFormatSettings saved = FormatSettings();
    FormatSettings() = FormatSettingsOf(QLocale(QLocale::German, QLocale::Germany));
    TMessageRecorder messages;
    TGenerationFixture f;
    f.Model().SetTableName("T");
    for (const char* pattern : {"mm/dd/yyyy", "dddd d mmmm hh:nn"}) {
      TColToGenItem& item = f.Model().Cols().Add();
      item.SetColName(pattern);
      item.SetDBColName(pattern[0] == 'm' ? "D" : "N");
      item.SetColType(ctDate);
      auto& date = static_cast<TCPDate&>(item.Param());
      date.SetMinDate(EncodeDate(2025, 1, 16));
      date.SetMaxDate(EncodeDate(2025, 1, 16));
      date.SetFormat(pattern);
    }
    TColToGenItem& real = f.Model().Cols().Add();
    real.SetDBColName("F");
    real.SetColType(ctFloat);
    static_cast<TCPFloat&>(real.Param()).SetMinValue(1.5);
    static_cast<TCPFloat&>(real.Param()).SetMaxValue(1.5);
    f.Model().SetRecNumber(2);
    f.Model().SetSQLFile(f.Path(QStringLiteral("de")).toStdString());
    f.ChooseFormat(format);
    f.Go();
    const QByteArray out = ReadBytes(f.Path(written));
    const TFormatSettings german = FormatSettings();
    FormatSettings() = saved;
    QCOMPARE(messages.Texts(), QStringList());
    QVERIFY2(out.contains("01/16/2025"), out.constData());
    QVERIFY2(out.contains("Thursday 16 January 00:00"), out.constData());
    QVERIFY2(out.contains("1.5"), out.constData());
    QVERIFY2(!out.contains("01.16.2025") && !out.contains("Januar ") && !out.contains("1,5"),
             out.constData());
    // The window's own settings are the locale's again once the run is over.
    QCOMPARE(german.DateSeparator, '.');
  }

  void replaceQuestion_data() {
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("No keeps the file") << false << false;
    QTest::newRow("Yes truncates it") << true << true;
  }
  void replaceQuestion() {
    QFETCH(bool, answer);
    QFETCH(bool, replaced);
    TMessageRecorder messages;
    messages.Answers = {answer};
    TGenerationFixture f;
    f.BuildModel(QStringLiteral("out.csv"), 1);
    const QString path = f.Path(QStringLiteral("out.csv"));
    const QByteArray old("old content that is longer than the new file\r\n");
    WriteBytes(path, old);
    f.ChooseFormat(1);
    f.Go();
    QCOMPARE(messages.Shown.size(), 1);
    const TMessageRecorder::TShown& asked = messages.Shown[0];
    QVERIFY(asked.YesNo);
    QCOMPARE(asked.Icon, TMsgIcon::Question);
    QCOMPARE(asked.Caption, QStringLiteral("Replace existing file ?"));
    QCOMPARE(asked.Text, QStringLiteral("\"%1\" already exists.\nThe next operation will REPLACE "
                                        "data by the new ones.\nDo you want to replace existing "
                                        "file ?")
                             .arg(path));
    QCOMPARE(ReadBytes(path), replaced ? QByteArray("\"A\",\"B\"\r\n\"x\",1\r\n") : old);
    QCOMPARE(f.Progress(), replaced ? QStringLiteral("Done - 100%") : QString());
  }

  void progressText_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<qint64>("record");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QString>("text");
    QTest::newRow("point") << "en_US" << qint64(37) << qint64(200) << "37/200 (18.50)";
    QTest::newRow("comma") << "de_DE" << qint64(37) << qint64(200) << "37/200 (18,50)";
    QTest::newRow("last record") << "en_US" << qint64(3) << qint64(3) << "3/3 (100.00)";
    QTest::newRow("under one percent") << "en_US" << qint64(1) << qint64(3000) << "1/3000 (0.03)";
  }
  void progressText() {
    QFETCH(QString, locale);
    QFETCH(qint64, record);
    QFETCH(qint64, total);
    QFETCH(QString, text);
    const QLocale saved;
    QLocale::setDefault(QLocale(locale));
    const QString shown = ProgressText(record, total);
    QLocale::setDefault(saved);
    QCOMPARE(shown, text);
  }

  void insertProgressShowsRowsRateAndTimeLeft() {
    // A direct insert's rows reach the table while they are made: the label follows the rows in
    // the table, with their rate and the time left, and the records made do not overwrite it.
    TGenerationFixture f;
    TGenerationObserver observer(*f.Find<TGenerationTab>("TabSheet3"));
    observer.InsertProgress(0, 200);
    QCOMPARE(f.Progress(), QStringLiteral("Writing to table..."));
    QTest::qWait(20);
    observer.InsertProgress(50, 200);
    const QString shown = f.Progress();
    QVERIFY2(shown.startsWith(QStringLiteral("Writing to table... 50/200 (25")), qPrintable(shown));
    QVERIFY2(shown.contains(QStringLiteral(" rows/s ")) && shown.endsWith(QStringLiteral(" s left")),
             qPrintable(shown));
    observer.Progress(200, 200);
    QCOMPARE(f.Progress(), shown);
    observer.Finished();
    QCOMPARE(f.Progress(), QStringLiteral("Done - 100%"));
  }

  void sampleShowsTenRowsAndStealthInParentheses() {
    TMessageRecorder messages;
    TGenerationFixture f;
    AddConst(f.Model(), "Hidden", "h").Param().SetStealth(true);
    AddConst(f.Model(), "A", "x");
    AddConst(f.Model(), "NoField", "y").SetDBColName(" ");
    f.Find<QPushButton>("sbSample")->click();
    auto* grid = f.Find<QTableWidget>("sgSamp");
    // The titles are the grid's header views, so they stay while the values scroll.
    QCOMPARE(grid->rowCount(), 10);
    QCOMPARE(grid->columnCount(), 3);
    using TRow = std::vector<std::string>;
    const std::vector<TRow> rows = TitleGridRows(grid);
    QCOMPARE(rows.size(), size_t{11});
    QVERIFY(rows[0] == (TRow{"", "(Hidden)", "A", "<Missing!>"}));
    QVERIFY(rows[10] == (TRow{"10", "h", "x", "y"}));
    QCOMPARE(messages.Texts(), QStringList());
  }

  // Both title grids show their titles as bold header views of one row height, in the palette's
  // colours; the cells keep the grid's own font.
  void titleGridsLookAlike() {
    TGenerationFixture f;
    AddConst(f.Model(), "A", "x");
    f.Find<QPushButton>("sbSample")->click();
    auto* sample = f.Find<QTableWidget>("sgSamp");
    auto* fields = f.Find<QTableWidget>("sg1");
    for (QTableWidget* grid : {sample, fields}) {
      QVERIFY(!grid->horizontalHeader()->isHidden());
      QVERIFY(!grid->verticalHeader()->isHidden());
      QVERIFY(grid->horizontalHeader()->font().bold());
      QVERIFY(grid->verticalHeader()->font().bold());
      QVERIFY(!grid->font().bold());
      QVERIFY(grid->verticalHeader()->defaultSectionSize() >=
              QFontMetrics(grid->verticalHeader()->font()).height());
    }
    QCOMPARE(sample->verticalHeader()->defaultSectionSize(),
             fields->verticalHeader()->defaultSectionSize());
    QCOMPARE(sample->verticalHeader()->sectionSize(0), sample->verticalHeader()->defaultSectionSize());
  }

  void tabSwitchChoosesTheFormat_data() {
    QTest::addColumn<QString>("sqlFile");
    QTest::addColumn<int>("format");
    QTest::newRow("csv") << "data.csv" << 1;
    QTest::newRow("mixed case xml") << "data.Xml" << 2;
    QTest::newRow("sql in a dotted folder") << "/a.b/out.sql" << 0;
    QTest::newRow("other extension") << "report.txt" << 3;
    QTest::newRow("dot in the folder only") << "/a.csv/out" << 3;
    QTest::newRow("empty") << "" << 3;
  }
  void tabSwitchChoosesTheFormat() {
    QFETCH(QString, sqlFile);
    QFETCH(int, format);
    TGenerationFixture f;
    f.ChooseFormat(format == 0 ? 1 : 0);
    f.ClickTab(1);
    f.Model().SetSQLFile(sqlFile.toStdString());
    f.ClickTab(2);
    QVERIFY(f.Find<QRadioButton>(QStringLiteral("rgexportfmt_%1").arg(format).toLatin1().constData())
                ->isChecked());
  }
};

KELVAST_UI_TEST(TGenerationTabTest)

}  // namespace kelvast::ui::test

#include "generation_tab_test.moc"
