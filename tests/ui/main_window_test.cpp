// SPDX-License-Identifier: MIT
// The main window: first start, tab changes, the model-state light, the closing question, the
// settings file and the help launcher.
#include "core/files/model_file.h"
#include "core/files/model_json.h"
#include "core/files/plan_file.h"
#include "core/model/gen_model.h"
#include "core/platform/file_io.h"
#include "ui/dialogs/conn_edit_form.h"
#include "ui/file_name_edit.h"
#include "ui/model_state_led.h"
#include "ui/tabs/text_editor_tab.h"
#include "ui/ui_test_support.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace kelvast::ui::test {

namespace {

void ClickTab(TWindowFixture& f, int index) {
  QTabBar* bar = f.Find<QTabWidget>("PageControl1")->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

bool LightIsRed(TWindowFixture& f) {
  ProcessUntilIdle();
  return f.Find<TModelStateLed>("LedModelState")->IsRed();
}

int ScreenDpi() { return qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch()); }

// Receives the URLs the program asks the desktop to open.
class TUrlCatcher : public QObject {
  Q_OBJECT
 public:
  TUrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
  ~TUrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
  QList<QUrl> Opened;
 public slots:
  void Open(const QUrl& url) { Opened << url; }
};

// Every text a user can see or hear of a widget and its children: captions, titles, hints, list
// entries, placeholders.
QStringList VisibleTexts(QWidget* root) {
  QStringList texts;
  QList<QWidget*> widgets = root->findChildren<QWidget*>();
  widgets.prepend(root);
  for (QWidget* w : widgets) {
    texts << w->windowTitle() << w->toolTip() << w->statusTip() << w->accessibleName();
    if (auto* label = qobject_cast<QLabel*>(w)) texts << label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) texts << button->text();
    if (auto* group = qobject_cast<QGroupBox*>(w)) texts << group->title();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) texts << edit->placeholderText();
    if (auto* combo = qobject_cast<QComboBox*>(w))
      for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    if (auto* tabs = qobject_cast<QTabWidget*>(w))
      for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i) << tabs->tabToolTip(i);
  }
  texts.removeAll(QString());
  return texts;
}

}  // namespace

class TMainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void firstStart() {
    TMessageRecorder messages;
    TWindowFixture f;
    QCOMPARE(f.Find<QTabWidget>("PageControl1")->currentIndex(), 0);
    QVERIFY(f.Find<QPushButton>("bbModelOpen")->isHidden());
    QVERIFY(f.Find<QPushButton>("bbModelSave")->isHidden());
    QVERIFY(!f.Find<QCheckBox>("cbHint")->isChecked());
    QVERIFY(!LightIsRed(f));
    QCOMPARE(f.Find<QLabel>("lVersion")->text(), QStringLiteral("Version " KELVAST_VERSION));
    QVERIFY(messages.Shown.isEmpty());
  }

  void tabSwitchShowsModelButtonsOnGeneratorsOnly_data() {
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<bool>("visible");
    QTest::newRow("Generators") << QList<int>{1} << true;
    QTest::newRow("Text file editor") << QList<int>{3} << false;
    QTest::newRow("Generators, then About") << QList<int>{1, 5} << false;
    QTest::newRow("About, then Generators") << QList<int>{5, 1} << true;
  }
  void tabSwitchShowsModelButtonsOnGeneratorsOnly() {
    QFETCH(QList<int>, clicks);
    QFETCH(bool, visible);
    TWindowFixture f;
    for (int tab : clicks)
      ClickTab(f, tab);
    QCOMPARE(f.Find<QPushButton>("bbModelOpen")->isVisible(), visible);
    QCOMPARE(f.Find<QPushButton>("bbModelSave")->isVisible(), visible);
  }

  void tabChangeByProgramLeavesModelButtons() {
    TWindowFixture f;
    f.Window().ShowTabByProgram(1);
    QCOMPARE(f.Find<QTabWidget>("PageControl1")->currentIndex(), 1);
    QVERIFY(f.Find<QPushButton>("bbModelSave")->isHidden());
  }

  void descriptionEditTurnsLightRedButAsksNothingAtClose() {
    TMessageRecorder messages;
    TWindowFixture f;
    ClickTab(f, 1);
    QVERIFY(!LightIsRed(f));
    QTest::keyClicks(f.Find<QLineEdit>("eModelDesc"), QStringLiteral("People"));
    QCOMPARE(f.Window().State().Model->Description(), std::string("People"));
    QVERIFY(LightIsRed(f));
    QVERIFY(f.Window().close());
    QVERIFY(messages.Shown.isEmpty());
  }

  void closingAfterAddingGeneratorAsks() {
    TMessageRecorder messages;
    TWindowFixture f;
    ClickTab(f, 1);
    f.Find<QToolButton>("sbAddCol")->click();
    QVERIFY(LightIsRed(f));

    messages.Answers = {false};
    QVERIFY(!f.Window().close());
    QCOMPARE(messages.Shown.size(), 1);
    const TMessageRecorder::TShown& asked = messages.Shown[0];
    QVERIFY(asked.YesNo);
    QVERIFY(!asked.HasOwner);
    QCOMPARE(asked.Icon, TMsgIcon::Warning);
    QCOMPARE(asked.Caption, QStringLiteral("Exit application ?"));
    QCOMPARE(asked.Text, QStringLiteral("Model has been modified.\r\nYou will lose changes !\r\n"
                                        "Quit application anymore ?"));
    QVERIFY(f.Window().isVisible());
    QCOMPARE(f.Window().State().Model->Cols().Count(), 1);

    messages.Answers = {true};
    QVERIFY(f.Window().close());
  }

  void exitButtonClosesLikeTheTitleBar() {
    TMessageRecorder messages;
    TWindowFixture f;
    ClickTab(f, 1);
    f.Find<QToolButton>("sbAddCol")->click();
    messages.Answers = {true};
    f.Find<QPushButton>("BitBtn1")->click();
    QCOMPARE(messages.Shown.size(), 1);
    QVERIFY(!f.Window().isVisible());
  }

  void recordCountClampedAtTabSwitch_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::newRow("0 becomes 1") << 0 << 1;
    QTest::newRow("negative becomes 1") << -5 << 1;
    QTest::newRow("in range") << 1234 << 1234;
    QTest::newRow("above the maximum") << 20'000'000 << 10'000'000;
  }
  void recordCountClampedAtTabSwitch() {
    QFETCH(int, stored);
    QFETCH(int, shown);
    TWindowFixture f;
    f.Window().State().Model->SetRecNumber(stored);
    ClickTab(f, 1);
    QCOMPARE(f.Find<QSpinBox>("eRecsToGen")->value(), shown);
    QCOMPARE(f.Window().State().Model->RecNumber(), shown);
    // The record count is not a change worth the light.
    QVERIFY(!LightIsRed(f));
  }

  void oneCharacterDelimiterBecomesTwoBlanksAtTabSwitch() {
    TWindowFixture f;
    ClickTab(f, 1);
    auto* names = f.Find<QLineEdit>("eDelimiter");
    names->setText(QStringLiteral("["));
    QCOMPARE(f.Window().State().Model->StoredDelimiter(), std::string("["));
    ClickTab(f, 0);
    QCOMPARE(names->text(), QStringLiteral("  "));
    QCOMPARE(f.Window().State().Model->StoredDelimiter(), std::string("  "));
  }

  void settingsKeysWrittenAtClose_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("FormVersion") << "FormVersion"
                                 << "0";
    QTest::newRow("CONNECTION") << "CONNECTION"
                                << "";
    QTest::newRow("CONNECTION_FROM_FILE") << "CONNECTION_FROM_FILE"
                                          << "0";
    QTest::newRow("ShowCmd") << "ShowCmd"
                             << "1";
    QTest::newRow("Flags") << "Flags"
                           << "0";
    QTest::newRow("PixelsPerInch") << "PixelsPerInch" << QString::number(ScreenDpi());
    QTest::newRow("MinMaxPos") << "MinMaxPos"
                               << "\"-1,-1,-1,-1\"";
    QTest::newRow("NormPos") << "NormPos"
                             << "\"-?\\d+,-?\\d+,\\d+,\\d+\"";
    QTest::newRow("sd1_InitialDir") << "sd1_InitialDir"
                                    << "<dir>";
    QTest::newRow("cbHint_Checked") << "cbHint_Checked"
                                    << "TRUE";
    QTest::newRow("cbTransaction_Checked") << "cbTransaction_Checked"
                                           << "FALSE";
    QTest::newRow("sdModel_InitialDir") << "sdModel_InitialDir"
                                        << "";
    QTest::newRow("opModel_InitialDir") << "opModel_InitialDir"
                                        << "";
    QTest::newRow("sdplan_InitialDir") << "sdplan_InitialDir"
                                       << "";
    QTest::newRow("jvFNPlan_InitialDir") << "jvFNPlan_InitialDir"
                                         << "";
    QTest::newRow("sdtext_InitialDir") << "sdtext_InitialDir"
                                       << "/texts";
    QTest::newRow("feTextEditor_InitialDir") << "feTextEditor_InitialDir"
                                             << "/texts";
    QTest::newRow("eScriptName_InitialDir") << "eScriptName_InitialDir"
                                            << "/out";
    QTest::newRow("eExtFile_InitialDir") << "eExtFile_InitialDir"
                                         << "";
  }
  void settingsKeysWrittenAtClose() {
    QFETCH(QString, key);
    QFETCH(QString, pattern);
    // One window's close serves every row.
    static QString dir;
    static const QMap<QString, QString> written = [] {
      TWindowFixture f;
      dir = f.Dir();
      f.Find<QCheckBox>("cbHint")->click();
      f.Find<QCheckBox>("cbTransaction")->click();
      f.Find<TFileNameEdit>("feTextEditor")->setText(QStringLiteral("/texts/notes.txt"));
      f.Find<TFileNameEdit>("eScriptName")->setText(QStringLiteral("/out/data.csv"));
      f.Window().close();
      return IniSection(f.SettingsFile());
    }();
    QVERIFY2(written.contains(key), qPrintable(key));
    const QString expected = pattern == u"<dir>" ? QRegularExpression::escape(dir) : pattern;
    QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(expected))
                 .match(written.value(key))
                 .hasMatch(),
             qPrintable(key + u'=' + written.value(key)));
  }

  void settingsRestoredAtFirstShow_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("hints");
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("textFolder");
    QTest::addColumn<QPoint>("position");
    const QByteArray dpi = QByteArray::number(ScreenDpi());
    QTest::newRow("no file") << QByteArray() << false << false << "" << QPoint(-1, -1);
    QTest::newRow("YES and 1") << QByteArray("[FMain]\ncbHint_Checked=YES\nFrenchHelp=1\n") << true
                               << true << "" << QPoint(-1, -1);
    QTest::newRow("n and 0") << QByteArray("[FMain]\ncbHint_Checked=n\nFrenchHelp=0\n") << false
                             << false << "" << QPoint(-1, -1);
    QTest::newRow("unknown word keeps the default")
        << QByteArray("[FMain]\ncbHint_Checked=maybe\n") << false << false << "" << QPoint(-1, -1);
    QTest::newRow("folder and position")
        << QByteArray("[FMain]\nfeTextEditor_InitialDir=/data/in\nPixelsPerInch=") + dpi +
               "\nNormPos=\"40,50,800,600\"\n"
        << false << false << "/data/in" << QPoint(40, 50);
    QTest::newRow("position from another resolution is ignored")
        << QByteArray("[FMain]\nPixelsPerInch=") + QByteArray::number(ScreenDpi() + 24) +
               "\nNormPos=\"40,50,800,600\"\n"
        << false << false << "" << QPoint(-1, -1);
    QTest::newRow("negative form version skips the restore")
        << QByteArray("[FMain]\nFormVersion=-1\ncbHint_Checked=TRUE\nFrenchHelp=1\n") << false
        << false << "" << QPoint(-1, -1);
  }
  void settingsRestoredAtFirstShow() {
    QFETCH(QByteArray, ini);
    QFETCH(bool, hints);
    QFETCH(bool, french);
    QFETCH(QString, textFolder);
    QFETCH(QPoint, position);
    TWindowFixture f(ini);
    QCOMPARE(f.Find<QCheckBox>("cbHint")->isChecked(), hints);
    QCOMPARE(f.Find<QCheckBox>("cbFrenchHelp")->isChecked(), french);
    QCOMPARE(f.Find<TFileNameEdit>("feTextEditor")->InitialDir(), textFolder);
    if (position != QPoint(-1, -1))
      QCOMPARE(f.Window().pos(), position);
    else
      QVERIFY(f.Window().pos() != QPoint(40, 50));
  }

  // The script's transaction is on by default and follows the settings file.
  void transactionSettingRestored() {
    QCOMPARE(TWindowFixture().Find<QCheckBox>("cbTransaction")->isChecked(), true);
    TWindowFixture off(QByteArray("[FMain]\ncbTransaction_Checked=FALSE\n"));
    QCOMPARE(off.Find<QCheckBox>("cbTransaction")->isChecked(), false);
  }

  // "kelvast FILE": a plan shows on the plan tab, a model or its JSON form on the Generators tab.
  void openFileNamedOnTheCommandLine_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tab");
    QTest::newRow("model") << "people.model" << 1;
    QTest::newRow("JSON form") << "people.json" << 1;
    QTest::newRow("plan") << "nightly.plan" << 4;
    QTest::newRow("plan, upper-case extension") << "NIGHTLY.PLAN" << 4;
  }
  void openFileNamedOnTheCommandLine() {
    QFETCH(QString, name);
    QFETCH(int, tab);
    TMessageRecorder messages;
    TWindowFixture f;
    TGenModel model;
    model.SetTableName("people");
    const QString path = QDir(f.Dir()).filePath(name);
    if (name.endsWith(QStringLiteral(".json")))
      WriteWholeFile(path.toStdString(), ModelToJson(model));
    else if (name.endsWith(QStringLiteral(".model")))
      SaveModelFile(path.toStdString(), model);
    else
      WritePlanFile(path.toStdString(), {"a.model", "b.model"});
    f.Window().OpenFile(path);
    QVERIFY2(messages.Shown.isEmpty(), qPrintable(messages.Shown.value(0).Text));
    if (tab == 4) {
      QCOMPARE(f.Find<QTabWidget>("PageControl1")->currentIndex(), 4);
      QCOMPARE(f.Find<QListWidget>("lbPlan")->count(), 2);
    } else {
      QCOMPARE(f.Find<QLineEdit>("eTableName")->text(), QStringLiteral("people"));
    }
  }

  // The program speaks of what it uses on Linux: ODBC and data source files, never the Windows
  // database layer or its link files.
  void captionsNameOdbc() {
    TWindowFixture f;
    TConnEditForm editor(&f.Window(), f.Dir());
    const QRegularExpression windowsLayer(QStringLiteral("ole ?db|data ?link|\\.udl"),
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList texts = VisibleTexts(&f.Window()) + VisibleTexts(&editor);
    QVERIFY(texts.size() > 50);
    for (const QString& text : texts) QVERIFY2(!text.contains(windowsLayer), qPrintable(text));
    QCOMPARE(editor.windowTitle(), QStringLiteral("ODBC Data Connection Editor"));
  }

  void helpOpensTheLanguageFileOrSaysItIsMissing_data() {
    QTest::addColumn<bool>("french");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("opened");
    // "guide" stands for the user guide beside the program, "installed guide" for the one under
    // the installation prefix.
    QTest::newRow("English, missing") << false << QStringList{} << "";
    QTest::newRow("French, only English present") << true << QStringList{"US"} << "";
    QTest::newRow("English, present") << false << QStringList{"US", "FR"} << "US";
    QTest::newRow("French, present") << true << QStringList{"US", "FR"} << "FR";
    QTest::newRow("no e-book, guide") << false << QStringList{"guide"} << "guide";
    QTest::newRow("French, no e-book, installed guide")
        << true << QStringList{"installed guide"} << "installed guide";
    QTest::newRow("e-book before guide") << false << QStringList{"US", "guide"} << "US";
  }
  void helpOpensTheLanguageFileOrSaysItIsMissing() {
    QFETCH(bool, french);
    QFETCH(QStringList, present);
    QFETCH(QString, opened);
    TMessageRecorder messages;
    TUrlCatcher urls;
    TWindowFixture f;
    // The program's folder is a subfolder, so that a guide under the prefix has a place.
    const QString appDir = f.Dir();
    const auto fileOf = [&](const QString& what) {
      if (what == u"guide") return appDir + QStringLiteral("/help/index.html");
      if (what == u"installed guide")
        return QDir::cleanPath(appDir + QStringLiteral("/../share/doc/kelvast/help/index.html"));
      return appDir + QStringLiteral("/Help/Kelvast_Help_%1.html").arg(what);
    };
    for (const QString& what : present) {
      const QString path = fileOf(what);
      QVERIFY(QDir().mkpath(QFileInfo(path).path()));
      QFile help(path);
      QVERIFY(help.open(QIODevice::WriteOnly));
    }
    if (french) {
      f.Find<QCheckBox>("cbFrenchHelp")->click();
      // Written at once, not at close.
      QCOMPARE(IniSection(f.SettingsFile()).value(QStringLiteral("FrenchHelp")),
               QStringLiteral("1"));
    }
    f.Find<QPushButton>("bbHelp")->click();

    if (opened.isEmpty()) {
      QVERIFY(urls.Opened.isEmpty());
      QCOMPARE(messages.Shown.size(), 1);
      QCOMPARE(messages.Shown[0].Text, QStringLiteral("Kelvast e-book help file is missing !"));
      QCOMPARE(messages.Shown[0].Caption, AppTitle());
      QCOMPARE(messages.Shown[0].Icon, TMsgIcon::None);
      QVERIFY(!messages.Shown[0].YesNo);
    } else {
      QVERIFY(messages.Shown.isEmpty());
      QCOMPARE(urls.Opened.size(), 1);
      QCOMPARE(urls.Opened[0].toLocalFile(), fileOf(opened));
    }
  }
};

KELVAST_UI_TEST(TMainWindowTest)

}  // namespace kelvast::ui::test

#include "main_window_test.moc"
