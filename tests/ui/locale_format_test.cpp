// SPDX-License-Identifier: MIT
// The core's format settings taken from a Qt locale.
#include "ui/locale_format.h"

#include "ui/ui_test_support.h"

#include <QLocale>

namespace kelvast::ui::test {

class TLocaleFormatTest : public QObject {
  Q_OBJECT

 private slots:
  void patternsTranslated_data() {
    QTest::addColumn<QString>("qt");
    QTest::addColumn<QString>("core");
    QTest::newRow("numeric date") << "dd.MM.yyyy"
                                  << "dd.mm.yyyy";
    QTest::newRow("12-hour time with zone") << "h:mm:ss AP t"
                                            << "h:nn:ss ampm";
    QTest::newRow("24-hour time") << "HH:mm"
                                  << "hh:nn";
    QTest::newRow("long date with names") << "dddd, MMMM d, yyyy"
                                          << "dddd, mmmm d, yyyy";
    QTest::newRow("quoted literal") << "d 'de' MMMM 'de' yyyy"
                                    << "d \"de\" mmmm \"de\" yyyy";
    QTest::newRow("literal letter of the core's language") << "HH 'h' mm"
                                                           << "hh \"h\" nn";
    QTest::newRow("escaped apostrophe") << "yy''MM"
                                        << "yy'mm";
  }
  void patternsTranslated() {
    QFETCH(QString, qt);
    QFETCH(QString, core);
    QCOMPARE(QString::fromStdString(CorePattern(qt)), core);
  }

  void settingsFollowTheLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<char>("decimal");
    QTest::addColumn<char>("dateSeparator");
    QTest::addColumn<QByteArray>("shortDate");
    QTest::addColumn<QByteArray>("february");
    QTest::addColumn<QByteArray>("sunday");
    QTest::newRow("English (US)") << QLocale(QLocale::English, QLocale::UnitedStates) << '.' << '/'
                                  << QByteArray("m/d/yy") << QByteArray("February")
                                  << QByteArray("Sunday");
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << ',' << '.'
                            << QByteArray("dd.mm.yy") << QByteArray("Februar")
                            << QByteArray("Sonntag");
    // Accented names arrive as single Windows-1252 bytes.
    QTest::newRow("French") << QLocale(QLocale::French, QLocale::France) << ',' << '/'
                            << QByteArray("dd/mm/yyyy") << QByteArray("f\xE9vrier")
                            << QByteArray("dimanche");
  }
  void settingsFollowTheLocale() {
    QFETCH(QLocale, locale);
    QFETCH(char, decimal);
    QFETCH(char, dateSeparator);
    QFETCH(QByteArray, shortDate);
    QFETCH(QByteArray, february);
    QFETCH(QByteArray, sunday);
    const TFormatSettings fs = FormatSettingsOf(locale);
    QCOMPARE(fs.DecimalSeparator, decimal);
    QCOMPARE(fs.DateSeparator, dateSeparator);
    QCOMPARE(QByteArray::fromStdString(fs.ShortDateFormat), shortDate);
    QCOMPARE(QByteArray::fromStdString(fs.LongMonthNames[1]), february);
    QCOMPARE(QByteArray::fromStdString(fs.LongDayNames[0]), sunday);
  }
};

KELVAST_UI_TEST(TLocaleFormatTest)

}  // namespace kelvast::ui::test

#include "locale_format_test.moc"
