// SPDX-License-Identifier: MIT
#pragma once
// TColToGens, the ordered collection of a model's generators, and TColToGenItem, one generator
// (one output column) with its parameter object.

#include <memory>
#include <string>
#include <vector>

#include "core/model/col_params.h"
#include "core/model/col_types.h"
#include "core/model/persistent.h"

namespace kelvast {

class TColToGens;
class TGenModel;

class TColToGenItem : public TPersistent {
 public:
  // Creates the item with empty names and type ctstring (a fresh TCPString), which reports a
  // change to the collection.
  explicit TColToGenItem(TColToGens* collection);
  ~TColToGenItem() override;

  std::string_view ClassName() const override { return "TColToGenItem"; }
  const TPropList& Props() const override;

  const std::string& ColName() const { return FColName; }
  virtual void SetColName(const std::string& v);
  const std::string& DBColName() const { return FDBColName; }
  void SetDBColName(const std::string& v);

  TColType ColType() const { return FColType; }
  // Replaces the parameter object by a new one of the type's class, unless the type is unchanged.
  void SetColType(TColType t);

  TColParams& Param() const { return *FParam; }
  TColParams* ParamPtr() { return FParam.get(); }

  bool Modified() const { return FModified; }
  // Stores the flag here and in the parameter object; fires nothing.
  void SetModified(bool v);

  // Reports a change to the collection, then marks the item.
  virtual void Changed();

  // The item's name as lists show it.
  const std::string& DisplayName() const { return FColName; }

 private:
  TColToGens* FCollection;
  std::string FColName;
  std::string FDBColName;
  TColType FColType = ctnone;
  std::unique_ptr<TColParams> FParam;
  bool FModified = false;
};

class TColToGens : public TPersistentCollection {
 public:
  // `owner` is what the generators of the collection may reach of their model (null: nothing).
  explicit TColToGens(const TGeneratorOwner* owner) : FOwner(owner) {}
  ~TColToGens() override;

  std::string_view ClassName() const override { return "TColToGens"; }
  const TPropList& Props() const override;

  const TGeneratorOwner* Owner() const { return FOwner; }

  int Count() const override { return static_cast<int>(FItems.size()); }
  TColToGenItem& Items(int index) const { return *FItems.at(static_cast<size_t>(index)); }
  TColToGenItem& operator[](int index) const { return Items(index); }

  // Appends a new item and returns it.
  TColToGenItem& Add();
  // Destroys the item at index and its parameter object.
  void Delete(int index);
  void Clear() override;

  // The first item whose ColName equals name, ASCII letters compared without regard to case.
  TColToGenItem* FindByName(std::string_view name) const;
  int IndexOfName(std::string_view name) const;
  // The first item whose DBColName equals name without regard to case under the locale rules;
  // none for a blank name.
  TColToGenItem* FindByFieldName(std::string_view name) const;

  bool Modified() const { return FModified; }
  void SetModified(bool v) { FModified = v; }

  // Marks the collection modified, or remembers the change until the batch update ends.
  void Changed();
  // While a batch update is open, change reports are held back; the end reports one change if
  // any happened.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

  // TPersistentCollection
  TPersistent& ItemAt(int index) override { return Items(index); }
  const TPersistent& ItemAt(int index) const override { return Items(index); }
  TPersistent& AddItem() override { return Add(); }

 private:
  const TGeneratorOwner* FOwner;
  std::vector<std::unique_ptr<TColToGenItem>> FItems;
  bool FModified = false;
  int FUpdateCount = 0;
  bool FPendingChange = false;
};

// Holds a collection's change reports back for the lifetime of the guard.
class TBatchUpdate {
 public:
  explicit TBatchUpdate(TColToGens& cols) : FCols(cols) { FCols.BeginUpdate(); }
  ~TBatchUpdate() { FCols.EndUpdate(); }
  TBatchUpdate(const TBatchUpdate&) = delete;
  TBatchUpdate& operator=(const TBatchUpdate&) = delete;

 private:
  TColToGens& FCols;
};

}  // namespace kelvast
