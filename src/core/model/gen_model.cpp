// SPDX-License-Identifier: MIT
#include "core/model/gen_model.h"

#include "core/model/param_factory.h"
#include "core/platform/random.h"
#include "core/platform/text_utils.h"

namespace kelvast {


TGenModel::TGenModel() : FPerson(CreatePerson()) { FPerson->SetOwner(this); }

TGenModel::~TGenModel() = default;

TColParams* TGenModel::FindGenerator(std::string_view name) const {
  TColToGenItem* item = FCols.FindByName(name);
  return item ? &item->Param() : nullptr;
}

const TPropList& TGenModel::Props() const {
  using C = TGenModel;
  static const TPropList kProps{{
      IntProp<C>("Tag", &C::Tag, &C::SetTag, 0),
      TextProp<C>("Description", &C::Description, &C::SetDescription),
      TextProp<C>("Database", &C::Database, &C::SetDatabase),
      TextProp<C>("ConnectionString", &C::ConnectionString, &C::SetConnectionString),
      TextProp<C>("TableName", &C::TableName, &C::SetTableName),
      ObjectProp<C>("Cols", &C::ColsPtr, TPropKind::Collection),
      TextProp<C>("SQLFile", &C::SQLFile, &C::SetSQLFile),
      IntProp<C>("RecNumber", &C::RecNumber, &C::SetRecNumber),
      TextProp<C>("Delimiter", &C::Delimiter, &C::SetDelimiter),
      TextProp<C>("StringDelimiter", &C::StringDelimiter, &C::SetStringDelimiter),
      BoolProp<C>("Modified", &C::Modified, &C::SetModified),
  }};
  return kProps;
}

void TGenModel::SetText(std::string& field, const std::string& v) {
  if (field == v) return;
  field = v;
  FModified = true;
}

std::string TGenModel::Delimiter() const { return ReadDelimiter(FDelimiter); }
std::string TGenModel::StringDelimiter() const { return ReadDelimiter(FStringDelimiter); }

void TGenModel::SetDelimiter(const std::string& v) {
  if (FDelimiter == v) return;
  FDelimiter = v;
  FModified = true;
  for (const auto& item : FCols) item->Param().ModelDelimiterChanged(true, v);
}

void TGenModel::SetStringDelimiter(const std::string& v) {
  if (FStringDelimiter == v) return;
  FStringDelimiter = v;
  FModified = true;
  for (const auto& item : FCols) item->Param().ModelDelimiterChanged(false, v);
}

bool TGenModel::Modified() const { return FModified || FCols.Modified(); }

void TGenModel::SetModified(bool v) {
  FModified = v;
  FCols.SetModified(v);
  for (const auto& item : FCols) item->SetModified(v);
}

void TGenModel::PrepareAll(TDataAccess* connection, const TWordLists* words) {
  const TGenContext context{this, connection, words};
  FRecord = 0;
  FPerson->Prepare(context);
  for (const auto& item : FCols) item->Param().Prepare(context);
  FUniqueKeys.Build(*this);
  // A model without unique keys draws nothing here, so its runs are as they always were.
  if (!FUniqueKeys.Empty()) FUniqueKeys.Seed(GlobalRandom().Next());
}

void TGenModel::NewRecord(int64_t record) {
  FRecord = record;
  for (const auto& item : FCols) item->Param().ClearLastValue();
  if (!FUniqueKeys.Empty()) FUniqueKeys.NewRecord(record);
  FPerson->ClearLastValue();
  FPerson->GetValue();
}

}  // namespace kelvast
