// SPDX-License-Identifier: MIT
#pragma once
// One word list made ready for drawing on the record loop: each entry shaped once (trimmed,
// cased, made safe, or left out when it does not fit) into packed texts, then drawn uniformly
// with the next index drawn ahead. It is shaped again only when the word lists, the list or the
// shaping argument change. Every list draw of the generators goes through one.
//
//   FTowns.Prepare(WordsOf(Context()), TWordList::WorldTowns, ShapeTown);
//   if (!FTowns.Values().empty()) FTowns.AppendDraw(out);

#include <cstdint>
#include <string>
#include <string_view>

#include "core/generators/word_lists.h"
#include "core/platform/packed_texts.h"

namespace kelvast {

class TPreparedList {
 public:
  // Shapes one entry into `value`; false leaves the entry out of the draws.
  using TShape = bool (*)(std::string_view entry, std::string& value, int32_t argument);

  // The entries trimmed, nothing left out.
  static bool Trimmed(std::string_view entry, std::string& value, int32_t argument);

  // Shapes the list's entries when the lists, the list or the argument changed since last time.
  const TPackedTexts& Prepare(const TWordLists& words, TWordList list, TShape shape,
                              int32_t argument = 0);
  const TPackedTexts& Values() const { return FValues; }

  // Appends one entry drawn uniformly; the list must not be empty.
  void AppendDraw(TTextBuffer& out) { FValues.AppendTo(out, FAhead.Next(FValues)); }
  // One entry drawn uniformly, as a view of the list; the list must not be empty.
  std::string_view Draw() { return FValues[FAhead.Next(FValues)]; }

 private:
  TPackedTexts FValues;
  TDrawAhead FAhead;
  uint64_t FGeneration = 0;
  int FList = -1;
  int32_t FArgument = 0;
  TShape FShape = nullptr;
};

}  // namespace kelvast
