// SPDX-License-Identifier: MIT
#include "core/database/connection_checks.h"

#include <algorithm>
#include <filesystem>

#include "core/database/connection_string.h"
#include "core/database/data_access.h"
#include "core/database/odbc_sources.h"
#include "core/platform/file_io.h"
#include "core/platform/code_page.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

const TConnectionAttribute* Find(const std::vector<TConnectionAttribute>& attributes,
                                 std::string_view key) {
  for (const TConnectionAttribute& a : attributes)
    if (SameTextAscii(a.Key, key)) return &a;
  return nullptr;
}

bool NamesSqliteDriver(const std::string& driver) {
  return SameTextAscii(driver, kDefaultOdbcDriver) ||
         AnsiLowerCase(driver).find("sqlite") != std::string::npos;
}

// Options of the drivers we know that load a shared library named in the string.
bool LoadsLibraries(std::string_view key) { return SameTextAscii(key, "LoadExt"); }

// The attributes of a ".dsn" file: its "key=value" lines, section headers left out.
std::vector<TConnectionAttribute> FileDataSourceAttributes(const std::string& name) {
  std::filesystem::path path = AnsiToUtf8(name);
  if (path.extension() != ".dsn") path += ".dsn";
  if (path.is_relative()) path = FileDataSourceFolder() / path;
  std::vector<TConnectionAttribute> attributes;
  for (const std::string& line : SplitLines(ReadWholeFile(path))) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos || TrimView(line).front() == '[') continue;
    attributes.push_back({Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))});
  }
  return attributes;
}

void CheckAttributes(const std::vector<TConnectionAttribute>& attributes, bool insideFileDsn) {
  for (const TConnectionAttribute& a : attributes) {
    if (LoadsLibraries(a.Key))
      throw EDatabaseError("The connection string read from a file asks the driver to load "
                           "libraries (" + a.Key + "=); connect with a string of your own to "
                           "allow that.");
    if (SameTextAscii(a.Key, "DRIVER")) {
      const std::vector<std::string> installed = InstalledOdbcDrivers();
      if (std::find(installed.begin(), installed.end(), a.Value) == installed.end())
        throw EDatabaseError("The connection string read from a file names the driver \"" +
                             a.Value + "\", which is not an installed ODBC driver.");
    }
    if (SameTextAscii(a.Key, "FILEDSN")) {
      if (insideFileDsn)
        throw EDatabaseError("The file data source \"" + a.Value + "\" names another one.");
      CheckAttributes(FileDataSourceAttributes(a.Value), true);
    }
  }
}

}  // namespace

std::optional<std::string> SqliteDatabaseOf(const std::string& text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return std::nullopt;
  if (trimmed.find('=') == std::string::npos) return trimmed;
  const std::vector<TConnectionAttribute> attributes = SplitConnectionString(trimmed);
  if (Find(attributes, "DSN") || Find(attributes, "FILEDSN")) return std::nullopt;
  const TConnectionAttribute* driver = Find(attributes, "DRIVER");
  if (driver && !NamesSqliteDriver(driver->Value)) return std::nullopt;
  const TConnectionAttribute* database = Find(attributes, "DATABASE");
  return database ? database->Value : std::string();
}

void CheckSqliteTarget(const std::string& text) {
  const std::optional<std::string> database = SqliteDatabaseOf(text);
  if (!database || *database == ":memory:") return;
  if (database->find(';') != std::string::npos)
    throw EDatabaseError("The SQLite driver cannot open \"" + *database +
                         "\": its path holds the character \";\".");
  std::error_code ec;
  if (database->empty() || !std::filesystem::exists(AnsiToUtf8(*database), ec))
    throw EDatabaseError("The database file \"" + *database + "\" does not exist.");
}

std::string WithSqliteBusyWait(const std::string& target) {
  if (!SqliteDatabaseOf(target) || Find(SplitConnectionString(target), "Timeout")) return target;
  return target + (target.back() == ';' ? "" : ";") +
         "Timeout=" + std::to_string(kSqliteBusyMilliseconds);
}

void CheckFileConnectionString(const std::string& text) {
  const std::string trimmed = Trim(text);
  if (trimmed.find('=') == std::string::npos) return;  // a bare SQLite path
  CheckAttributes(SplitConnectionString(trimmed), false);
}

}  // namespace kelvast
