#include "ui/param_pages/param_page_set.h"

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
  // In type order: the position of each factory is the ordinal of its TColType.
  using TFactory = TParamPage* (*)(TPageContext&);
  static constexpr TFactory kFactories[kColTypeCount] = {
      NewNonePage,        NewStringPage,   NewFirstNamePage, NewLastNamePage, NewFirstLastNamePage,
      NewDictWordPage,    NewMemoPage,     NewZipPage,       NewCityPage,     NewAddressPage,
      NewCountryPage,     NewUSStatesPage, NewMaskPage,      NewIntegerPage,  NewBitPage,
      NewIncrementalPage, NewFloatPage,    NewDatePage,      NewTimePage,     NewDateTimePage,
      NewColRefPage,      NewConstPage,    NewComboPage,     NewEmailPage,    NewWebSitePage,
      NewSexPage};
  for (TFactory factory : kFactories) {
    TParamPage* page = factory(FImpl->Context);
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
}

void TParamPageSet::ClearReferenceLists() {
  for (const char* name : {"cbCRTable", "cbCRField"})
    if (auto* box = findChild<QComboBox*>(QString::fromLatin1(name))) box->clear();
}

}  // namespace kelvast::ui
