// SPDX-License-Identifier: MIT
// The parameter pages: which page shows, what it loads, what its handlers store and warn.

#include "core/generators/composite_gens.h"
#include "core/generators/dictionary_gens.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/person_gens.h"
#include "core/generators/string_gens.h"
#include "core/generators/temporal_gens.h"
#include "core/model/gen_model.h"
#include "pages_test_support.h"
#include "param_page_cases.h"
#include "ui/ansi_text.h"
#include "ui/param_pages/float_edit.h"
#include "ui/param_pages/page_screenshots.h"
#include "ui/param_pages/param_page_set.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <cmath>

using namespace kelvast;
using namespace kelvast::ui;
using namespace kelvast::ui::test;

namespace {

double TimeOfDayNow() {
  const QTime now = QTime::currentTime();
  return now.msecsSinceStartOfDay() / 86400000.0;
}

}  // namespace

class TParamPagesTest : public QObject {
  Q_OBJECT

 private:
  TUiState FState;
  std::unique_ptr<TParamPageSet> FPages;
  std::unique_ptr<TMessageCapture> FCapture;

  TColToGenItem& AddGenerator(TColType type, const std::string& name) {
    TColToGenItem& item = FState.Model->Cols().Add();
    item.SetColName(name);
    item.SetColType(type);
    return item;
  }

  // As the generator list does it: the shown generator becomes current, then its page loads.
  void Show(TColToGenItem& item) {
    FState.FCurrentItem = &item;
    FPages->ShowParameters(&item);
  }

  template <class T = QWidget>
  T* Control(const char* name) const {
    return FPages->findChild<T*>(QString::fromLatin1(name));
  }

  QStringList MessageTexts() const {
    QStringList texts;
    for (const auto& message : FCapture->Messages.Shown)
      texts << message.Text;
    return texts;
  }

 private slots:
  void init() {
    FState.Model = std::make_unique<TGenModel>();
    FState.FCurrentItem = nullptr;
    FPages = std::make_unique<TParamPageSet>(FState);
    FPages->show();
    FCapture = std::make_unique<TMessageCapture>();
  }

  void cleanup() {
    FCapture.reset();
    FPages.reset();
    FState.FCurrentItem = nullptr;
    FState.Model.reset();
  }

  void pageFollowsType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("header");
    const char* const pages[][2] = {
        {"none", "No parameters"},
        {"String", "String generator"},
        {"FirstName", "First name generator"},
        {"LastName", "Last name generator"},
        {"FirstLastName", "First and Last Name generator"},
        {"Dictionary word", "Dictionary word generator"},
        {"Memo", "Memo generator"},
        {"Zip", "Zip code generator"},
        {"City", "City name generator"},
        {"Address", "Address generator"},
        {"Country", "Country name generator"},
        {"USStates", "USA State name generator"},
        {"Mask", "Mask generator"},
        {"Integer", "Integer generator"},
        {"Bit", "Bit generator"},
        {"Incremental", "Incremental generator"},
        {"Float", "Float generator"},
        {"Date", "Date generator"},
        {"Time", "Time generator"},
        {"DateTime", "Date Time generator"},
        {"ColRef", "Column reference generator"},
        {"Const", "Const generator"},
        {"Combo", "Multi generator"},
        {"e-mail", "e-mail address generator"},
        {"Web site", "Web site address generator"},
        {"Sex", "Sex generator"},
    };
    for (int type = 0; type < kColTypeCount; ++type)
      QTest::newRow(pages[type][0])
          << type << QString::fromLatin1(pages[type][0]) << QString::fromLatin1(pages[type][1]);
  }
  void pageFollowsType() {
    QFETCH(int, type);
    QFETCH(QString, page);
    QFETCH(QString, header);
    Show(AddGenerator(static_cast<TColType>(type), "G"));
    QCOMPARE(FPages->currentIndex(), type);
    QCOMPARE(FPages->currentWidget()->objectName(), page);
    auto* strip = FPages->currentWidget()->findChild<QLabel*>(QStringLiteral("header"));
    QVERIFY(strip);
    QCOMPARE(strip->text(), header);
    QVERIFY(FPages->isEnabled());

    FPages->ShowParameters(nullptr);
    QCOMPARE(FPages->currentIndex(), 0);
    QVERIFY(!FPages->isEnabled());
  }

  void loadsValues_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(LoadCases().size()); ++i)
      QTest::newRow(LoadCases()[i].Tag) << i;
  }
  void loadsValues() {
    QFETCH(int, row);
    const TLoadCase& c = LoadCases()[row];
    TColToGenItem& item = AddGenerator(c.Type, "G");
    if (c.Prepare) c.Prepare(item.Param());
    Show(item);
    QWidget* control = Control(c.Control);
    QVERIFY2(control, c.Control);
    QCOMPARE(Shown(control), c.Expected);
  }

  // A value outside a field's range is shown clamped; the parameter keeps its own value, and
  // the model stays unmodified, until the user changes the field.
  void clampedValueKeptUntilEdited() {
    TColToGenItem& item = AddGenerator(ctDictWord, "Words");
    FState.Model->SetModified(false);
    Show(item);
    auto* field = Control<QSpinBox>("seDWLength");
    QCOMPARE(field->value(), 7);
    QCOMPARE(item.Param().DataLength(), 0);
    QVERIFY(!FState.Model->Modified());

    QTest::keyClick(field, Qt::Key_Up);
    QCOMPARE(item.Param().DataLength(), 8);
    QVERIFY(FState.Model->Modified());
  }

  void handlersWrite_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(WriteCases().size()); ++i)
      QTest::newRow(WriteCases()[i].Tag) << i;
  }
  void handlersWrite() {
    QFETCH(int, row);
    const TWriteCase& c = WriteCases()[row];
    TColToGenItem& item = AddGenerator(c.Type, "G");
    Show(item);
    FState.Model->SetModified(false);
    QWidget* control = Control(c.Control);
    QVERIFY2(control, c.Control);
    Enter(control, c.Input);
    QCOMPARE(c.Read(item.Param()), c.Expected);
    QVERIFY(FState.Model->Modified());
  }

  // Loading one generator's page must not write into the generator still current, and no
  // handler writes while FUpdating is raised.
  void updatingBlocksWrites() {
    TColToGenItem& first = AddGenerator(ctstring, "First");
    TColToGenItem& second = AddGenerator(ctstring, "Second");
    first.Param().SetDataLength(11);
    second.Param().SetDataLength(22);
    As<TCPString>(second.Param()).SetMinSize(30);
    FState.Model->SetModified(false);
    FState.FCurrentItem = &first;
    FPages->ShowParameters(&second);
    QCOMPARE(Control<QSpinBox>("seStringLength")->value(), 22);
    QCOMPARE(first.Param().DataLength(), 11);
    QCOMPARE(As<TCPString>(first.Param()).MinSize(), 1);
    QVERIFY(FCapture->Messages.Shown.isEmpty());

    Show(first);
    {
      TUpdating updating(FState);
      Control<QSpinBox>("seStringLength")->setValue(99);
      Control<QSpinBox>("seStringmini")->setValue(500);
    }
    QCOMPARE(first.Param().DataLength(), 11);
    QCOMPARE(As<TCPString>(first.Param()).MinSize(), 1);
    QVERIFY(FCapture->Messages.Shown.isEmpty());
    QVERIFY(!FState.Model->Modified());
  }

  // The range checks warn in a plain box with the application title and store the value anyway.
  void rangeWarnings_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("setup");  // control=value pairs entered first
    QTest::addColumn<QString>("control");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<QString>("message");  // empty: no message
    const QString tooBig = QStringLiteral("Minimum size can't be greater than data length...");
    const QString noKind = QStringLiteral("You must select at least letters or numbers !");
    QTest::newRow("string minimum above length") << int(ctstring) << "seStringLength=10"
                                                 << "seStringmini" << QVariant(12) << tooBig;
    QTest::newRow("string minimum equal to length") << int(ctstring) << "seStringLength=10"
                                                    << "seStringmini" << QVariant(10) << "";
    QTest::newRow("string length below minimum makes no check")
        << int(ctstring) << "seStringLength=20;seStringmini=15"
        << "seStringLength" << QVariant(5) << "";
    QTest::newRow("last name minimum above length") << int(ctLastName) << "esLNameLength=10"
                                                    << "esLNameMini" << QVariant(11) << tooBig;
    QTest::newRow("full name minimum above max") << int(ctFirstLastName) << "seFLNlength=10"
                                                 << "seFLNMini" << QVariant(12) << tooBig;
    QTest::newRow("integer equal bounds") << int(ctInteger) << "seIntMini=0;seIntMaxi=5"
                                          << "seIntMini" << QVariant(5) << "";
    const QString intCrossed = QStringLiteral("Minimum value can't be greater than maximum value...");
    const QString floatCrossed = QStringLiteral("Maximum value must be greater than minimum value...");
    QTest::newRow("integer maximum below minimum") << int(ctInteger) << "seIntMini=5"
                                                   << "seIntMaxi" << QVariant(4) << intCrossed;
    QTest::newRow("float equal bounds") << int(ctFloat) << "seFloatMini=0;seFloatMaxi=5"
                                        << "seFloatMini" << QVariant(5.0) << floatCrossed;
    QTest::newRow("float maximum above minimum") << int(ctFloat) << "seFloatMini=5"
                                                 << "seFloatMaxi" << QVariant(6.0) << "";
    QTest::newRow("zip numbers unchecked without letters")
        << int(ctZip) << ""
        << "cbZNumbers" << QVariant(false) << noKind;
    QTest::newRow("zip letters unchecked with numbers") << int(ctZip) << "cbZletters=1"
                                                        << "cbZletters" << QVariant(false) << "";
  }
  void rangeWarnings() {
    QFETCH(int, type);
    QFETCH(QString, setup);
    QFETCH(QString, control);
    QFETCH(QVariant, input);
    QFETCH(QString, message);
    TColToGenItem& item = AddGenerator(static_cast<TColType>(type), "G");
    Show(item);
    for (const QString& pair : setup.split(';', Qt::SkipEmptyParts)) {
      const QStringList parts = pair.split('=');
      Enter(Control(parts[0].toLatin1().constData()), parts[1]);
    }
    FCapture->Messages.Shown.clear();

    QWidget* field = Control(control.toLatin1().constData());
    Enter(field, input);
    // The box of a field being typed in comes when the field is left.
    if (field->hasFocus()) field->nextInFocusChain()->setFocus();

    if (message.isEmpty()) {
      QCOMPARE(MessageTexts(), QStringList());
    } else {
      QCOMPARE(MessageTexts(), QStringList{message});
      QCOMPARE(FCapture->Messages.Shown[0].Caption, AppTitle());
      QCOMPARE(FCapture->Messages.Shown[0].Icon, TMsgIcon::None);
    }
    // Stored whatever the check said: loading the page again shows the entered value.
    FPages->ShowParameters(&item);
    QCOMPARE(Shown(field).toString(), input.toString());
  }

  // Typing a bound shows a conflict beside the field at once, with no box, and the note goes
  // once the value is whole; leaving the field with the conflict still there brings the box.
  void typingShowsTheConflictBesideTheField() {
    FPages->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(FPages.get()));
    TColToGenItem& item = AddGenerator(ctInteger, "G");
    Show(item);
    Enter(Control("seIntMaxi"), 1000);
    Enter(Control("seIntMini"), 50);
    FCapture->Messages.Shown.clear();
    auto* maximum = Control<QSpinBox>("seIntMaxi");
    auto* note = Control<QLabel>("seIntMaxiNote");
    QVERIFY(note && note->isHidden());

    maximum->setFocus();
    maximum->selectAll();
    QTest::keyClick(maximum, Qt::Key_Delete);
    QTest::keyClick(maximum, '1');
    QVERIFY(!note->isHidden());
    QVERIFY(note->text().contains(QStringLiteral("maximum")));
    QTest::keyClicks(maximum, QStringLiteral("00"));
    QVERIFY(note->isHidden());
    QCOMPARE(MessageTexts(), QStringList());
    QCOMPARE(dynamic_cast<TCPInteger&>(item.Param()).MaxValue(), 100);

    maximum->selectAll();
    QTest::keyClick(maximum, '7');
    QCOMPARE(MessageTexts(), QStringList());
    Control("seIntMini")->setFocus();
    QCOMPARE(MessageTexts(),
             QStringList{QStringLiteral("Minimum value can't be greater than maximum value...")});
    QVERIFY(!note->isHidden());
    // Another generator's bounds decide the note for themselves.
    TColToGenItem& other = AddGenerator(ctInteger, "H");
    Show(other);
    QVERIFY(note->isHidden());
  }

  // The float bounds show the values held, however large or small, in a readable width.
  void floatBoundsShowTheValuesHeld_data() {
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::newRow("the widest range") << 4.9406564584124654e-324 << 1.7e308;
    QTest::newRow("cents") << -0.07 << 12345.67;
  }
  void floatBoundsShowTheValuesHeld() {
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    TColToGenItem& item = AddGenerator(ctFloat, "F");
    auto& param = dynamic_cast<TCPFloat&>(item.Param());
    param.SetMinValue(minimum);
    param.SetMaxValue(maximum);
    Show(item);
    for (const auto& [name, held] : {std::pair{"seFloatMini", minimum}, {"seFloatMaxi", maximum}}) {
      auto* field = Control<TFloatEdit>(name);
      double shown = 0;
      QVERIFY2(TFloatEdit::Parse(field->text(), shown), qPrintable(field->text()));
      QCOMPARE(shown, held);
      QVERIFY(field->fontMetrics().horizontalAdvance(field->text()) < field->width());
    }
    // Scientific notation is read too.
    Enter(Control("seFloatMaxi"), QStringLiteral("2.5e4"));
    QCOMPARE(param.MaxValue(), 25000.0);
    QCOMPARE(MessageTexts(), QStringList());
  }

  // The reference boxes list what the connection offers and select the stored table and field,
  // case ignored; the field list is that of the table box's text.
  void referenceBoxesSelectStoredNames_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("tableIndex");
    QTest::addColumn<int>("fieldIndex");
    QTest::newRow("listed, other case") << "orders"
                                        << "ID" << 1 << 0;
    QTest::newRow("table not listed") << "Invoices"
                                      << "id" << -1 << -1;
    QTest::newRow("field not listed") << "Customers"
                                      << "Total" << 0 << -1;
  }
  void referenceBoxesSelectStoredNames() {
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(int, tableIndex);
    QFETCH(int, fieldIndex);
    QString askedFor = QStringLiteral("(not asked)");
    FPages->TableNames = [] { return QStringList{"Customers", "ORDERS"}; };
    FPages->ListTableFields = [&](const QString& name) {
      askedFor = name;
      return name.isEmpty() ? QStringList{} : QStringList{"Id", "Name"};
    };
    TColToGenItem& item = AddGenerator(ctColRef, "Ref");
    As<TCPColRef>(item.Param()).SetTable(ToAnsi(table));
    As<TCPColRef>(item.Param()).SetField(ToAnsi(field));
    FState.Model->SetModified(false);
    Show(item);

    auto* tables = Control<QComboBox>("cbCRTable");
    auto* fields = Control<QComboBox>("cbCRField");
    QCOMPARE(tables->count(), 2);
    QCOMPARE(tables->currentIndex(), tableIndex);
    QCOMPARE(askedFor, tables->currentText());
    QCOMPARE(fields->currentIndex(), fieldIndex);
    QVERIFY(!FState.Model->Modified());

    FPages->ClearReferenceLists();
    QCOMPARE(tables->count() + fields->count(), 0);
  }

  // Every Sex generator of a model shows and edits the model's one set of titles.
  void sexPagesShareTitles() {
    TColToGenItem& first = AddGenerator(ctSex, "Title 1");
    TColToGenItem& second = AddGenerator(ctSex, "Title 2");
    Show(first);
    Enter(Control("eSexMister"), QStringLiteral("Sir"));
    Enter(Control("eSexMissisp"), QStringLiteral("10.5"));

    Show(second);
    QCOMPARE(Control<QLineEdit>("eSexMister")->text(), QStringLiteral("Sir"));
    QCOMPARE(Control<QLineEdit>("eSexMissisp")->text(), QStringLiteral("10.50"));
    QCOMPARE(PersonOf(*FState.Model).Mister(), std::string("Sir"));
    QCOMPARE(PersonOf(*FState.Model).MissisPercent(), 10.5f);
  }

  // Unreadable percent text stores 33.3333 and unreadable time text the time of day now, both
  // without a message.
  void unreadableTextFallbacks_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("timeNow");  // else the percent fallback
    QTest::newRow("percent not a number") << int(ctSex) << "eSexMisterp"
                                          << "abc" << false;
    QTest::newRow("percent empty") << int(ctSex) << "eSexMissp"
                                   << "" << false;
    QTest::newRow("hour above 23") << int(ctTime) << "meTimeMini"
                                   << "250000" << true;
    QTest::newRow("time half typed") << int(ctDateTime) << "meDTMaxi"
                                     << "12" << true;
  }
  void unreadableTextFallbacks() {
    QFETCH(int, type);
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(bool, timeNow);
    TColToGenItem& item = AddGenerator(static_cast<TColType>(type), "G");
    Show(item);
    Enter(Control(control.toLatin1().constData()), typed);

    if (timeNow) {
      TColParams& p = item.Param();
      const double stored =
          type == ctTime ? As<TCPTime>(p).MinTime() : As<TCPDateTime>(p).MaxTime();
      const double seconds = std::fabs(stored - TimeOfDayNow()) * 86400;
      QVERIFY2(seconds < 5 || seconds > 86395, qPrintable(QString::number(seconds)));
    } else {
      auto& sex = As<TCPSexGen>(item.Param());
      QCOMPARE(control == "eSexMisterp" ? sex.MisterPercent() : sex.MissPercent(), 33.3333f);
    }
    QVERIFY(FCapture->Messages.Shown.isEmpty());
  }

  // Percentages are read and shown with the user's decimal separator.
  void percentUsesLocaleSeparator() {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TColToGenItem& item = AddGenerator(ctSex, "G");
    Show(item);
    const QString shown = Control<QLineEdit>("eSexMisterp")->text();
    Enter(Control("eSexMissp"), QStringLiteral("12,5"));
    const float stored = As<TCPSexGen>(item.Param()).MissPercent();
    QLocale::setDefault(saved);
    QCOMPARE(shown, QStringLiteral("50,00"));
    QCOMPARE(stored, 12.5f);
  }

  // The pop-up lists every generator of the model, greys the combination itself, and appends
  // the chosen name, twice if chosen twice; the list edits mark nothing modified.
  void comboPopupAddsNames() {
    AddGenerator(ctstring, "Alpha");
    TColToGenItem& combo = AddGenerator(ctCombo, "Mix");
    AddGenerator(ctInteger, "B&W");
    Show(combo);
    FState.Model->SetModified(false);

    QTest::mouseClick(Control<QToolButton>("sbaddcombo"), Qt::LeftButton);
    auto* menu = Control<QMenu>("ppcombo");
    QTRY_VERIFY(menu->isVisible());
    QStringList captions;
    QList<bool> enabled;
    for (QAction* entry : menu->actions()) {
      captions << entry->text();
      enabled << entry->isEnabled();
    }
    QCOMPARE(captions, (QStringList{"Alpha", "Mix", "B&&W"}));
    QCOMPARE(enabled, (QList<bool>{true, false, true}));

    const auto clickEntry = [&](int position) {
      QTest::mouseClick(menu, Qt::LeftButton, {},
                        menu->actionGeometry(menu->actions()[position]).center());
    };
    clickEntry(2);
    QTRY_VERIFY(!menu->isVisible());
    QTest::mouseClick(Control<QToolButton>("sbaddcombo"), Qt::LeftButton);
    QTRY_VERIFY(menu->isVisible());
    clickEntry(1);  // greyed: nothing happens
    clickEntry(2);
    QTRY_VERIFY(!menu->isVisible());

    QCOMPARE(Shown(Control("lbcombo")).toStringList(), (QStringList{"B&W", "B&W"}));
    QCOMPARE(As<TCPCombo>(combo.Param()).Colnames(), (std::vector<std::string>{"B&W", "B&W"}));
    QVERIFY(!FState.Model->Modified());
  }

  void comboListButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("selected");  // -1: none
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("selectedAfter");
    const QStringList abc{"A", "B", "C"};
    QTest::newRow("up") << "sbcomboUp" << 1 << QStringList{"B", "A", "C"} << 0;
    QTest::newRow("down") << "sbComboDown" << 1 << QStringList{"A", "C", "B"} << 2;
    QTest::newRow("first up") << "sbcomboUp" << 0 << abc << 0;
    QTest::newRow("last down") << "sbComboDown" << 2 << abc << 2;
    QTest::newRow("up without selection") << "sbcomboUp" << -1 << abc << -1;
    QTest::newRow("down without selection") << "sbComboDown" << -1 << abc << -1;
    QTest::newRow("delete") << "sbdelcombo" << 1 << QStringList{"A", "C"} << -2;
    QTest::newRow("delete without selection") << "sbdelcombo" << -1 << abc << -1;
  }
  void comboListButtons() {
    QFETCH(QString, button);
    QFETCH(int, selected);
    QFETCH(QStringList, expected);
    QFETCH(int, selectedAfter);
    TColToGenItem& combo = AddGenerator(ctCombo, "Mix");
    As<TCPCombo>(combo.Param()).SetColnames({"A", "B", "C"});
    Show(combo);
    FState.Model->SetModified(false);
    auto* list = Control<QListWidget>("lbcombo");
    if (selected >= 0) list->setCurrentRow(selected);

    QTest::mouseClick(Control<QToolButton>(button.toLatin1().constData()), Qt::LeftButton);

    QCOMPARE(Shown(list).toStringList(), expected);
    QStringList stored;
    for (const std::string& name : As<TCPCombo>(combo.Param()).Colnames())
      stored << QString::fromStdString(name);
    QCOMPARE(stored, expected);
    if (selectedAfter >= 0) {
      QCOMPARE(list->currentRow(), selectedAfter);
      QVERIFY(list->currentItem()->isSelected());
    } else if (selectedAfter == -1) {
      QVERIFY(list->selectedItems().isEmpty());
    }
    QVERIFY(!FState.Model->Modified());
  }

  // The character set is edited on a copy: cancel leaves the parameter and the model's
  // modified state as they were, OK stores the edited set.
  void charsetButton_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("ok") << true;
    QTest::newRow("cancel") << false;
  }
  void charsetButton() {
    QFETCH(bool, ok);
    TColToGenItem& item = AddGenerator(ctstring, "G");
    Show(item);
    FState.Model->SetModified(false);
    const TCharSet before = As<TCPString>(item.Param()).Charset();

    OnNextModal([&](QDialog* dialog) {
      auto* grid = dialog->findChild<QTableWidget*>(QStringLiteral("sg"));
      DoubleClick(grid->viewport(), grid->visualRect(grid->model()->index(4, 1)).center());
      dialog->findChild<QPushButton*>(ok ? QStringLiteral("BitBtn2") : QStringLiteral("BitBtn1"))
          ->click();
    });
    QTest::mouseClick(Control<QPushButton>("btnStringCharset"), Qt::LeftButton);

    TCharSet edited = before;
    edited.Exclude('A');
    QVERIFY(As<TCPString>(item.Param()).Charset() == (ok ? edited : before));
    QCOMPARE(FState.Model->Modified(), ok);
  }

  // The phoneme list editor replaces the list's entries in place without marking the model.
  void phonemeButtons_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("button");
    QTest::newRow("last name") << int(ctLastName) << "btnLNPhoneme";
    QTest::newRow("embedded last name") << int(ctFirstLastName) << "btnFLNPhoneme";
  }
  void phonemeButtons() {
    QFETCH(int, type);
    QFETCH(QString, button);
    TColToGenItem& item = AddGenerator(static_cast<TColType>(type), "G");
    Show(item);
    FState.Model->SetModified(false);
    TCPLastName& last = type == ctLastName ? As<TCPLastName>(item.Param())
                                           : As<TCPFirstLastName>(item.Param()).LastName();
    last.SetPhonemeList({"ka", "ro"});
    FState.Model->SetModified(false);

    OnNextModal([](QDialog* dialog) {
      auto* memo = dialog->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
      memo->moveCursor(QTextCursor::End);
      QTest::keyClick(memo, Qt::Key_Return);
      QTest::keyClick(memo, 'z');
      memo->insertPlainText(QStringLiteral("\u00E9"));
      dialog->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click();
    });
    QTest::mouseClick(Control<QPushButton>(button.toLatin1().constData()), Qt::LeftButton);

    QCOMPARE(last.PhonemeList(), (std::vector<std::string>{"ka", "ro", "z\xE9"}));
    QVERIFY(!FState.Model->Modified());
  }

  // Every page and both dialogs render to a file of their own.
  void screenshotsRender() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(RenderPageScreenshots(dir.path()), kColTypeCount + 2);
    const QImage sex(dir.filePath(QStringLiteral("page_25_Sex.png")));
    QVERIFY(!sex.isNull());
    QVERIFY(sex.width() >= 300);
  }
};

std::unique_ptr<QObject> NewParamPagesTest() { return std::make_unique<TParamPagesTest>(); }

#include "param_pages_test.moc"
