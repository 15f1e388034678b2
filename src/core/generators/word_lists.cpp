// SPDX-License-Identifier: MIT
#include "core/generators/word_lists.h"

#include <array>
#include <atomic>

#include "core/platform/errors.h"
#include "core/platform/file_io.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

constexpr std::array<std::string_view, kWordListCount> kFileNames{
    "BoynamesUSA.txt", "GirlnamesUSA.txt", "FrenchWords.txt", "EnglishWords.txt",
    "Lorem.txt",       "FrenchTowns.txt",  "WorldTowns.txt",  "countries.txt",
    "payscourt.txt",   "payslong.txt",     "USAStatesLong.txt", "USAStates.txt"};

// Generations are drawn from one counter, so that no two sets, nor two states of one set, share
// a generation.
uint64_t NextGeneration() {
  static std::atomic<uint64_t> counter{1};
  return counter.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

std::string_view WordListFileName(TWordList list) { return kFileNames[static_cast<int>(list)]; }

TWordLists& SharedWordLists() {
  static TWordLists lists;
  return lists;
}

void TWordLists::Touch() { FGeneration = NextGeneration(); }

void TWordLists::RebuildLorem() {
  FLorem.clear();
  for (const std::string& line : FLists[static_cast<size_t>(TWordList::LoremText)]) {
    FLorem += line;
    FLorem += "\r\n";
  }
}

void TWordLists::Load(const std::filesystem::path& folder) {
  for (int i = 0; i < kWordListCount; ++i) {
    const auto path = folder / kFileNames[static_cast<size_t>(i)];
    FLists[static_cast<size_t>(i)] = SplitLines(ReadWholeFile(path, kMaxListBytes));
    Touch();
    if (i == static_cast<int>(TWordList::LoremText)) RebuildLorem();
  }
}

void TWordLists::Clear() {
  for (auto& list : FLists) {
    list.clear();
    list.shrink_to_fit();
  }
  FLorem.clear();
  Touch();
}

void TWordLists::Set(TWordList list, std::vector<std::string> lines) {
  FLists[static_cast<size_t>(list)] = std::move(lines);
  Touch();
  if (list == TWordList::LoremText) RebuildLorem();
}


std::filesystem::path DefaultDictFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  const auto dir = ec ? std::filesystem::current_path() : exe.parent_path();
  // Beside the program in a build folder; under an installation prefix (bin/ and share/kelvast/)
  // wherever that prefix is.
  const std::filesystem::path beside = dir / "Dict";
  const std::filesystem::path installed = dir.parent_path() / "share" / "kelvast" / "Dict";
  if (!std::filesystem::is_directory(beside, ec) && std::filesystem::is_directory(installed, ec))
    return installed;
  return beside;
}

void LoadWordLists(const std::filesystem::path& folder) { SharedWordLists().Load(folder); }

void ClearWordLists() { SharedWordLists().Clear(); }

void SetWordList(TWordList list, std::vector<std::string> lines) {
  SharedWordLists().Set(list, std::move(lines));
}

}  // namespace kelvast
