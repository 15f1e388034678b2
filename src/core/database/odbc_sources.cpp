#include "core/database/odbc_sources.h"

#include <algorithm>
#include <odbcinst.h>
#include <system_error>

#include "core/platform/code_page.h"
#include "core/platform/text_utils.h"

// unixODBC's folder of its system files (ODBCSYSINI, else the configured one, /etc on Debian). The
// library exports it; its declaration sits in a header that needs unixODBC's own build tree.
extern "C" char* odbcinst_system_file_path(char* buffer);

namespace kelvast {

namespace {

// Whether the attribute list names the driver or a data source. Values in braces may hold ";"
// and "=", so the scan skips them.
bool NamesADriverOrSource(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    bool braces = false;
    while (end < text.size() && (braces || text[end] != ';')) {
      if (text[end] == '{')
        braces = true;
      else if (text[end] == '}')
        braces = false;
      ++end;
    }
    const std::string_view attribute = text.substr(pos, end - pos);
    const size_t eq = attribute.find('=');
    if (eq != std::string_view::npos) {
      const std::string_view key = TrimView(attribute.substr(0, eq));
      if (SameTextAscii(key, "DRIVER") || SameTextAscii(key, "DSN") ||
          SameTextAscii(key, "FILEDSN"))
        return true;
    }
    pos = end + 1;
  }
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

}  // namespace kelvast
