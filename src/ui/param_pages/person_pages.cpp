// SPDX-License-Identifier: MIT
// Pages of the person generators: first name, last name, first and last name, e-mail, web site
// and the courtesy title (Sex).

#include "core/generators/person_gens.h"
#include "core/model/gen_model.h"
#include "ui/dialogs/list_editor.h"
#include "ui/param_pages/page_kit.h"
#include "ui/param_pages/range_check.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>

namespace kelvast::ui {

namespace {

class TFirstNamePage : public TParamPage {
 public:
  explicit TFirstNamePage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("FirstName"), QStringLiteral("First name generator")) {
    AddWide(new QLabel(QStringLiteral("(no more parameters)"), this));
  }
};

class TLastNamePage : public TParamPage {
 public:
  explicit TLastNamePage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("LastName"), QStringLiteral("Last name generator")) {
    esLNameLength = NewSpin(QStringLiteral("esLNameLength"), 5, 255);
    esLNameMini = NewSpin(QStringLiteral("esLNameMini"), 5, 255);
    btnLNPhoneme = NewEllipsis(QStringLiteral("btnLNPhoneme"));
    AddRow(QStringLiteral("Data length"), esLNameLength);
    AddRow(QStringLiteral("Minimum size"), esLNameMini);
    AddRow(QStringLiteral("Phoneme list"), btnLNPhoneme);
    connect(esLNameLength, &QSpinBox::valueChanged, this, &TLastNamePage::esLNameLengthChange);
    connect(esLNameMini, &QSpinBox::valueChanged, this, &TLastNamePage::esLNameMiniChange);
    FLengthCheck = new TRangeCheck(
        this, Grid(), esLNameMini, [this] { return esLNameLength->value() < esLNameMini->value(); },
        QString::fromLatin1(kMinAboveMaxMessage));
    connect(btnLNPhoneme, &QPushButton::clicked, this, &TLastNamePage::btnLNPhonemeClick);
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPLastName*>(&param);
    if (!p) return;
    esLNameLength->setValue(p->DataLength());
    esLNameMini->setValue(p->MinSize());
    FLengthCheck->Update();
  }

 private:
  void esLNameLengthChange(int value) {
    auto* p = Target<TCPLastName>();
    if (!p) return;
    FLengthCheck->Update();
    p->SetDataLength(value);
  }

  void esLNameMiniChange(int value) {
    auto* p = Target<TCPLastName>();
    if (!p) return;
    FLengthCheck->Changed(esLNameMini);
    p->SetMinSize(value);
  }

  // The list is edited in place, which marks nothing modified.
  void btnLNPhonemeClick() {
    if (auto* p = Target<TCPLastName>()) EditStrings(p->PhonemeListRef(), this);
  }

  QSpinBox* esLNameLength;
  QSpinBox* esLNameMini;
  QPushButton* btnLNPhoneme;
  TRangeCheck* FLengthCheck;
};

class TFirstLastNamePage : public TParamPage {
 public:
  explicit TFirstLastNamePage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("FirstLastName"),
                   QStringLiteral("First and Last Name generator")) {
    cbFLNPos = NewCheck(QStringLiteral("cbFLNPos"), QStringLiteral("First name in last pos"));
    eFLNSep = NewEdit(QStringLiteral("eFLNSep"));
    seFLNlength = NewSpin(QStringLiteral("seFLNlength"), 1, 255);
    seFLNMini = NewSpin(QStringLiteral("seFLNMini"), 1, 255);
    btnFLNPhoneme = NewEllipsis(QStringLiteral("btnFLNPhoneme"));
    AddWide(cbFLNPos);
    AddRow(QStringLiteral("Separator"), eFLNSep);
    AddRow(QStringLiteral("Last name max length"), seFLNlength);
    AddRow(QStringLiteral("Last name mini length"), seFLNMini);
    AddRow(QStringLiteral("Phoneme list"), btnFLNPhoneme);
    connect(cbFLNPos, &QCheckBox::toggled, this, &TFirstLastNamePage::cbFLNPosClick);
    connect(eFLNSep, &QLineEdit::textChanged, this, &TFirstLastNamePage::eFLNSepChange);
    connect(seFLNlength, &QSpinBox::valueChanged, this, &TFirstLastNamePage::seFLNlengthChange);
    connect(seFLNMini, &QSpinBox::valueChanged, this, &TFirstLastNamePage::seFLNMiniChange);
    connect(btnFLNPhoneme, &QPushButton::clicked, this, &TFirstLastNamePage::btnFLNPhonemeClick);
    FLengthCheck = new TRangeCheck(
        this, Grid(), seFLNMini, [this] { return seFLNlength->value() < seFLNMini->value(); },
        QString::fromLatin1(kMinAboveMaxMessage));
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPFirstLastName*>(&param);
    if (!p) return;
    cbFLNPos->setChecked(p->FirstLast());
    eFLNSep->setText(FromAnsi(p->Separator()));
    seFLNlength->setValue(p->LastName().DataLength());
    seFLNMini->setValue(p->LastName().MinSize());
    FLengthCheck->Update();
  }

 private:
  void cbFLNPosClick(bool checked) {
    if (auto* p = Target<TCPFirstLastName>()) p->SetFirstLast(checked);
  }

  void eFLNSepChange(const QString& text) {
    if (auto* p = Target<TCPFirstLastName>()) p->SetSeparator(ToAnsi(text));
  }

  // The two length fields edit the embedded last-name object.
  void seFLNlengthChange(int value) {
    auto* p = Target<TCPFirstLastName>();
    if (!p) return;
    FLengthCheck->Update();
    p->LastName().SetDataLength(value);
  }

  void seFLNMiniChange(int value) {
    auto* p = Target<TCPFirstLastName>();
    if (!p) return;
    FLengthCheck->Changed(seFLNMini);
    p->LastName().SetMinSize(value);
  }

  void btnFLNPhonemeClick() {
    if (auto* p = Target<TCPFirstLastName>()) EditStrings(p->LastName().PhonemeListRef(), this);
  }

  QCheckBox* cbFLNPos;
  QLineEdit* eFLNSep;
  QSpinBox* seFLNlength;
  QSpinBox* seFLNMini;
  TRangeCheck* FLengthCheck;
  QPushButton* btnFLNPhoneme;
};

class TEmailPage : public TParamPage {
 public:
  explicit TEmailPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("e-mail"), QStringLiteral("e-mail address generator")) {
    cbshortuname = NewCheck(QStringLiteral("cbshortuname"), QStringLiteral("Short user name"));
    AddWide(cbshortuname);
    connect(cbshortuname, &QCheckBox::toggled, this, &TEmailPage::cbshortunameClick);
  }

  void Load(TColParams& param) override {
    if (auto* p = dynamic_cast<TCPEmail*>(&param)) cbshortuname->setChecked(p->Short());
  }

 private:
  void cbshortunameClick(bool checked) {
    if (auto* p = Target<TCPEmail>()) p->SetShort(checked);
  }

  QCheckBox* cbshortuname;
};

class TWebSitePage : public TParamPage {
 public:
  explicit TWebSitePage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("Web site"), QStringLiteral("Web site address generator")) {
    semaxdomweb = NewSpin(QStringLiteral("semaxdomweb"), 2, 100);
    AddRow(QStringLiteral("Max domain length"), semaxdomweb);
    connect(semaxdomweb, &QSpinBox::valueChanged, this, &TWebSitePage::semaxdomwebChange);
  }

  void Load(TColParams& param) override {
    if (auto* p = dynamic_cast<TCPWebSite*>(&param)) semaxdomweb->setValue(p->DataLength());
  }

 private:
  void semaxdomwebChange(int value) {
    if (auto* p = Target<TCPWebSite>()) p->SetDataLength(value);
  }

  QSpinBox* semaxdomweb;
};

// The titles and percentages shown here live once in the model (its Person); every Sex
// generator of the model reads and writes the same values through its parameter object.
class TSexPage : public TParamPage {
 public:
  explicit TSexPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("Sex"), QStringLiteral("Sex generator")) {
    eSexMister = NewEdit(QStringLiteral("eSexMister"));
    eSexMissis = NewEdit(QStringLiteral("eSexMissis"));
    eSexMiss = NewEdit(QStringLiteral("eSexMiss"));
    eSexMisterp = NewEdit(QStringLiteral("eSexMisterp"));
    eSexMissisp = NewEdit(QStringLiteral("eSexMissisp"));
    eSexMissp = NewEdit(QStringLiteral("eSexMissp"));
    AddRow(QStringLiteral("Mister string"), eSexMister, Percent(eSexMisterp));
    AddRow(QStringLiteral("Missis string"), eSexMissis, Percent(eSexMissisp));
    AddRow(QStringLiteral("Miss string"), eSexMiss, Percent(eSexMissp));

    connect(eSexMister, &QLineEdit::textChanged, this,
            [this](const QString& text) { eSexTextChange(&TCPSex::SetMister, text); });
    connect(eSexMissis, &QLineEdit::textChanged, this,
            [this](const QString& text) { eSexTextChange(&TCPSex::SetMissis, text); });
    connect(eSexMiss, &QLineEdit::textChanged, this,
            [this](const QString& text) { eSexTextChange(&TCPSex::SetMiss, text); });
    connect(eSexMisterp, &QLineEdit::textChanged, this,
            [this](const QString& text) { eSexPercentChange(&TCPSex::SetMisterPercent, text); });
    connect(eSexMissisp, &QLineEdit::textChanged, this,
            [this](const QString& text) { eSexPercentChange(&TCPSex::SetMissisPercent, text); });
    connect(eSexMissp, &QLineEdit::textChanged, this,
            [this](const QString& text) { eSexPercentChange(&TCPSex::SetMissPercent, text); });
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPSexGen*>(&param);
    if (!p) return;
    eSexMister->setText(FromAnsi(p->Mister()));
    eSexMissis->setText(FromAnsi(p->Missis()));
    eSexMiss->setText(FromAnsi(p->Miss()));
    eSexMisterp->setText(FormatPercent(p->MisterPercent()));
    eSexMissisp->setText(FormatPercent(p->MissisPercent()));
    eSexMissp->setText(FormatPercent(p->MissPercent()));
  }

 private:
  // The percent field followed by its "%" label.
  QWidget* Percent(QLineEdit* field) {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    field->setParent(box);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("100.00")) + 24);
    field->setAlignment(Qt::AlignRight);
    row->addWidget(field);
    row->addWidget(new QLabel(QStringLiteral("%"), box));
    return box;
  }

  // "%3.2f" with the user's decimal separator.
  static QString FormatPercent(float value) {
    return QLocale().toString(static_cast<double>(value), 'f', 2).rightJustified(3);
  }

  void eSexTextChange(void (TCPSex::*setter)(const std::string&), const QString& text) {
    auto* p = Target<TCPSexGen>();
    if (!p) return;
    (p->*setter)(ToAnsi(text));
  }

  // Text that is not a decimal number (a field being typed, say) stores 33.3333.
  void eSexPercentChange(void (TCPSex::*setter)(float), const QString& text) {
    auto* p = Target<TCPSexGen>();
    if (!p) return;
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    (p->*setter)(ok ? static_cast<float>(value) : 33.3333f);
  }

  QLineEdit* eSexMister;
  QLineEdit* eSexMissis;
  QLineEdit* eSexMiss;
  QLineEdit* eSexMisterp;
  QLineEdit* eSexMissisp;
  QLineEdit* eSexMissp;
};

}  // namespace

TParamPage* NewFirstNamePage(TPageContext& ctx) { return new TFirstNamePage(ctx); }
TParamPage* NewLastNamePage(TPageContext& ctx) { return new TLastNamePage(ctx); }
TParamPage* NewFirstLastNamePage(TPageContext& ctx) { return new TFirstLastNamePage(ctx); }
TParamPage* NewEmailPage(TPageContext& ctx) { return new TEmailPage(ctx); }
TParamPage* NewWebSitePage(TPageContext& ctx) { return new TWebSitePage(ctx); }
TParamPage* NewSexPage(TPageContext& ctx) { return new TSexPage(ctx); }

}  // namespace kelvast::ui
