#pragma once
// Whole-file reads and writes for the file formats, with EFileError messages that name the file.

#include <filesystem>
#include <string>
#include <string_view>

namespace kelvast {

// The file's bytes. EFileError when it cannot be opened or read.
std::string ReadWholeFile(const std::filesystem::path& fileName);

// Writes the bytes to a temporary file beside the target, then renames it over the target, so an
// existing file survives a failed write (a full disk, say). EFileError when any step fails.
void WriteWholeFile(const std::filesystem::path& fileName, std::string_view bytes);

}  // namespace kelvast
