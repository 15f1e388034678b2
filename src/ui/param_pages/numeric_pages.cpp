// SPDX-License-Identifier: MIT
// Pages of the numeric generators: integer, bit, incremental and float.

#include "core/generators/numeric_gens.h"
#include "ui/param_pages/float_edit.h"
#include "ui/param_pages/page_kit.h"
#include "ui/param_pages/range_check.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <cfloat>
#include <climits>

namespace kelvast::ui {

namespace {

class TIntegerPage : public TParamPage {
 public:
  explicit TIntegerPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("Integer"), QStringLiteral("Integer generator")) {
    // "&&" shows a single ampersand.
    rgIntSign =
        new TRadioGroup(QStringLiteral("rgIntSign"), QStringLiteral("Sign"),
                        {QStringLiteral("Only negative"), QStringLiteral("Positive && Negative"),
                         QStringLiteral("Only positive")},
                        1, this);
    seIntMini = NewSpin(QStringLiteral("seIntMini"), INT_MIN, INT_MAX, 1, true);
    seIntMaxi = NewSpin(QStringLiteral("seIntMaxi"), INT_MIN, INT_MAX, 1, true);
    AddWide(rgIntSign);
    AddRow(QStringLiteral("Minimum value"), seIntMini);
    AddRow(QStringLiteral("Maximum value"), seIntMaxi);
    rgntint = AddExportGroup(QStringLiteral("rgntint"));
    connect(rgIntSign, &TRadioGroup::Click, this, &TIntegerPage::rgIntSignClick);
    connect(seIntMini, &QSpinBox::valueChanged, this, &TIntegerPage::seIntMiniChange);
    connect(seIntMaxi, &QSpinBox::valueChanged, this, &TIntegerPage::seIntMaxiChange);
    AddUniqueRow();
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPInteger*>(&param);
    if (!p) return;
    // A sign outside -1..1 leaves every item unchecked.
    rgIntSign->SetItemIndex(p->Sign() >= -1 && p->Sign() <= 1 ? p->Sign() + 1 : -1);
    seIntMini->setValue(p->MinValue());
    seIntMaxi->setValue(p->MaxValue());
    rgntint->SetItemIndex(p->ExportType());
    RangeCheck()->Update();
  }

 private:
  void rgIntSignClick(int index) {
    if (auto* p = Target<TCPInteger>()) p->SetSign(index - 1);
  }

  TRangeCheck* RangeCheck() {
    if (!FRange)
      FRange = new TRangeCheck(
          this, Grid(), seIntMaxi, [this] { return seIntMaxi->value() < seIntMini->value(); },
          QStringLiteral("Minimum value can't be greater than maximum value..."));
    return FRange;
  }

  void seIntMiniChange(int value) {
    auto* p = Target<TCPInteger>();
    if (!p) return;
    RangeCheck()->Changed(seIntMini);
    p->SetMinValue(value);
  }

  void seIntMaxiChange(int value) {
    auto* p = Target<TCPInteger>();
    if (!p) return;
    RangeCheck()->Changed(seIntMaxi);
    p->SetMaxValue(value);
  }

  TRadioGroup* rgIntSign;
  QSpinBox* seIntMini;
  QSpinBox* seIntMaxi;
  TRadioGroup* rgntint;
  TRangeCheck* FRange = nullptr;
};

class TBitPage : public TParamPage {
 public:
  explicit TBitPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("Bit"), QStringLiteral("Bit generator")) {
    rgntbit = AddExportGroup(QStringLiteral("rgntbit"));
    eBit0 = NewEdit(QStringLiteral("eBit0"));
    eBit1 = NewEdit(QStringLiteral("eBit1"));
    AddRow(QStringLiteral("\"0\" value"), eBit0);
    AddRow(QStringLiteral("\"1\" value"), eBit1);
    connect(eBit0, &QLineEdit::textChanged, this, &TBitPage::eBit0Change);
    connect(eBit1, &QLineEdit::textChanged, this, &TBitPage::eBit1Change);
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPBit*>(&param);
    if (!p) return;
    rgntbit->SetItemIndex(p->ExportType());
    eBit0->setText(FromAnsi(p->ZeroValue()));
    eBit1->setText(FromAnsi(p->OneValue()));
  }

 private:
  void eBit0Change(const QString& text) {
    if (auto* p = Target<TCPBit>()) p->SetZeroValue(ToAnsi(text));
  }

  void eBit1Change(const QString& text) {
    if (auto* p = Target<TCPBit>()) p->SetOneValue(ToAnsi(text));
  }

  TRadioGroup* rgntbit;
  QLineEdit* eBit0;
  QLineEdit* eBit1;
};

class TIncrementalPage : public TParamPage {
 public:
  explicit TIncrementalPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("Incremental"), QStringLiteral("Incremental generator")) {
    seINCStart = NewSpin(QStringLiteral("seINCStart"), INT_MIN, INT_MAX);
    seINCStep = NewSpin(QStringLiteral("seINCStep"), INT_MIN, INT_MAX);
    AddRow(QStringLiteral("Starting value"), seINCStart);
    AddRow(QStringLiteral("Step"), seINCStep);
    rgntinc = AddExportGroup(QStringLiteral("rgntinc"));
    connect(seINCStart, &QSpinBox::valueChanged, this, &TIncrementalPage::seINCStartChange);
    connect(seINCStep, &QSpinBox::valueChanged, this, &TIncrementalPage::seINCStepChange);
    AddUniqueRow();
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPIncremental*>(&param);
    if (!p) return;
    seINCStart->setValue(p->StartValue());
    seINCStep->setValue(p->Step());
    rgntinc->SetItemIndex(p->ExportType());
  }

 private:
  void seINCStartChange(int value) {
    if (auto* p = Target<TCPIncremental>()) p->SetStartValue(value);
  }

  void seINCStepChange(int value) {
    if (auto* p = Target<TCPIncremental>()) p->SetStep(value);
  }

  QSpinBox* seINCStart;
  QSpinBox* seINCStep;
  TRadioGroup* rgntinc;
};

class TFloatPage : public TParamPage {
 public:
  explicit TFloatPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("Float"), QStringLiteral("Float generator")) {
    seFloatMini = NewFloatSpin(QStringLiteral("seFloatMini"));
    seFloatMaxi = NewFloatSpin(QStringLiteral("seFloatMaxi"));
    seFloatPrec = NewSpin(QStringLiteral("seFloatPrec"), 0, 9);
    AddRow(QStringLiteral("Minimum value"), seFloatMini);
    AddRow(QStringLiteral("Maximum value"), seFloatMaxi);
    AddRow(QStringLiteral("Precision"), seFloatPrec);
    cbFloatFixed = NewCheck(QStringLiteral("cbFloatFixed"),
                            QStringLiteral("Always write every decimal (24.00)"));
    AddWide(cbFloatFixed);
    rgntfloat = AddExportGroup(QStringLiteral("rgntfloat"));
    connect(seFloatMini, &TFloatEdit::ValueChanged, this, &TFloatPage::seFloatMiniChange);
    connect(seFloatMaxi, &TFloatEdit::ValueChanged, this, &TFloatPage::seFloatMaxiChange);
    connect(seFloatPrec, &QSpinBox::valueChanged, this, &TFloatPage::seFloatPrecChange);
    connect(cbFloatFixed, &QCheckBox::toggled, this, &TFloatPage::cbFloatFixedClick);
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPFloat*>(&param);
    if (!p) return;
    seFloatMini->SetValue(p->MinValue());
    seFloatMaxi->SetValue(p->MaxValue());
    seFloatPrec->setValue(p->Precision());
    cbFloatFixed->setChecked(p->FixedDecimals());
    rgntfloat->SetItemIndex(p->ExportType());
    RangeCheck()->Update();
  }

 private:
  TFloatEdit* NewFloatSpin(const QString& name) {
    auto* edit = new TFloatEdit(this);
    edit->setObjectName(name);
    edit->setMinimumWidth(200);
    return edit;
  }

  // Equal bounds conflict too: the float generator needs a span to draw from.
  TRangeCheck* RangeCheck() {
    if (!FRange)
      FRange = new TRangeCheck(
          this, Grid(), seFloatMaxi, [this] { return seFloatMaxi->Value() <= seFloatMini->Value(); },
          QStringLiteral("Maximum value must be greater than minimum value..."));
    return FRange;
  }

  void seFloatMiniChange(double value) {
    auto* p = Target<TCPFloat>();
    if (!p) return;
    RangeCheck()->Changed(seFloatMini);
    p->SetMinValue(value);
  }

  void seFloatMaxiChange(double value) {
    auto* p = Target<TCPFloat>();
    if (!p) return;
    RangeCheck()->Changed(seFloatMaxi);
    p->SetMaxValue(value);
  }

  void seFloatPrecChange(int value) {
    if (auto* p = Target<TCPFloat>()) p->SetPrecision(value);
  }

  void cbFloatFixedClick(bool checked) {
    if (auto* p = Target<TCPFloat>()) p->SetFixedDecimals(checked);
  }

  TFloatEdit* seFloatMini;
  TFloatEdit* seFloatMaxi;
  QSpinBox* seFloatPrec;
  QCheckBox* cbFloatFixed;
  TRangeCheck* FRange = nullptr;
  TRadioGroup* rgntfloat;
};

}  // namespace

TParamPage* NewIntegerPage(TPageContext& ctx) { return new TIntegerPage(ctx); }
TParamPage* NewBitPage(TPageContext& ctx) { return new TBitPage(ctx); }
TParamPage* NewIncrementalPage(TPageContext& ctx) { return new TIncrementalPage(ctx); }
TParamPage* NewFloatPage(TPageContext& ctx) { return new TFloatPage(ctx); }

}  // namespace kelvast::ui
