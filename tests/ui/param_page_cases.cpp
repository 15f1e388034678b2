// SPDX-License-Identifier: MIT
// The rows of the load and write tables of the parameter page tests, and the helpers that read
// and drive a control whatever its kind.

#include "param_page_cases.h"

#include "core/generators/composite_gens.h"
#include "core/generators/dictionary_gens.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/person_gens.h"
#include "core/generators/string_gens.h"
#include "core/generators/temporal_gens.h"
#include "pages_test_support.h"
#include "ui/param_pages/page_kit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>
#include <climits>

namespace kelvast::ui::test {

QVariant Shown(QWidget* w) {
  if (auto* spin = qobject_cast<QSpinBox*>(w)) return spin->value();
  if (auto* spin = qobject_cast<QDoubleSpinBox*>(w)) return spin->value();
  if (auto* date = qobject_cast<QDateEdit*>(w)) return date->date();
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
  if (auto* check = qobject_cast<QCheckBox*>(w)) return check->isChecked();
  if (auto* group = qobject_cast<TRadioGroup*>(w)) return group->ItemIndex();
  if (auto* list = qobject_cast<QListWidget*>(w)) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
      items << list->item(i)->text();
    return items;
  }
  return {};
}

void Enter(QWidget* w, const QVariant& value) {
  if (auto* spin = qobject_cast<QSpinBox*>(w)) return spin->setValue(value.toInt());
  if (auto* spin = qobject_cast<QDoubleSpinBox*>(w)) return spin->setValue(value.toDouble());
  if (auto* date = qobject_cast<QDateEdit*>(w)) return date->setDate(value.toDate());
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    edit->home(false);
    return TypeText(edit, value.toString());
  }
  // Buttons are clicked on their indicator: one wider than its caption takes no click beyond
  // the text.
  const auto clickIndicator = [](QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  };
  if (auto* check = qobject_cast<QCheckBox*>(w)) {
    if (check->isChecked() != value.toBool()) clickIndicator(check);
    return;
  }
  if (auto* group = qobject_cast<TRadioGroup*>(w))
    clickIndicator(group->Buttons().at(value.toInt()));
}

namespace {

const TLoadCase kLoadCaseRows[] = {
    {"string data length", ctstring, [](TColParams& p) { p.SetDataLength(40); }, "seStringLength",
     40},
    {"string minimum above range shown clamped", ctstring,
     [](TColParams& p) { As<TCPString>(p).SetMinSize(300000); }, "seStringmini", 200000},
    {"dictionary word length 0 shown as 7", ctDictWord, nullptr, "seDWLength", 7},
    {"embedded last name minimum", ctFirstLastName,
     [](TColParams& p) { As<TCPFirstLastName>(p).LastName().SetMinSize(7); }, "seFLNMini", 7},
    {"memo lorem ipsum", ctMemo, [](TColParams& p) { As<TCPMemo>(p).SetLoremIpsum(true); },
     "cbMLorem", true},
    {"mask with an accented letter", ctFormatted,
     [](TColParams& p) { As<TCPFormatted>(p).SetMask("\xE9-00"); }, "eMask",
     QStringLiteral("\u00E9-00")},
    {"sign +1 is the third item", ctInteger, [](TColParams& p) { As<TCPInteger>(p).SetSign(1); },
     "rgIntSign", 2},
    {"integer maximum default", ctInteger, nullptr, "seIntMaxi", INT_MAX},
    {"float fixed decimals", ctFloat, [](TColParams& p) { As<TCPFloat>(p).SetFixedDecimals(true); },
     "cbFloatFixed", true},
    {"integer exports as Num", ctInteger, nullptr, "rgntint", 0},
    {"zip exports as Text", ctZip, nullptr, "rgntzip", 1},
    {"bit zero text", ctBit, [](TColParams& p) { As<TCPBit>(p).SetZeroValue("N"); }, "eBit0",
     QStringLiteral("N")},
    {"date", ctDate, [](TColParams& p) { As<TCPDate>(p).SetMinDate(EncodeDate(2024, 2, 29)); },
     "deDateMini", QDate(2024, 2, 29)},
    {"date 0 is 30 December 1899", ctDateTime, nullptr, "deDTMaxi", QDate(1899, 12, 30)},
    {"time formatted hh:nn:ss", ctTime,
     [](TColParams& p) { As<TCPTime>(p).SetMinTime(EncodeTime(18, 5, 9, 0)); }, "meTimeMini",
     QStringLiteral("18:05:09")},
    {"date-time minimum time", ctDateTime,
     [](TColParams& p) { As<TCPDateTime>(p).SetMinTime(0.25); }, "meDTmini",
     QStringLiteral("06:00:00")},
    {"sex percent with two decimals", ctSex, nullptr, "eSexMisterp", QStringLiteral("50.00")},
    {"sex title", ctSex, nullptr, "eSexMissis", QStringLiteral("Mrs.")},
    {"combination list", ctCombo,
     [](TColParams& p) {
       As<TCPCombo>(p).SetColnames({"A", "B", "A"});
     },
     "lbcombo", QStringList{"A", "B", "A"}},
    {"web site domain length", ctWeb, nullptr, "semaxdomweb", 3},
};

const TWriteCase kWriteCaseRows[] = {
    {"string data length", ctstring, "seStringLength", 25,
     [](TColParams& p) { return QVariant(p.DataLength()); }, 25},
    {"last name data length", ctLastName, "esLNameLength", 30,
     [](TColParams& p) { return QVariant(p.DataLength()); }, 30},
    {"first name in last position", ctFirstLastName, "cbFLNPos", true,
     [](TColParams& p) { return QVariant(As<TCPFirstLastName>(p).FirstLast()); }, true},
    {"separator", ctFirstLastName, "eFLNSep", QStringLiteral(", "),
     [](TColParams& p) { return QVariant(FromAnsi(As<TCPFirstLastName>(p).Separator())); },
     QStringLiteral(", ")},
    {"last name mini length leaves max length", ctFirstLastName, "seFLNMini", 6,
     [](TColParams& p) {
       const TCPLastName& last = As<TCPFirstLastName>(p).LastName();
       return QVariant(QStringLiteral("%1/%2").arg(last.MinSize()).arg(last.DataLength()));
     },
     QStringLiteral("6/10")},
    {"last name max length", ctFirstLastName, "seFLNlength", 20,
     [](TColParams& p) { return QVariant(As<TCPFirstLastName>(p).LastName().DataLength()); }, 20},
    {"french dictionary", ctDictWord, "cbDWFrench", true,
     [](TColParams& p) { return QVariant(p.French()); }, true},
    {"memo size", ctMemo, "seMlength", 500, [](TColParams& p) { return QVariant(p.DataLength()); },
     500},
    {"memo randomize", ctMemo, "cbMRandom", true,
     [](TColParams& p) { return QVariant(As<TCPMemo>(p).RandomizeLength()); }, true},
    {"zip letters", ctZip, "cbZletters", true,
     [](TColParams& p) { return QVariant(As<TCPZip>(p).Letters()); }, true},
    {"zip length", ctZip, "seZlength", 5, [](TColParams& p) { return QVariant(p.DataLength()); },
     5},
    {"zip as Num", ctZip, "rgntzip", 0, [](TColParams& p) { return QVariant(p.ExportType()); }, 0},
    {"french cities", ctTown, "cbCityFrench", true,
     [](TColParams& p) { return QVariant(p.French()); }, true},
    {"french address", ctAddress, "cbAddrFrench", true,
     [](TColParams& p) { return QVariant(p.French()); }, true},
    {"country code", ctCountry, "cbCountryCode", true,
     [](TColParams& p) { return QVariant(As<TCPCountry>(p).JustCode()); }, true},
    {"state short name", ctUSStates, "cbUSSShort", true,
     [](TColParams& p) { return QVariant(As<TCPUSStates>(p).ShortName()); }, true},
    {"mask typed", ctFormatted, "eMask", QStringLiteral("AA-\u00E90"),
     [](TColParams& p) { return QVariant(QByteArray::fromStdString(As<TCPFormatted>(p).Mask())); },
     QByteArray("AA-\xE9"
                "0")},
    {"only negative", ctInteger, "rgIntSign", 0,
     [](TColParams& p) { return QVariant(As<TCPInteger>(p).Sign()); }, -1},
    {"integer minimum", ctInteger, "seIntMini", -5,
     [](TColParams& p) { return QVariant(As<TCPInteger>(p).MinValue()); }, -5},
    {"bit as Text", ctBit, "rgntbit", 1, [](TColParams& p) { return QVariant(p.ExportType()); }, 1},
    {"bit one text", ctBit, "eBit1", QStringLiteral("yes"),
     [](TColParams& p) { return QVariant(FromAnsi(As<TCPBit>(p).OneValue())); },
     QStringLiteral("yes")},
    {"increment step", ctIncremental, "seINCStep", 3,
     [](TColParams& p) { return QVariant(As<TCPIncremental>(p).Step()); }, 3},
    {"float maximum", ctFloat, "seFloatMaxi", 99.5,
     [](TColParams& p) { return QVariant(As<TCPFloat>(p).MaxValue()); }, 99.5},
    {"float precision", ctFloat, "seFloatPrec", 4,
     [](TColParams& p) { return QVariant(As<TCPFloat>(p).Precision()); }, 4},
    {"float fixed decimals", ctFloat, "cbFloatFixed", true,
     [](TColParams& p) { return QVariant(As<TCPFloat>(p).FixedDecimals()); }, true},
    {"date maximum", ctDate, "deDateMaxi", QDate(2030, 1, 31),
     [](TColParams& p) { return QVariant(As<TCPDate>(p).MaxDate()); }, EncodeDate(2030, 1, 31)},
    {"date format", ctDate, "eDateFmt", QStringLiteral("yyyy"),
     [](TColParams& p) { return QVariant(FromAnsi(As<TCPDate>(p).Format())); },
     QStringLiteral("yyyy")},
    {"time maximum typed digit by digit", ctTime, "meTimeMaxi", QStringLiteral("235959"),
     [](TColParams& p) { return QVariant(As<TCPTime>(p).MaxTime()); }, EncodeTime(23, 59, 59, 0)},
    {"date-time minimum time", ctDateTime, "meDTmini", QStringLiteral("061500"),
     [](TColParams& p) { return QVariant(As<TCPDateTime>(p).MinTime()); }, EncodeTime(6, 15, 0, 0)},
    {"date-time minimum date", ctDateTime, "deDTMini", QDate(1999, 12, 31),
     [](TColParams& p) { return QVariant(As<TCPDateTime>(p).MinDate()); },
     EncodeDate(1999, 12, 31)},
    {"const value", ctConst, "eConst", QStringLiteral("x y"),
     [](TColParams& p) { return QVariant(FromAnsi(As<TCPConst>(p).ConstValue())); },
     QStringLiteral("x y")},
    {"combination as Num", ctCombo, "rgntcombo", 0,
     [](TColParams& p) { return QVariant(p.ExportType()); }, 0},
    {"column reference as Num", ctColRef, "rgntref", 0,
     [](TColParams& p) { return QVariant(p.ExportType()); }, 0},
    {"short user name", ctemail, "cbshortuname", true,
     [](TColParams& p) { return QVariant(As<TCPEmail>(p).Short()); }, true},
    {"domain length", ctWeb, "semaxdomweb", 50,
     [](TColParams& p) { return QVariant(p.DataLength()); }, 50},
    {"miss title", ctSex, "eSexMiss", QStringLiteral("Mlle"),
     [](TColParams& p) { return QVariant(FromAnsi(As<TCPSexGen>(p).Miss())); },
     QStringLiteral("Mlle")},
    {"miss percent", ctSex, "eSexMissp", QStringLiteral("12.5"),
     [](TColParams& p) { return QVariant(As<TCPSexGen>(p).MissPercent()); }, 12.5f},
};

}  // namespace

std::span<const TLoadCase> LoadCases() { return kLoadCaseRows; }
std::span<const TWriteCase> WriteCases() { return kWriteCaseRows; }

}  // namespace kelvast::ui::test
