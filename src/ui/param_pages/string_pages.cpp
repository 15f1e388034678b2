// SPDX-License-Identifier: MIT
// Pages of the character and pattern generators: String, Zip, Mask and Const.

#include "core/generators/string_gens.h"
#include "ui/dialogs/charset_editor.h"
#include "ui/param_pages/page_kit.h"
#include "ui/param_pages/range_check.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace kelvast::ui {

namespace {

class TStringPage : public TParamPage {
 public:
  explicit TStringPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("String"), QStringLiteral("String generator")) {
    seStringLength = NewSpin(QStringLiteral("seStringLength"), 1, 32000, 5, true);
    seStringmini = NewSpin(QStringLiteral("seStringmini"), 1, 200000, 5, true);
    btnStringCharset = NewEllipsis(QStringLiteral("btnStringCharset"));
    AddRow(QStringLiteral("Data length"), seStringLength);
    AddRow(QStringLiteral("Minimum size"), seStringmini);
    AddRow(QStringLiteral("Character set"), btnStringCharset);
    connect(seStringLength, &QSpinBox::valueChanged, this, &TStringPage::seStringLengthChange);
    connect(seStringmini, &QSpinBox::valueChanged, this, &TStringPage::seStringminiChange);
    connect(btnStringCharset, &QPushButton::clicked, this, &TStringPage::btnStringCharsetClick);
    FLengthCheck = new TRangeCheck(
        this, Grid(), seStringmini, [this] { return seStringLength->value() < seStringmini->value(); },
        QString::fromLatin1(kMinAboveMaxMessage));
    AddUniqueRow();
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPString*>(&param);
    if (!p) return;
    seStringLength->setValue(p->DataLength());
    seStringmini->setValue(p->MinSize());
    FLengthCheck->Update();
  }

 private:
  void seStringLengthChange(int value) {
    auto* p = Target<TCPString>();
    if (!p) return;
    FLengthCheck->Update();
    p->SetDataLength(value);
  }

  void seStringminiChange(int value) {
    auto* p = Target<TCPString>();
    if (!p) return;
    FLengthCheck->Changed(seStringmini);
    p->SetMinSize(value);
  }

  void btnStringCharsetClick() {
    auto* p = Target<TCPString>();
    if (!p) return;
    // The editor works on a copy; the setter marks the generator changed only when the set
    // differs, so a cancelled or unchanged edit leaves the model as it was.
    TCharSet set = p->Charset();
    EditCharset(set, this);
    p->SetCharset(set);
  }

  QSpinBox* seStringLength;
  QSpinBox* seStringmini;
  QPushButton* btnStringCharset;
  TRangeCheck* FLengthCheck;
};

class TZipPage : public TParamPage {
 public:
  explicit TZipPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("Zip"), QStringLiteral("Zip code generator")) {
    cbZletters = NewCheck(QStringLiteral("cbZletters"), QStringLiteral("Include letters"));
    cbZNumbers = NewCheck(QStringLiteral("cbZNumbers"), QStringLiteral("Include numbers"));
    seZlength = NewSpin(QStringLiteral("seZlength"), 2, 100);
    AddWide(cbZletters);
    AddWide(cbZNumbers);
    AddRow(QStringLiteral("Code length"), seZlength);
    rgntzip = AddExportGroup(QStringLiteral("rgntzip"));
    connect(cbZletters, &QCheckBox::toggled, this, &TZipPage::cbZlettersClick);
    connect(cbZNumbers, &QCheckBox::toggled, this, &TZipPage::cbZNumbersClick);
    connect(seZlength, &QSpinBox::valueChanged, this, &TZipPage::seZlengthChange);
    AddUniqueRow();
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPZip*>(&param);
    if (!p) return;
    cbZletters->setChecked(p->Letters());
    cbZNumbers->setChecked(p->Numbers());
    seZlength->setValue(p->DataLength());
    rgntzip->SetItemIndex(p->ExportType());
  }

 private:
  // Advisory only: a zip code of neither letters nor digits is allowed into the model.
  void WarnWhenEmpty() {
    if (!cbZletters->isChecked() && !cbZNumbers->isChecked())
      Warn(QStringLiteral("You must select at least letters or numbers !"));
  }

  void cbZlettersClick(bool checked) {
    auto* p = Target<TCPZip>();
    if (!p) return;
    WarnWhenEmpty();
    p->SetLetters(checked);
  }

  void cbZNumbersClick(bool checked) {
    auto* p = Target<TCPZip>();
    if (!p) return;
    WarnWhenEmpty();
    p->SetNumbers(checked);
  }

  void seZlengthChange(int value) {
    if (auto* p = Target<TCPZip>()) p->SetDataLength(value);
  }

  QCheckBox* cbZletters;
  QCheckBox* cbZNumbers;
  QSpinBox* seZlength;
  TRadioGroup* rgntzip;
};

class TMaskPage : public TParamPage {
 public:
  explicit TMaskPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("Mask"), QStringLiteral("Mask generator")) {
    eMask = NewEdit(QStringLiteral("eMask"));
    AddRow(QStringLiteral("Mask"), eMask);
    rgntmask = AddExportGroup(QStringLiteral("rgntmask"));
    AddWide(NewLegend());
    connect(eMask, &QLineEdit::textChanged, this, &TMaskPage::eMaskChange);
    AddUniqueRow();
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPFormatted*>(&param);
    if (!p) return;
    eMask->setText(FromAnsi(p->Mask()));
    rgntmask->SetItemIndex(p->ExportType());
  }

 private:
  QWidget* NewLegend() {
    static const char* const kLegend[][2] = {
        {"a", "Char in [a..z]"},      {"A", "Char in [A..Z]"},
        {"0", "Char in [0..9]"},      {"?", "will generate any character in range [!../]"},
        {"z", "Char in [a..z,0..9]"}, {"Z", "Char in [A..Z,0..9]"},
    };
    auto* legend = new QWidget(this);
    auto* grid = new QGridLayout(legend);
    grid->setContentsMargins(0, 4, 0, 0);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(1);
    int row = 0;
    for (const auto& [symbol, meaning] : kLegend) {
      auto* symbolLabel = new QLabel(QString::fromLatin1(symbol), legend);
      QFont bold = symbolLabel->font();
      bold.setBold(true);
      symbolLabel->setFont(bold);
      grid->addWidget(symbolLabel, row, 0);
      grid->addWidget(new QLabel(QString::fromLatin1(meaning), legend), row, 1);
      ++row;
    }
    grid->setColumnStretch(1, 1);
    return legend;
  }

  void eMaskChange(const QString& text) {
    if (auto* p = Target<TCPFormatted>()) p->SetMask(ToAnsi(text));
  }

  QLineEdit* eMask;
  TRadioGroup* rgntmask;
};

class TConstPage : public TParamPage {
 public:
  explicit TConstPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("Const"), QStringLiteral("Const generator")) {
    eConst = NewEdit(QStringLiteral("eConst"));
    AddRow(QStringLiteral("Const value"), eConst);
    rgntconst = AddExportGroup(QStringLiteral("rgntconst"));
    connect(eConst, &QLineEdit::textChanged, this, &TConstPage::eConstChange);
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPConst*>(&param);
    if (!p) return;
    eConst->setText(FromAnsi(p->ConstValue()));
    rgntconst->SetItemIndex(p->ExportType());
  }

 private:
  void eConstChange(const QString& text) {
    if (auto* p = Target<TCPConst>()) p->SetConstValue(ToAnsi(text));
  }

  QLineEdit* eConst;
  TRadioGroup* rgntconst;
};

}  // namespace

TParamPage* NewStringPage(TPageContext& ctx) { return new TStringPage(ctx); }
TParamPage* NewZipPage(TPageContext& ctx) { return new TZipPage(ctx); }
TParamPage* NewMaskPage(TPageContext& ctx) { return new TMaskPage(ctx); }
TParamPage* NewConstPage(TPageContext& ctx) { return new TConstPage(ctx); }

}  // namespace kelvast::ui
