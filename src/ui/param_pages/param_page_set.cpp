// SPDX-License-Identifier: MIT
#include "ui/param_pages/param_page_set.h"

#include "core/generators/registry.h"
#include "ui/param_pages/page_kit.h"

#include <QComboBox>
#include <vector>

namespace kelvast::ui {

namespace {

// The page of a generator without a type.
class TNonePage : public TParamPage {
 public:
  explicit TNonePage(TPageContext& ctx)
      : TParamPage(ctx, QStringLiteral("none"), QStringLiteral("No parameters")) {}
};

}  // namespace

TParamPage* NewNonePage(TPageContext& ctx) { return new TNonePage(ctx); }

class TParamPageSet::TImpl {
 public:
  TImpl(TUiState& state, TParamPageSet& set) : Context{state, set} {}

  TPageContext Context;
  std::vector<TParamPage*> Pages;
};

TParamPageSet::TParamPageSet(TUiState& state, QWidget* parent)
    : QStackedWidget(parent), FImpl(new TImpl(state, *this)) {
  setObjectName(QStringLiteral("ntbtype"));
  // The window's column of the generator-type catalogue: each type's page, in type order so
  // that a page's position is its type's ordinal.
  using TFactory = TParamPage* (*)(TPageContext&);
  struct TPageOfType {
    TColType Type;
    TFactory New;
  };
  static constexpr TPageOfType kPages[] = {
      {ctnone, NewNonePage},           {ctstring, NewStringPage},
      {ctFirstName, NewFirstNamePage}, {ctLastName, NewLastNamePage},
      {ctFirstLastName, NewFirstLastNamePage}, {ctDictWord, NewDictWordPage},
      {ctMemo, NewMemoPage},           {ctZip, NewZipPage},
      {ctTown, NewCityPage},           {ctAddress, NewAddressPage},
      {ctCountry, NewCountryPage},     {ctUSStates, NewUSStatesPage},
      {ctFormatted, NewMaskPage},      {ctInteger, NewIntegerPage},
      {ctBit, NewBitPage},             {ctIncremental, NewIncrementalPage},
      {ctFloat, NewFloatPage},         {ctDate, NewDatePage},
      {ctTime, NewTimePage},           {ctDateTime, NewDateTimePage},
      {ctColRef, NewColRefPage},       {ctConst, NewConstPage},
      {ctCombo, NewComboPage},         {ctemail, NewEmailPage},
      {ctWeb, NewWebSitePage},         {ctSex, NewSexPage},
  };
  static_assert(std::size(kPages) == kColTypeCount, "one page for every generator type");
  for (size_t i = 0; i < std::size(kPages); ++i) {
    Q_ASSERT(kPages[i].Type == GeneratorTypes()[i].Type);
    TParamPage* page = kPages[i].New(FImpl->Context);
    FImpl->Pages.push_back(page);
    addWidget(page);
  }
  setCurrentIndex(ctnone);
  setEnabled(false);
}

TParamPageSet::~TParamPageSet() {
  // The pages refer to the shared context, so they go first.
  for (TParamPage* page : FImpl->Pages)
    delete page;
  delete FImpl;
}

void TParamPageSet::ShowParameters(TColToGenItem* item) {
  TUpdating updating(FImpl->Context.State);
  if (!item) {
    setCurrentIndex(ctnone);
    setEnabled(false);
    return;
  }
  setEnabled(true);
  const int type = item->ColType();
  if (type < 0 || type >= kColTypeCount) return;
  setCurrentIndex(type);
  FImpl->Pages[static_cast<size_t>(type)]->Load(item->Param());
  FImpl->Pages[static_cast<size_t>(type)]->LoadUnique(item->Param());
}

void TParamPageSet::ClearReferenceLists() {
  for (const char* name : {"cbCRTable", "cbCRField"})
    if (auto* box = findChild<QComboBox*>(QString::fromLatin1(name))) box->clear();
}

}  // namespace kelvast::ui
