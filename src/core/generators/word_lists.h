// SPDX-License-Identifier: MIT
#pragma once
// The twelve reference word lists. The program's lists are one shared set, read from the Dict
// folder at the start of every run and sample and emptied at their end; generators read the set
// their Prepare context names, only in between.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/gen_context.h"

namespace kelvast {

enum class TWordList : int {
  BoyNames,
  GirlNames,
  FrenchWords,
  EnglishWords,
  LoremText,
  FrenchTowns,
  WorldTowns,
  CountryNames,
  CountryCodes,
  FrenchCountryNames,
  USStateNames,
  USStateCodes,
};
constexpr int kWordListCount = 12;

// The file of each list in the Dict folder, in load order.
std::string_view WordListFileName(TWordList list);

// One set of the twelve lists.
class TWordLists {
 public:
  TWordLists() { Touch(); }

  // The lines of a list (bytes as in the file, nothing trimmed).
  const std::vector<std::string>& List(TWordList list) const {
    return FLists[static_cast<size_t>(list)];
  }
  int Count(TWordList list) const { return static_cast<int>(List(list).size()); }
  // The LoremText lines joined, each followed by CR LF; built once per load.
  const std::string& Lorem() const { return FLorem; }
  // Changes whenever a list of the set is loaded, cleared or replaced, and differs between sets,
  // so that what a generator derived from a list can be recomputed when the list changed.
  uint64_t Generation() const { return FGeneration; }

  // Replaces every list by the lines of its file in folder, in load order (see LoadWordLists).
  void Load(const std::filesystem::path& folder);
  void Clear();
  void Set(TWordList list, std::vector<std::string> lines);

 private:
  void RebuildLorem();
  void Touch();

  std::array<std::vector<std::string>, kWordListCount> FLists;
  std::string FLorem;
  uint64_t FGeneration = 0;
};

// The program's shared set, which the functions below read and change.
TWordLists& SharedWordLists();

// The lists a Prepare context names: its own set, else the shared one.
inline const TWordLists& WordsOf(const TGenContext& context) {
  return context.Words ? *context.Words : SharedWordLists();
}

// The shared set's lines of a list, their count, the joined Lorem text and the generation.
inline const std::vector<std::string>& WordList(TWordList list) {
  return SharedWordLists().List(list);
}
inline int WordCount(TWordList list) { return SharedWordLists().Count(list); }
inline const std::string& LoremJoined() { return SharedWordLists().Lorem(); }

// The Dict folder beside the running executable.
std::filesystem::path DefaultDictFolder();

// Replaces every list by the lines of its file in folder, in load order. A file that cannot be
// read stops the load with an EFileError naming its path; lists loaded before it keep their new
// contents, the following ones their previous contents.
void LoadWordLists(const std::filesystem::path& folder = DefaultDictFolder());

// Empties every list.
void ClearWordLists();

// Replaces one list's lines (for tests and tools that build lists in memory).
void SetWordList(TWordList list, std::vector<std::string> lines);

// Loads the lists for the lifetime of the guard and clears them at its end, on every path.
class TWordListsLoaded {
 public:
  explicit TWordListsLoaded(const std::filesystem::path& folder = DefaultDictFolder()) {
    try {
      LoadWordLists(folder);
    } catch (...) {
      ClearWordLists();
      throw;
    }
  }
  ~TWordListsLoaded() { ClearWordLists(); }
  TWordListsLoaded(const TWordListsLoaded&) = delete;
  TWordListsLoaded& operator=(const TWordListsLoaded&) = delete;
};

}  // namespace kelvast
