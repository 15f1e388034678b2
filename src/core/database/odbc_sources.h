// SPDX-License-Identifier: MIT
#pragma once
// Where connections come from: the connection string handed to the driver manager, and the file
// data sources (".dsn" files) that a connection string can name with FILEDSN=.

#include <filesystem>
#include <string>
#include <vector>

namespace kelvast {

// The driver used when a connection string names none: Debian's SQLite 3 ODBC driver.
inline constexpr const char* kDefaultOdbcDriver = "SQLite3";

// The string given to the driver manager for the connection string `text`, trimmed. A string that
// names a DRIVER, DSN or FILEDSN attribute is used as it stands. Otherwise the SQLite 3 driver is
// added in front: "Database=/tmp/x.db" becomes "DRIVER=SQLite3;Database=/tmp/x.db", and a text
// without any "=" is taken as the path of the database file ("/tmp/x.db" becomes
// "DRIVER=SQLite3;Database=/tmp/x.db"; the SQLite driver cannot take a path holding ";").
// Attribute names compare without regard to case. Empty stays empty.
std::string OdbcConnectionString(const std::string& text);

// unixODBC's folder of file data sources ("FILE DATA SOURCES" of `odbcinst -j`).
std::filesystem::path FileDataSourceFolder();

// The names, with extension, of the ".dsn" files in the folder (empty: the file data source
// folder), sorted; empty when the folder is missing.
std::vector<std::string> ListFileDataSources(const std::filesystem::path& folder = {});

}  // namespace kelvast
