// SPDX-License-Identifier: MIT
#pragma once
// Whole-file reads and writes, with EFileError messages that name the file: every file the
// program reads whole (models, plans, JSON, connections, word lists, external value files) is read
// here.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kelvast {

// The most a model, plan, JSON or connection file may hold: far more than any real one.
inline constexpr uint64_t kMaxReadBytes = uint64_t{64} << 20;
// The most a list of values (a word list, a generator's external file) may hold.
inline constexpr uint64_t kMaxListBytes = uint64_t{1} << 30;

// The file's bytes. EFileError when it cannot be opened or read, when it is not a regular file
// (a FIFO, a device, a folder) or when it holds more than maxBytes.
std::string ReadWholeFile(const std::filesystem::path& fileName,
                          uint64_t maxBytes = kMaxReadBytes);

// Writes the bytes to a temporary file in the target's folder, syncs it and renames it over the
// target, so an existing file survives a failed write (a full disk, say) and keeps its
// permissions. A symbolic link is followed: its target is replaced and the link stays. Saving
// onto a device or anything else that is not a regular file is refused. EFileError when any
// step fails.
void WriteWholeFile(const std::filesystem::path& fileName, std::string_view bytes);

}  // namespace kelvast
