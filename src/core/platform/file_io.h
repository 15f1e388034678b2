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

// Who may read a file the program writes. Files that hold a password are Private: readable and
// writable by their owner only (0600), from the moment they exist.
enum class TFileAccess {
  Usual,    // a new file gets 0666 less the umask; a replaced one keeps its permissions
  Private,  // a new file gets 0600; a replaced one loses its group's and others' permissions
};

// Writes the bytes to a temporary file (mkstemp, so 0600 while it is written) in the target's
// folder, syncs it and renames it over the target, so an existing file survives a failed write
// (a full disk, say). A symbolic link is followed: its target is replaced and the link stays.
// Saving onto a device or anything else that is not a regular file is refused. EFileError when
// any step fails.
//
//   WriteWholeFile("prod.con", text, HoldsPassword(text) ? TFileAccess::Private : TFileAccess::Usual);
void WriteWholeFile(const std::filesystem::path& fileName, std::string_view bytes,
                    TFileAccess access = TFileAccess::Usual);

// Adds the bytes at the end of the file, which is created (0666 less the umask) when missing.
// EFileError when it cannot be opened or written, or is not a regular file.
void AppendToFile(const std::filesystem::path& fileName, std::string_view bytes);

// For a file that another library writes (the desktop's settings): creates it empty with 0600
// when missing, else takes its group's and others' permissions away. A replacement written
// later keeps them when that library keeps the permissions of the file it replaces. EFileError
// when the file cannot be created or changed.
void MakeFilePrivate(const std::filesystem::path& fileName);

}  // namespace kelvast
