// SPDX-License-Identifier: MIT
#include "core/database/odbc_sources.h"

#include <algorithm>
#include <odbcinst.h>
#include <system_error>

#include "core/database/connection_string.h"
#include "core/database/odbc_handle.h"
#include "core/platform/code_page.h"
#include "core/platform/text_utils.h"

// unixODBC's folder of its system files (ODBCSYSINI, else the configured one, /etc on Debian). The
// library exports it; its declaration sits in a header that needs unixODBC's own build tree.
extern "C" char* odbcinst_system_file_path(char* buffer);

namespace kelvast {

namespace {

// Whether the attribute list names the driver or a data source.
bool NamesADriverOrSource(std::string_view text) {
  for (const TConnectionAttribute& attribute : SplitConnectionString(text))
    if (SameTextAscii(attribute.Key, "DRIVER") || SameTextAscii(attribute.Key, "DSN") ||
        SameTextAscii(attribute.Key, "FILEDSN"))
      return true;
  return false;
}

}  // namespace

std::string OdbcConnectionString(const std::string& text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty() || NamesADriverOrSource(trimmed)) return trimmed;
  const std::string prefix = std::string("DRIVER=") + kDefaultOdbcDriver + ";";
  if (trimmed.find('=') == std::string::npos) return prefix + "Database=" + trimmed;
  return prefix + trimmed;
}

std::filesystem::path FileDataSourceFolder() {
  // unixODBC keeps the folder in odbcinst.ini ([ODBC] FILEDSNPATH), by default the
  // ODBCDataSources folder beside that file.
  // The result may be the buffer or a string of the library's own.
  char buffer[4096] = {};
  const char* systemPath = odbcinst_system_file_path(buffer);
  const std::string fallback = std::string(systemPath ? systemPath : "") + "/ODBCDataSources";
  char value[4096] = {};
  SQLGetPrivateProfileString("ODBC", "FILEDSNPATH", fallback.c_str(), value, sizeof value,
                             "odbcinst.ini");
  std::string folder;
  Utf8ToAnsi(value[0] != '\0' ? value : fallback.c_str(), folder);
  return folder;
}

std::vector<std::string> ListFileDataSources(const std::filesystem::path& folder) {
  const std::filesystem::path where = folder.empty() ? FileDataSourceFolder() : folder;
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    std::string name;
    Utf8ToAnsi(it->path().filename().string(), name);
    if (name.size() > 4 && SameTextAscii(std::string_view(name).substr(name.size() - 4), ".dsn"))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Declared with the connection strings, whose builder offers the drivers; defined here, with
// the other questions put to unixODBC, so that the strings themselves need no ODBC library.
std::vector<std::string> InstalledOdbcDrivers() {
  odbc::THandle env(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
  odbc::Check(SQLSetEnvAttr(env.Get(), SQL_ATTR_ODBC_VERSION,
                            reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
              env, "Choosing ODBC 3");
  std::vector<std::string> drivers;
  SQLCHAR name[512];
  SQLCHAR attributes[2048];
  SQLSMALLINT nameLength = 0;
  SQLSMALLINT attributesLength = 0;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  while (SQL_SUCCEEDED(SQLDrivers(env.Get(), direction, name, sizeof name, &nameLength, attributes,
                                  sizeof attributes, &attributesLength))) {
    std::string ansi;
    Utf8ToAnsi(reinterpret_cast<const char*>(name), ansi);
    drivers.push_back(ansi);
    direction = SQL_FETCH_NEXT;
  }
  return drivers;
}

}  // namespace kelvast
