// SPDX-License-Identifier: MIT
#pragma once
// Connection files (.con): a marker line, then the connection string. Strings are trimmed
// (codes 0 to 32 at both ends) whenever they are applied, not when they are read.
//
//   TConnectionFileContent con = ReadConnectionFile("prod.con");
//   if (con.Status == TConnectionFileContent::csOk)
//   Apply(TrimConnectionString(con.ConnectionString));

#include <filesystem>
#include <string>
#include <string_view>

namespace kelvast {

// The first line of every connection file.
inline constexpr std::string_view kConnectionMarker = "ORVELA KELVAST";
// Shown when a file's first line is not the marker.
inline constexpr std::string_view kNotAConnectionMessage = "This is not a valid Connection file";

// What reading a connection file found.
struct TConnectionFileContent {
  enum TStatus {
    csOk,              // the marker, then the string (empty when the file has only the marker)
    csEmpty,           // no line at all: nothing happens, without a message
    csNotAConnection,  // the first line is not the marker (case and blanks count)
  };
  TStatus Status = csEmpty;
  // Every line after the marker, joined with CR LF; not trimmed.
  std::string ConnectionString;
};

// Splits the text into lines at CR, LF or CR LF and checks the marker.
TConnectionFileContent ParseConnection(std::string_view text);
// ParseConnection on the file's bytes; EFileError when it cannot be read.
TConnectionFileContent ReadConnectionFile(const std::filesystem::path& fileName);

// The marker line and the string, each ended by CR LF.
std::string FormatConnection(std::string_view connectionString);
// Writes FormatConnection to the file, readable by its owner only when the string holds a
// password; EFileError when it cannot be written.
void WriteConnectionFile(const std::filesystem::path& fileName, std::string_view connectionString);

// The string as it is applied: without leading and trailing characters of codes 0 to 32.
std::string TrimConnectionString(std::string_view connectionString);

}  // namespace kelvast
