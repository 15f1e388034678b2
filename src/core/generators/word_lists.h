#pragma once
// The twelve reference word lists, read from the Dict folder at the start of every run and
// sample, emptied at their end. Generators only read them in between.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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

// The lines of a list (bytes as in the file, nothing trimmed).
const std::vector<std::string>& WordList(TWordList list);
inline int WordCount(TWordList list) { return static_cast<int>(WordList(list).size()); }

// The LoremText lines joined, each followed by CR LF; built once per load.
const std::string& LoremJoined();

// Changes whenever any list is loaded, cleared or replaced, so that what a generator derived
// from a list can be recomputed when the list changed.
uint64_t WordListsGeneration();

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
