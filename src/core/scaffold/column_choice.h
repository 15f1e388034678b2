// SPDX-License-Identifier: MIT
#pragma once
// The generator a column gets when models are built from a live schema: chosen from the column's
// name (first and last names, e-mail, city, phone, ...) and then from its type, length,
// precision, scale and nullability, so that every value fits the column.
//
//   TColumnChoice choice(words, "/tmp/shop/lists");
//   choice.Choose(model.Cols().Add(), column);           // "email varchar(40)" -> ctemail
//   choice.FitToColumn(model, item, column);              // after every column is chosen
//   MaxValueLength(item.Param(), words, &model)           // at most 40

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/database/schema.h"

namespace kelvast {

class TColParams;
class TColToGenItem;
class TGenModel;
class TWordLists;

// The longest value the generator can write with these word lists, in characters; -1 when it
// cannot be bounded (a value of the column's own type, a number, a date).
int64_t MaxValueLength(const TColParams& param, const TWordLists& words, const TGenModel* model);

// The column's length limit for generated text: its maximum length for text columns, 0 for none
// (unbounded text, or a column that is not text).
int64_t TextLimit(const TColumnInfo& column);
bool IsTextColumn(const TColumnInfo& column);
bool IsIntegerColumn(const TColumnInfo& column);
// The largest value of an integer column's type.
int64_t IntegerTypeMax(const TColumnInfo& column);

class TColumnChoice {
 public:
  // Where a list file goes: given its path and text (lines ended by CR LF).
  using TListWriter =
      std::function<void(const std::filesystem::path& file, const std::string& text)>;

  // `listFolder`: where the lists of values cut to a column's length are written when a
  // generator's own list holds longer ones. `writeList`, when given, takes each list file
  // instead of the disk (the caller writes them later).
  TColumnChoice(const TWordLists& words, std::filesystem::path listFolder,
                TListWriter writeList = nullptr);

  // Sets the item's type and parameters for the column (names are the caller's). Nullable
  // columns get a few NULLs, NOT NULL columns none.
  void Choose(TColToGenItem& item, const TColumnInfo& column) const;

  // Makes sure no value of the item is longer than the column: a list generator whose entries
  // can be longer draws from its entries that fit (a list file named after table and column), any
  // other generator that can overrun becomes a random string of the column's length. Run once
  // the model holds all its generators (e-mail addresses read the model's names).
  void FitToColumn(const TGenModel& model, TColToGenItem& item, const TColumnInfo& column,
                   const std::string& table) const;

 private:
  const TWordLists& FWords;
  std::filesystem::path FListFolder;
  TListWriter FWriteList;
};

}  // namespace kelvast
