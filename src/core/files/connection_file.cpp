// SPDX-License-Identifier: MIT
#include "core/files/connection_file.h"

#include "core/database/connection_secrets.h"
#include "core/platform/file_io.h"
#include "core/platform/text_utils.h"

#include <vector>

namespace kelvast {

namespace {
constexpr std::string_view kLineBreak = "\r\n";
}  // namespace

TConnectionFileContent ParseConnection(std::string_view text) {
  TConnectionFileContent content;
  const std::vector<std::string> lines = SplitLines(text);
  if (lines.empty()) return content;
  if (lines.front() != kConnectionMarker) {
    content.Status = TConnectionFileContent::csNotAConnection;
    return content;
  }
  content.Status = TConnectionFileContent::csOk;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (i > 1) content.ConnectionString += kLineBreak;
    content.ConnectionString += lines[i];
  }
  return content;
}

TConnectionFileContent ReadConnectionFile(const std::filesystem::path& fileName) {
  return ParseConnection(ReadWholeFile(fileName));
}

std::string FormatConnection(std::string_view connectionString) {
  std::string text(kConnectionMarker);
  text += kLineBreak;
  text += connectionString;
  text += kLineBreak;
  return text;
}

void WriteConnectionFile(const std::filesystem::path& fileName, std::string_view connectionString) {
  WriteWholeFile(fileName, FormatConnection(connectionString), FileAccessFor(connectionString));
}

std::string TrimConnectionString(std::string_view connectionString) {
  return Trim(connectionString);
}

}  // namespace kelvast
