// SPDX-License-Identifier: MIT
// Pages of the dictionary generators: dictionary word, memo, city, address, country and US state.

#include "core/generators/dictionary_gens.h"
#include "ui/param_pages/page_kit.h"

#include <QCheckBox>
#include <QSpinBox>

namespace kelvast::ui {

namespace {

class TDictWordPage : public TParamPage {
 public:
  explicit TDictWordPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("Dictionary word"),
                   QStringLiteral("Dictionary word generator")) {
    cbDWFrench = NewCheck(QStringLiteral("cbDWFrench"), QStringLiteral("French dictionary"));
    seDWLength = NewSpin(QStringLiteral("seDWLength"), 7, 100);
    AddWide(cbDWFrench);
    AddRow(QStringLiteral("Max word length"), seDWLength);
    connect(cbDWFrench, &QCheckBox::toggled, this, &TDictWordPage::cbDWFrenchClick);
    connect(seDWLength, &QSpinBox::valueChanged, this, &TDictWordPage::seDWLengthChange);
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPDictWord*>(&param);
    if (!p) return;
    cbDWFrench->setChecked(p->French());
    seDWLength->setValue(p->DataLength());
  }

 private:
  void cbDWFrenchClick(bool checked) {
    if (auto* p = Target<TCPDictWord>()) p->SetFrench(checked);
  }

  void seDWLengthChange(int value) {
    if (auto* p = Target<TCPDictWord>()) p->SetDataLength(value);
  }

  QCheckBox* cbDWFrench;
  QSpinBox* seDWLength;
};

class TMemoPage : public TParamPage {
 public:
  explicit TMemoPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("Memo"), QStringLiteral("Memo generator")) {
    cbMRandom = NewCheck(QStringLiteral("cbMRandom"), QStringLiteral("Randomize length"));
    seMlength = NewSpin(QStringLiteral("seMlength"), 1, 32766, 10, true);
    cbMLorem = NewCheck(QStringLiteral("cbMLorem"), QStringLiteral("Lorem Ipsum"));
    AddWide(cbMRandom);
    AddRow(QStringLiteral("Max data size"), seMlength);
    AddWide(cbMLorem);
    connect(cbMRandom, &QCheckBox::toggled, this, &TMemoPage::cbMRandomClick);
    connect(seMlength, &QSpinBox::valueChanged, this, &TMemoPage::seMlengthChange);
    connect(cbMLorem, &QCheckBox::toggled, this, &TMemoPage::cbMLoremClick);
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPMemo*>(&param);
    if (!p) return;
    cbMRandom->setChecked(p->RandomizeLength());
    seMlength->setValue(p->DataLength());
    cbMLorem->setChecked(p->LoremIpsum());
  }

 private:
  void cbMRandomClick(bool checked) {
    if (auto* p = Target<TCPMemo>()) p->SetRandomizeLength(checked);
  }

  void seMlengthChange(int value) {
    if (auto* p = Target<TCPMemo>()) p->SetDataLength(value);
  }

  void cbMLoremClick(bool checked) {
    if (auto* p = Target<TCPMemo>()) p->SetLoremIpsum(checked);
  }

  QCheckBox* cbMRandom;
  QSpinBox* seMlength;
  QCheckBox* cbMLorem;
};

// City and Address: one "French" check box each.
template <class T>
class TFrenchPage : public TParamPage {
 public:
  TFrenchPage(TPageContext& ctx, const QString& name, const QString& header,
              const QString& checkName, const QString& caption)
      : TParamPage(ctx, name, header) {
    FFrench = NewCheck(checkName, caption);
    AddWide(FFrench);
    // cbCityFrenchClick, cbAddrFrenchClick
    connect(FFrench, &QCheckBox::toggled, this, [this](bool checked) {
      if (auto* p = Target<T>()) p->SetFrench(checked);
    });
  }

  void Load(TColParams& param) override {
    if (auto* p = dynamic_cast<T*>(&param)) FFrench->setChecked(p->French());
  }

 private:
  QCheckBox* FFrench;
};

class TCountryPage : public TParamPage {
 public:
  explicit TCountryPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("Country"), QStringLiteral("Country name generator")) {
    cbCountryFrench = NewCheck(QStringLiteral("cbCountryFrench"), QStringLiteral("French names"));
    cbCountryCode = NewCheck(QStringLiteral("cbCountryCode"), QStringLiteral("Country code"));
    AddWide(cbCountryFrench);
    AddWide(cbCountryCode);
    connect(cbCountryFrench, &QCheckBox::toggled, this, &TCountryPage::cbCountryFrenchClick);
    connect(cbCountryCode, &QCheckBox::toggled, this, &TCountryPage::cbCountryCodeClick);
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPCountry*>(&param);
    if (!p) return;
    cbCountryFrench->setChecked(p->French());
    cbCountryCode->setChecked(p->JustCode());
  }

 private:
  void cbCountryFrenchClick(bool checked) {
    if (auto* p = Target<TCPCountry>()) p->SetFrench(checked);
  }

  void cbCountryCodeClick(bool checked) {
    if (auto* p = Target<TCPCountry>()) p->SetJustCode(checked);
  }

  QCheckBox* cbCountryFrench;
  QCheckBox* cbCountryCode;
};

class TUSStatesPage : public TParamPage {
 public:
  explicit TUSStatesPage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("USStates"), QStringLiteral("USA State name generator")) {
    cbUSSShort = NewCheck(QStringLiteral("cbUSSShort"), QStringLiteral("Short name"));
    AddWide(cbUSSShort);
    connect(cbUSSShort, &QCheckBox::toggled, this, &TUSStatesPage::cbUSSShortClick);
  }

  void Load(TColParams& param) override {
    if (auto* p = dynamic_cast<TCPUSStates*>(&param)) cbUSSShort->setChecked(p->ShortName());
  }

 private:
  void cbUSSShortClick(bool checked) {
    if (auto* p = Target<TCPUSStates>()) p->SetShortName(checked);
  }

  QCheckBox* cbUSSShort;
};

}  // namespace

TParamPage* NewDictWordPage(TPageContext& ctx) { return new TDictWordPage(ctx); }
TParamPage* NewMemoPage(TPageContext& ctx) { return new TMemoPage(ctx); }
TParamPage* NewCityPage(TPageContext& ctx) {
  return new TFrenchPage<TCPTown>(ctx, QStringLiteral("City"),
                                  QStringLiteral("City name generator"),
                                  QStringLiteral("cbCityFrench"), QStringLiteral("French cities"));
}
TParamPage* NewAddressPage(TPageContext& ctx) {
  return new TFrenchPage<TCPAddress>(
      ctx, QStringLiteral("Address"), QStringLiteral("Address generator"),
      QStringLiteral("cbAddrFrench"), QStringLiteral("French address"));
}
TParamPage* NewCountryPage(TPageContext& ctx) { return new TCountryPage(ctx); }
TParamPage* NewUSStatesPage(TPageContext& ctx) { return new TUSStatesPage(ctx); }

}  // namespace kelvast::ui
