// SPDX-License-Identifier: MIT
#include "core/database/connection_checks.h"

#include <odbcinst.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <string_view>
#include <vector>

#include "core/database/connection_string.h"
#include "core/database/data_access.h"
#include "core/database/odbc_sources.h"
#include "core/database/pg_connection_params.h"
#include "core/platform/code_page.h"
#include "core/platform/file_io.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

const TConnectionAttribute* Find(const std::vector<TConnectionAttribute>& attributes,
                                 std::string_view key) {
  for (const TConnectionAttribute& a : attributes)
    if (SameTextAscii(a.Key, key)) return &a;
  return nullptr;
}

bool ContainsSqlite(std::string_view text) {
  return AnsiLowerCase(std::string(text)).find("sqlite") != std::string::npos;
}

bool NamesSqliteDriver(const std::string& driver) {
  return SameTextAscii(driver, kDefaultOdbcDriver) || ContainsSqlite(driver);
}

// A connection string read as a driver reads it. `braces` false: cut at every ";" as the SQLite
// driver does, values as written, blanks included. `braces` true: a value is braced only when
// "{" follows the "=" at once, as psqlODBC reads it (Kelvast's own reading, SplitConnectionString,
// also takes "= {"). Parts without "=" set nothing and are left out; keys are trimmed.
std::vector<TConnectionAttribute> SplitAsDriver(std::string_view text, bool braces) {
  std::vector<TConnectionAttribute> attributes;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find(';', pos);
    if (end == std::string_view::npos) end = text.size();
    const size_t equals = text.find('=', pos);
    if (equals == std::string_view::npos || equals > end) {
      pos = end + 1;
      continue;
    }
    TConnectionAttribute attribute{Trim(text.substr(pos, equals - pos)), {}};
    size_t at = equals + 1;
    if (braces && at < text.size() && text[at] == '{') {
      for (++at; at < text.size(); ++at) {
        if (text[at] == '}') {
          ++at;
          if (at >= text.size() || text[at] != '}') break;
        }
        attribute.Value += text[at];
      }
      end = text.find(';', at);
      if (end == std::string_view::npos) end = text.size();
    } else {
      attribute.Value = std::string(text.substr(at, end - at));
    }
    attributes.push_back(std::move(attribute));
    pos = end + 1;
  }
  return attributes;
}

// A value as the driver manager takes it: trimmed, without one pair of enclosing braces.
std::string Unbraced(std::string_view value) {
  std::string_view v = TrimView(value);
  if (v.size() >= 2 && v.front() == '{' && v.back() == '}') v = v.substr(1, v.size() - 2);
  return std::string(v);
}

enum TDriverFamily { dfSqlite, dfPostgres, dfOther };

// What the connection needs, from any driver.
constexpr std::string_view kEveryDriverKeys[] = {
    "DRIVER", "DSN", "FILEDSN", "UID", "PWD", "Description", "Database", "Server", "Port",
};
// The SQLite driver's options that neither load, write, run nor pretend anything: not LoadExt,
// TraceFile, SyncPragma (written into a PRAGMA statement), JournalMode (changes the file for
// every later user) or NoTXN (a rollback would keep the rows).
constexpr std::string_view kSqliteKeys[] = {
    "Timeout", "StepAPI", "NoWCHAR", "ShortNames", "LongNames",
    "NoCreat", "FKSupport", "BigInt", "JDConv",
};
// psqlODBC's keys for the connection and the type mappings, with their two-letter abbreviations;
// not Debug (B2), CommLog (B3), ConnSettings (A6), pqopt (D5), Protocol (A1), the bit sets CX and
// AB (which hold the logging bits), nor anything the driver may learn later.
constexpr std::string_view kPostgresKeys[] = {
    "Servername", "Username", "Password", "SSLmode", "CA", "ReadOnly", "A0",
    "KeepaliveTime", "D1", "KeepaliveInterval", "D2", "Fetch", "A7", "Socket", "A8",
    "UnknownSizes", "A9", "MaxVarcharSize", "B0", "MaxLongVarcharSize", "B1",
    "UseDeclareFetch", "B6", "TextAsLongVarchar", "B7", "UnknownsAsLongVarchar", "B8",
    "BoolsAsChar", "B9", "LFConversion", "C5", "TrueIsMinus1", "C6", "ByteaAsLongVarBinary", "C7",
    "UseServerSidePrepare", "C8", "LowerCaseIdentifier", "C9", "BI", "NumericAs", "D6",
    "OptionalErrors", "D7", "BatchSize", "D8", "IgnoreTimeout", "D9", "UniqueIndex",
};

template <size_t N>
bool Holds(const std::string_view (&keys)[N], std::string_view key) {
  return std::any_of(std::begin(keys), std::end(keys),
                     [&](std::string_view k) { return SameTextAscii(k, key); });
}

bool Allowed(TDriverFamily family, std::string_view key) {
  if (Holds(kEveryDriverKeys, key)) return true;
  switch (family) {
    case dfSqlite:
      return Holds(kSqliteKeys, key);
    case dfPostgres:
      return Holds(kPostgresKeys, key);
    case dfOther:
      return false;
  }
  return false;
}

std::string ProfileString(const std::string& section, const char* key, const char* file) {
  char value[1024] = {};
  SQLGetPrivateProfileString(AnsiToUtf8(section).c_str(), key, "", value, sizeof value, file);
  std::string ansi;
  Utf8ToAnsi(value, ansi);
  return ansi;
}

// The family of an installed driver, by its name and the library odbcinst.ini gives for it.
TDriverFamily FamilyOfDriver(const std::string& driver) {
  const std::string both = driver + " " + ProfileString(driver, "Driver", "odbcinst.ini");
  if (ContainsSqlite(both)) return dfSqlite;
  if (IsPostgresDriver(both)) return dfPostgres;
  return dfOther;
}

TDriverFamily FamilyOfDataSource(const std::string& dsn) {
  const std::string driver = ProfileString(dsn, "Driver", "odbc.ini");
  return driver.empty() ? dfOther : FamilyOfDriver(driver);
}

// The attributes unixODBC hands the driver for a file data source, as text: the "key=value"
// lines of the ".dsn" file read together as one connection string, braces taken off, each
// written again as "key=value;". A line's value holding ";" thus becomes several attributes, as
// the driver will see them.
std::string FileDataSourceText(const std::string& name) {
  std::filesystem::path path = AnsiToUtf8(name);
  if (path.extension() != ".dsn") path += ".dsn";
  if (path.is_relative()) path = FileDataSourceFolder() / path;
  std::string lines;
  for (const std::string& line : SplitLines(ReadWholeFile(path))) {
    const std::string_view trimmed = TrimView(line);
    const size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos || trimmed.front() == '[') continue;
    lines += Trim(trimmed.substr(0, equals)) + "=" + Trim(trimmed.substr(equals + 1)) + ";";
  }
  std::string text;
  for (const TConnectionAttribute& a : SplitConnectionString(lines))
    if (!a.Key.empty()) text += a.Key + "=" + a.Value + ";";
  return text;
}

[[noreturn]] void Refuse(const std::string& where, const std::string& what) {
  throw EDatabaseError(where + " " + what);
}

// One string's check: `text` as the driver manager passes it, `where` how messages name it.
class TFileStringCheck {
 public:
  TFileStringCheck(TDriverFamily family, std::string where)
      : FFamily(family), FWhere(std::move(where)) {}

  // Every reading of the text the driver or the driver manager may make, so that nothing hides
  // from one of them inside braces the other does not honour.
  void CheckKeys(const std::string& text, bool insideFileDsn) {
    std::vector<std::vector<TConnectionAttribute>> readings = {SplitConnectionString(text),
                                                               SplitAsDriver(text, true)};
    if (FFamily != dfPostgres) readings.push_back(SplitAsDriver(text, false));
    for (const auto& reading : readings)
      for (const TConnectionAttribute& a : reading) CheckKey(a, insideFileDsn);
  }

  // The SQLite driver opens (and would create) the file every "Database=" names, as written.
  void CheckSqliteFiles(const std::string& text) const {
    for (const TConnectionAttribute& a : SplitAsDriver(text, false)) {
      if (!SameTextAscii(a.Key, "Database") || a.Value == ":memory:") continue;
      std::error_code ec;
      if (a.Value.empty() || !std::filesystem::is_regular_file(AnsiToUtf8(a.Value), ec))
        Refuse(FWhere, "names the database file \"" + a.Value +
                           "\", which does not exist; a string read from a file opens only an "
                           "existing SQLite file.");
    }
  }

  std::vector<std::string> FileDataSources;  // the FILEDSN values met, in order

 private:
  void CheckKey(const TConnectionAttribute& a, bool insideFileDsn) {
    if (a.Key.empty()) return;
    if (!Allowed(FFamily, a.Key))
      Refuse(FWhere, "sets \"" + a.Key +
                         "\", which Kelvast does not allow from a file; connect with a string of "
                         "your own (--connection, or the connection editor) to use it.");
    if (SameTextAscii(a.Key, "DRIVER")) {
      const std::string driver = Unbraced(a.Value);
      const std::vector<std::string> installed = InstalledOdbcDrivers();
      if (std::find(installed.begin(), installed.end(), driver) == installed.end())
        Refuse(FWhere, "names the driver \"" + driver +
                           "\", which is not an installed ODBC driver.");
    }
    if (SameTextAscii(a.Key, "FILEDSN")) {
      if (insideFileDsn) Refuse(FWhere, "names another file data source.");
      const std::string name = Unbraced(a.Value);
      if (std::find(FileDataSources.begin(), FileDataSources.end(), name) ==
          FileDataSources.end())
        FileDataSources.push_back(name);
    }
  }

  TDriverFamily FFamily;
  std::string FWhere;
};

// The family of the driver the string reaches: its DRIVER, the driver of its DSN, or the DRIVER
// (or DSN) of its file data source.
TDriverFamily FamilyOf(const std::vector<TConnectionAttribute>& attributes) {
  if (const TConnectionAttribute* driver = Find(attributes, "DRIVER"))
    return FamilyOfDriver(driver->Value);
  if (const TConnectionAttribute* dsn = Find(attributes, "DSN"))
    return FamilyOfDataSource(dsn->Value);
  if (const TConnectionAttribute* file = Find(attributes, "FILEDSN")) {
    const std::vector<TConnectionAttribute> lines =
        SplitConnectionString(FileDataSourceText(file->Value));
    if (const TConnectionAttribute* driver = Find(lines, "DRIVER"))
      return FamilyOfDriver(driver->Value);
    if (const TConnectionAttribute* dsn = Find(lines, "DSN")) return FamilyOfDataSource(dsn->Value);
  }
  return dfOther;
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

int SqliteBusyMilliseconds(const std::string& text) {
  for (const TConnectionAttribute& a : SplitAsDriver(text, false)) {
    if (!SameTextAscii(a.Key, "Timeout")) continue;
    const std::string_view value = TrimView(a.Value);
    int milliseconds = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), milliseconds);
    return ec == std::errc{} && end == value.data() + value.size() && milliseconds >= 0
               ? milliseconds
               : kSqliteBusyMilliseconds;
  }
  return kSqliteBusyMilliseconds;
}

std::string WithSqliteBusyWait(const std::string& target) {
  if (!SqliteDatabaseOf(target)) return target;
  // The SQLite driver waits its Timeout for a locked database, and when the statement still
  // finds it locked, pauses and runs it once more with the same wait: it is given half, so that
  // a statement waits the string's Timeout in all. Its own "Timeout=" parts (as the driver reads
  // them, braces or not) give way to that one; 0 would be the driver's default of 100 s.
  const int driverWait = std::max(1, (SqliteBusyMilliseconds(target) + 1) / 2);
  std::string out;
  std::string_view rest = target;
  while (!rest.empty()) {
    const size_t end = rest.find(';');
    const std::string_view part = rest.substr(0, end);
    const size_t equals = part.find('=');
    const bool timeout = equals != std::string_view::npos &&
                         SameTextAscii(TrimView(part.substr(0, equals)), "Timeout");
    if (!TrimView(part).empty() && !timeout) {
      out += part;
      out += ';';
    }
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return out + "Timeout=" + std::to_string(driverWait);
}

void CheckFileConnectionString(const std::string& text) {
  const std::string trimmed = Trim(text);
  if (trimmed.find('=') == std::string::npos) return;  // a bare SQLite path
  const std::string target = OdbcConnectionString(trimmed);
  const TDriverFamily family = FamilyOf(SplitConnectionString(target));
  TFileStringCheck own(family, "The connection string read from a file");
  own.CheckKeys(target, false);
  for (const std::string& name : own.FileDataSources) {
    TFileStringCheck file(family, "The file data source \"" + name +
                                      "\" (named by a connection string read from a file)");
    const std::string lines = FileDataSourceText(name);
    file.CheckKeys(lines, true);
    if (family == dfSqlite) file.CheckSqliteFiles(lines);
  }
  if (family == dfSqlite) own.CheckSqliteFiles(target);
}

}  // namespace kelvast
