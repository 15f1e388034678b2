// SPDX-License-Identifier: MIT
#pragma once
// Helpers shared by the test suites: temporary folders and whole-file reads and writes.

#include <filesystem>
#include <string>
#include <string_view>

namespace kelvast::test {

// A fresh folder under the system temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

// The file's permission bits (07777), following links; throws when it does not exist.
unsigned FileMode(const std::filesystem::path& path);

}  // namespace kelvast::test
