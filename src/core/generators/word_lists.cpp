#include "core/generators/word_lists.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "core/platform/errors.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

constexpr std::array<std::string_view, kWordListCount> kFileNames{
    "BoynamesUSA.txt", "GirlnamesUSA.txt", "FrenchWords.txt", "EnglishWords.txt",
    "Lorem.txt",       "FrenchTowns.txt",  "WorldTowns.txt",  "countries.txt",
    "payscourt.txt",   "payslong.txt",     "USAStatesLong.txt", "USAStates.txt"};

struct TWordStore {
  std::array<std::vector<std::string>, kWordListCount> lists;
  std::string lorem;
  uint64_t generation = 1;
};

TWordStore& Store() {
  static TWordStore store;
  return store;
}

void RebuildLorem() {
  std::string& joined = Store().lorem;
  joined.clear();
  for (const std::string& line : Store().lists[static_cast<int>(TWordList::LoremText)]) {
    joined += line;
    joined += "\r\n";
  }
}

[[noreturn]] void ThrowOpenError(const std::filesystem::path& path, int err) {
  throw EFileError("Cannot open file \"" + path.string() + "\". " + std::strerror(err));
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  // A folder opens like a file on Linux and then reads as nothing or fails: refuse it here so
  // that it stops the load like a missing file instead of giving an empty list.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) ThrowOpenError(path, EISDIR);
  std::ifstream in(path, std::ios::binary);
  if (!in) ThrowOpenError(path, errno);
  std::string bytes;
  if (const auto size = std::filesystem::file_size(path, ec); !ec) bytes.reserve(size);
  char buffer[64 * 1024];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
    bytes.append(buffer, static_cast<size_t>(in.gcount()));
  if (in.bad()) throw EFileError("Cannot read file \"" + path.string() + "\".");
  return bytes;
}

}  // namespace

std::string_view WordListFileName(TWordList list) { return kFileNames[static_cast<int>(list)]; }

const std::vector<std::string>& WordList(TWordList list) {
  return Store().lists[static_cast<int>(list)];
}

const std::string& LoremJoined() { return Store().lorem; }

uint64_t WordListsGeneration() { return Store().generation; }

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

void LoadWordLists(const std::filesystem::path& folder) {
  for (int i = 0; i < kWordListCount; ++i) {
    const auto path = folder / kFileNames[static_cast<size_t>(i)];
    Store().lists[static_cast<size_t>(i)] = SplitLines(ReadWholeFile(path));
    ++Store().generation;
    if (i == static_cast<int>(TWordList::LoremText)) RebuildLorem();
  }
}

void ClearWordLists() {
  for (auto& list : Store().lists) {
    list.clear();
    list.shrink_to_fit();
  }
  Store().lorem.clear();
  ++Store().generation;
}

void SetWordList(TWordList list, std::vector<std::string> lines) {
  Store().lists[static_cast<int>(list)] = std::move(lines);
  ++Store().generation;
  if (list == TWordList::LoremText) RebuildLorem();
}

}  // namespace kelvast
