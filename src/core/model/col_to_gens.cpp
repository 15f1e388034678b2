// SPDX-License-Identifier: MIT
#include "core/model/col_to_gens.h"

#include "core/model/param_factory.h"
#include "core/platform/code_page.h"
#include "core/platform/text_utils.h"

namespace kelvast {

// ---- TColToGenItem ----

TColToGenItem::TColToGenItem(TColToGens* collection) : FCollection(collection) {
  SetColType(ctstring);
}

TColToGenItem::~TColToGenItem() = default;

const TPropList& TColToGenItem::Props() const {
  using C = TColToGenItem;
  static const TPropList kProps{{
      TextProp<C>("ColName", &C::ColName, &C::SetColName),
      TextProp<C>("DBColName", &C::DBColName, &C::SetDBColName),
      EnumProp<C, TColType>("ColType", kColTypeIdents, &C::ColType, &C::SetColType),
      ObjectProp<C>("Param", &C::ParamPtr),
      BoolProp<C>("Modified", &C::Modified, &C::SetModified),
  }};
  return kProps;
}

void TColToGenItem::SetColName(const std::string& v) {
  if (FColName == v) return;
  FColName = v;
  Changed();
}

void TColToGenItem::SetDBColName(const std::string& v) {
  if (FDBColName == v) return;
  FDBColName = v;
  Changed();
}

void TColToGenItem::SetColType(TColType t) {
  if (t == FColType && FParam) return;
  FColType = t;
  FParam = CreateParams(t);
  FParam->SetOwner(FCollection ? FCollection->Owner() : nullptr);
  FParam->OnChange = [this](TColParams&) { Changed(); };
  Changed();
}

void TColToGenItem::SetModified(bool v) {
  FModified = v;
  FParam->SetModified(v);
}

void TColToGenItem::Changed() {
  if (FCollection) FCollection->Changed();
  FModified = true;
}

// ---- TColToGens ----

TColToGens::~TColToGens() = default;

const TPropList& TColToGens::Props() const {
  static const TPropList kProps;
  return kProps;
}

TColToGenItem& TColToGens::Add() {
  FItems.push_back(std::make_unique<TColToGenItem>(this));
  Changed();
  return *FItems.back();
}

void TColToGens::Delete(int index) {
  FItems.erase(FItems.begin() + index);
  Changed();
}

void TColToGens::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

TColToGenItem* TColToGens::FindByName(std::string_view name) const {
  const int i = IndexOfName(name);
  return i < 0 ? nullptr : FItems[static_cast<size_t>(i)].get();
}

int TColToGens::IndexOfName(std::string_view name) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (SameTextAscii(FItems[i]->ColName(), name)) return static_cast<int>(i);
  return -1;
}

TColToGenItem* TColToGens::FindByFieldName(std::string_view name) const {
  if (IsBlank(name)) return nullptr;
  for (const auto& item : FItems)
    if (SameTextAnsi(item->DBColName(), name)) return item.get();
  return nullptr;
}

void TColToGens::Changed() {
  if (FUpdateCount > 0) {
    FPendingChange = true;
    return;
  }
  FModified = true;
}

void TColToGens::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FPendingChange) {
    FPendingChange = false;
    FModified = true;
  }
}

}  // namespace kelvast
