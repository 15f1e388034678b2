// SPDX-License-Identifier: MIT
// The Generators tab: adding, renaming, retyping, deleting and clearing generators, and the
// options every generator type shares.
#include "core/generators/composite_gens.h"
#include "core/model/gen_model.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/registry.h"
#include "core/generators/temporal_gens.h"
#include "ui/ansi_text.h"
#include "ui/model_state_led.h"
#include "ui/screenshots.h"
#include "ui/ui_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace kelvast::ui::test {

namespace {

// The window with the Generators tab active.
struct TGeneratorsFixture : TWindowFixture {
  TGeneratorsFixture() {
    QTabBar* bar = Find<QTabWidget>("PageControl1")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
  }
  TGenModel& Model() { return *Window().State().Model; }
  TColToGenItem& Gen(int i) { return Model().Cols()[i]; }
  void Add(int times = 1) {
    for (int i = 0; i < times; ++i)
      Find<QToolButton>("sbAddCol")->click();
  }
  void Select(int row) {
    auto* list = Find<QListWidget>("lbcols");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
  }
  void SetType(TColType type) {
    auto* box = Find<QComboBox>("cbGenType");
    box->setCurrentIndex(box->findData(static_cast<int>(type)));
  }
  void TypeName(const QString& text) {
    auto* name = Find<QLineEdit>("eColName");
    name->clear();
    QTest::keyClicks(name, text);
    QTest::keyClick(name, Qt::Key_Return);
  }
  QStringList ListTexts() {
    QStringList out;
    auto* list = Find<QListWidget>("lbcols");
    for (int i = 0; i < list->count(); ++i)
      out << list->item(i)->text();
    return out;
  }
  QStringList ModelNames() {
    QStringList out;
    for (const auto& gen : Model().Cols())
      out << QString::fromStdString(gen->ColName());
    return out;
  }
};

}  // namespace

class TGeneratorsTabTest : public QObject {
  Q_OBJECT

 private slots:
  // In a dark theme the generator list keeps its light background, and with it dark text.
  void generatorListIsReadableInADarkTheme() {
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    TGeneratorsFixture f;
    f.Add(2);
    auto* list = f.Find<QListWidget>("lbcols");
    const QPalette shown = list->palette();
    QApplication::setPalette(saved);
    const auto lightness = [&](QPalette::ColorRole role) { return shown.color(role).lightness(); };
    QVERIFY2(std::abs(lightness(QPalette::Base) - lightness(QPalette::Text)) > 128,
             qPrintable(shown.color(QPalette::Text).name() + QStringLiteral(" on ") +
                        shown.color(QPalette::Base).name()));
  }

  void typeBoxHoldsEveryTypeSortedWithItsOrdinal() {
    TGeneratorsFixture f;
    auto* box = f.Find<QComboBox>("cbGenType");
    QCOMPARE(box->count(), kColTypeCount - 1);
    QSet<int> types;
    for (int i = 0; i < box->count(); ++i) {
      const int t = box->itemData(i).toInt();
      QVERIFY(t > ctnone && t < kColTypeCount);
      types.insert(t);
      QCOMPARE(box->itemText(i), FromAnsi(GeneratorTypeOf(static_cast<TColType>(t)).DisplayName));
      if (i > 0)
        QVERIFY(QString::compare(box->itemText(i - 1), box->itemText(i), Qt::CaseInsensitive) < 0);
    }
    QCOMPARE(types.size(), kColTypeCount - 1);
  }

  void threeAddsGiveNumberedStringGenerators() {
    TGeneratorsFixture f;
    f.Add(3);
    const QStringList names{"Generator 1", "Generator 2", "Generator 3"};
    QCOMPARE(f.ModelNames(), names);
    QCOMPARE(f.ListTexts(), names);
    for (const auto& gen : f.Model().Cols())
      QCOMPARE(gen->ColType(), ctstring);
    QCOMPARE(f.Find<QListWidget>("lbcols")->currentRow(), 2);
    QCOMPARE(f.Window().State().FCurrentItem, &f.Gen(2));
    QCOMPARE(f.Find<QLineEdit>("eColName")->text(), QStringLiteral("Generator 3"));
    QCOMPARE(f.Find<QComboBox>("cbGenType")->currentData().toInt(), int(ctstring));
    QVERIFY(f.Find<QLineEdit>("eColName")->isEnabled());
  }

  // A date generator chosen in the window starts with thirty years, shown on its page; a Float
  // keeps its stored defaults, which draw from 0 to 2,147,483,647.
  void newDateGeneratorsGetThirtyYears() {
    TGeneratorsFixture f;
    f.Add();
    f.SetType(ctDate);
    const auto& date = static_cast<const TCPDate&>(f.Gen(0).Param());
    QCOMPARE(date.MinDate(), EncodeDate(2000, 1, 1));
    QCOMPARE(date.MaxDate(), EncodeDate(2029, 12, 31));
    QCOMPARE(f.Find<QDateEdit>("deDateMaxi")->date(), QDate(2029, 12, 31));
    f.SetType(ctDateTime);
    QCOMPARE(static_cast<const TCPDateTime&>(f.Gen(0).Param()).MinDate(), EncodeDate(2000, 1, 1));
    f.SetType(ctFloat);
    QCOMPARE(static_cast<const TCPFloat&>(f.Gen(0).Param()).MaxValue(), TCPFloat::kDefaultMax);
  }

  void renameRefused_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks only") << "   ";
    QTest::newRow("its own name in another case") << "generator 1";
    QTest::newRow("another generator's name") << "GENERATOR 2";
  }
  void renameRefused() {
    QFETCH(QString, typed);
    TMessageRecorder messages;
    TGeneratorsFixture f;
    f.Add(2);
    f.Select(0);
    f.TypeName(typed);
    QCOMPARE(messages.Shown.size(), 1);
    QCOMPARE(messages.Shown[0].Text,
             QStringLiteral("Invalid name (empty or already existing names are not allowed)"));
    QCOMPARE(messages.Shown[0].Caption, AppTitle());
    QCOMPARE(messages.Shown[0].Icon, TMsgIcon::None);
    const QStringList names{"Generator 1", "Generator 2"};
    QCOMPARE(f.ModelNames(), names);
    QCOMPARE(f.ListTexts(), names);
    QCOMPARE(f.Find<QLineEdit>("eColName")->text(), typed);
  }

  void renameTrimsAndFollowsIntoCombinations() {
    TMessageRecorder messages;
    TGeneratorsFixture f;
    f.Add(3);
    f.SetType(ctCombo);
    auto& combo = dynamic_cast<TCPCombo&>(f.Gen(2).Param());
    combo.SetColnames({"Generator 1", "generator 1", "Generator 2", "Generator 1"});
    f.Model().SetModified(false);

    f.Select(0);
    f.TypeName(QStringLiteral("  Total  "));
    QVERIFY(messages.Shown.isEmpty());
    QCOMPARE(f.ModelNames(), (QStringList{"Total", "Generator 2", "Generator 3"}));
    QCOMPARE(f.ListTexts(), (QStringList{"Total", "Generator 2", "Generator 3"}));
    // Entries spelled in another case stay as they are.
    QCOMPARE(combo.Colnames(),
             (std::vector<std::string>{"Total", "generator 1", "Generator 2", "Total"}));
    QVERIFY(f.Model().Cols().Modified());
  }

  void ctrlFProposesTheTargetFieldAsName() {
    TGeneratorsFixture f;
    f.Add();
    auto* field = f.Find<QComboBox>("eTableField");
    QTest::keyClicks(field->lineEdit(), QStringLiteral(" CUSTOMER_ID "));
    QTest::keyClick(f.Find<QLineEdit>("eColName"), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(f.Find<QLineEdit>("eColName")->text(), QStringLiteral("CUSTOMER_ID"));
    QCOMPARE(f.Gen(0).ColName(), std::string("Generator 1"));
  }

  void typeChangeRestoresTheNewTypesDefaults() {
    TGeneratorsFixture f;
    f.Add();
    TColToGenItem& gen = f.Gen(0);
    const int32_t defaultLength = CreateParams(ctstring)->DataLength();
    gen.Param().SetDataLength(defaultLength + 17);
    f.Find<QCheckBox>("cbAllowNull")->click();
    QVERIFY(gen.Param().AllowNull());

    f.SetType(ctInteger);
    QCOMPARE(gen.ColType(), ctInteger);
    QCOMPARE(f.Find<QStackedWidget>("ntbtype")->currentIndex(), int(ctInteger));
    f.SetType(ctstring);
    QCOMPARE(gen.ColType(), ctstring);
    QCOMPARE(gen.Param().DataLength(), defaultLength);
    QVERIFY(!gen.Param().AllowNull());
    QVERIFY(!f.Find<QCheckBox>("cbAllowNull")->isChecked());
    QVERIFY(!f.Find<QSpinBox>("eNullPercent")->isEnabled());
  }

  void columnReferenceTakesTheModelsDelimiters_data() {
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("strings");
    QTest::addColumn<QString>("expectedNames");
    QTest::addColumn<QString>("expectedStrings");
    QTest::newRow("two characters each") << "[]"
                                         << "\"\""
                                         << "[]"
                                         << "\"\"";
    QTest::newRow("one character reads as two blanks") << "["
                                                       << "''"
                                                       << "  "
                                                       << "''";
  }
  void columnReferenceTakesTheModelsDelimiters() {
    QFETCH(QString, names);
    QFETCH(QString, strings);
    QFETCH(QString, expectedNames);
    QFETCH(QString, expectedStrings);
    TGeneratorsFixture f;
    f.Find<QLineEdit>("eDelimiter")->setText(names);
    f.Find<QLineEdit>("eSDelimiter")->setText(strings);
    f.Add();
    f.SetType(ctColRef);
    const auto& ref = dynamic_cast<const TCPColRef&>(f.Gen(0).Param());
    QCOMPARE(QString::fromStdString(ref.Delimiter()), expectedNames);
    QCOMPARE(QString::fromStdString(ref.StrDelimiter()), expectedStrings);
  }

  void stealthClearsAndLocksTheTargetField() {
    TGeneratorsFixture f;
    f.Add();
    auto* field = f.Find<QComboBox>("eTableField");
    QTest::keyClicks(field->lineEdit(), QStringLiteral("NAME"));
    QCOMPARE(f.Gen(0).DBColName(), std::string("NAME"));

    auto* stealth = f.Find<QCheckBox>("cbStealth");
    stealth->click();
    QVERIFY(f.Gen(0).Param().Stealth());
    QVERIFY(field->currentText().isEmpty());
    QVERIFY(!field->isEnabled());
    QCOMPARE(f.Gen(0).DBColName(), std::string());

    stealth->click();
    QVERIFY(!f.Gen(0).Param().Stealth());
    QVERIFY(field->isEnabled());
    QCOMPARE(f.Gen(0).DBColName(), std::string());
  }

  void sharedOptionsFollowTheShownGenerator() {
    TGeneratorsFixture f;
    f.Add(2);
    f.Find<QCheckBox>("cbAllowNull")->click();
    f.Find<QSpinBox>("eNullPercent")->setValue(35);
    f.Find<QCheckBox>("cbUseExtFile")->click();
    f.Find<QLineEdit>("eExtFile")->setText(QStringLiteral("/data/names.txt"));
    f.Find<QComboBox>("cbCase")->setCurrentIndex(gcUpper);
    const TColParams& p = f.Gen(1).Param();
    QVERIFY(p.AllowNull());
    QCOMPARE(p.NullPercent(), 35);
    QVERIFY(p.UseExternalFile());
    QCOMPARE(p.ExternalFile(), std::string("/data/names.txt"));
    QCOMPARE(p.DataCase(), gcUpper);

    f.Select(0);
    QVERIFY(!f.Find<QCheckBox>("cbAllowNull")->isChecked());
    QVERIFY(!f.Find<QLineEdit>("eExtFile")->isEnabled());
    QCOMPARE(f.Find<QComboBox>("cbCase")->currentIndex(), int(gcNoChange));
    QVERIFY(!f.Gen(0).Param().AllowNull());

    f.Select(1);
    QVERIFY(f.Find<QCheckBox>("cbAllowNull")->isChecked());
    QCOMPARE(f.Find<QSpinBox>("eNullPercent")->value(), 35);
    QVERIFY(f.Find<QSpinBox>("eNullPercent")->isEnabled());
    QCOMPARE(f.Find<QLineEdit>("eExtFile")->text(), QStringLiteral("/data/names.txt"));
    QVERIFY(f.Find<QLineEdit>("eExtFile")->isEnabled());
    QCOMPARE(f.Find<QComboBox>("cbCase")->currentIndex(), int(gcUpper));
  }

  void deleteSelectsTheGeneratorNowAtThatPlace_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<QString>("shown");
    QTest::newRow("first of three")
        << 3 << 0 << QStringList{"Generator 2", "Generator 3"} << "Generator 2";
    QTest::newRow("last of three")
        << 3 << 2 << QStringList{"Generator 1", "Generator 2"} << "Generator 2";
    QTest::newRow("the only one") << 1 << 0 << QStringList{} << "";
  }
  void deleteSelectsTheGeneratorNowAtThatPlace() {
    QFETCH(int, count);
    QFETCH(int, row);
    QFETCH(QStringList, remaining);
    QFETCH(QString, shown);
    TGeneratorsFixture f;
    f.Add(count);
    f.Select(row);
    f.Find<QToolButton>("sbDelCol")->click();
    QCOMPARE(f.ModelNames(), remaining);
    QCOMPARE(f.ListTexts(), remaining);
    auto* name = f.Find<QLineEdit>("eColName");
    QCOMPARE(name->text(), shown);
    QCOMPARE(name->isEnabled(), !shown.isEmpty());
    TColToGenItem* current = f.Window().State().FCurrentItem;
    QCOMPARE(current ? QString::fromStdString(current->ColName()) : QString(), shown);
  }

  void clearModelAsksFirst_data() {
    QTest::addColumn<bool>("answer");
    QTest::newRow("No keeps the model") << false;
    QTest::newRow("Yes empties it") << true;
  }
  void clearModelAsksFirst() {
    QFETCH(bool, answer);
    TMessageRecorder messages;
    TGeneratorsFixture f;
    QTest::keyClicks(f.Find<QLineEdit>("eModelDesc"), QStringLiteral("People"));
    f.Find<QSpinBox>("eRecsToGen")->setValue(5000);
    f.Add(2);
    messages.Answers = {answer};
    f.Find<QToolButton>("sbClearCols")->click();

    QCOMPARE(messages.Shown.size(), 1);
    QCOMPARE(messages.Shown[0].Caption, QStringLiteral("Clear model !"));
    QCOMPARE(messages.Shown[0].Text,
             QStringLiteral("Clear model info and delete all generators ?"));
    QCOMPARE(messages.Shown[0].Icon, TMsgIcon::Warning);
    QVERIFY(!messages.Shown[0].HasOwner);
    ProcessUntilIdle();
    const bool red = f.Find<TModelStateLed>("LedModelState")->IsRed();
    if (!answer) {
      QCOMPARE(f.ModelNames().size(), 2);
      QCOMPARE(f.Find<QLineEdit>("eModelDesc")->text(), QStringLiteral("People"));
      QVERIFY(red);
      return;
    }
    QVERIFY(f.ModelNames().isEmpty());
    QVERIFY(f.ListTexts().isEmpty());
    QVERIFY(f.Find<QLineEdit>("eModelDesc")->text().isEmpty());
    QCOMPARE(f.Find<QSpinBox>("eRecsToGen")->value(), 1);
    QCOMPARE(f.Model().RecNumber(), 1);
    QVERIFY(!f.Window().State().FCurrentItem);
    QVERIFY(!f.Find<QLineEdit>("eColName")->isEnabled());
    QVERIFY(!red);
  }
};

KELVAST_UI_TEST(TGeneratorsTabTest)

}  // namespace kelvast::ui::test

#include "generators_tab_test.moc"
