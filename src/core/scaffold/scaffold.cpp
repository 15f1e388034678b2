// SPDX-License-Identifier: MIT
#include "core/scaffold/scaffold.h"

#include <sys/stat.h>

#include <charconv>
#include <climits>
#include <map>
#include <set>

#include "core/database/connection_secrets.h"
#include "core/database/connection_string.h"
#include "core/database/odbc_connection.h"
#include "core/database/schema_catalog.h"
#include "core/database/sql_names.h"
#include "core/files/model_file.h"
#include "core/files/model_json.h"
#include "core/files/plan_file.h"
#include "core/generators/composite_gens.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/string_gens.h"
#include "core/generators/word_lists.h"
#include "core/model/gen_model.h"
#include "core/platform/code_page.h"
#include "core/platform/errors.h"
#include "core/platform/file_io.h"
#include "core/platform/text_utils.h"
#include "core/scaffold/column_choice.h"
#include "core/scaffold/table_order.h"

namespace kelvast {

namespace {

// The values a counter key fills: first to last.
struct TCounterRange {
  int64_t First = 0;
  int64_t Last = 0;
};

// How one table's keys are filled.
struct TKeyPlan {
  std::map<std::string, int64_t> Counters;  // column -> its current maximum (the counter's start)
  std::map<std::string, int32_t> Unique;    // column -> unique-key number
};

bool SameKeyName(const std::string& a, const std::string& b) { return SameTextAscii(a, b); }

// The connection as every model stores it. An SQLite file is named by its absolute path and
// checks foreign keys, which SQLite does only when a connection asks for it.
std::string StoredConnection(TOdbcConnection& db) {
  const std::string text = db.ConnectionString();
  if (db.DbmsName() != "SQLite") return text;
  TConnectionParts parts = ParseConnectionParts(text);
  if (!parts.Database.empty()) {
    const std::string utf8 = AnsiToUtf8(parts.Database);
    std::string absolute;
    Utf8ToAnsi(std::filesystem::absolute(utf8).lexically_normal().string(), absolute);
    parts.Database = absolute;
  }
  bool foreignKeys = false;
  for (const TConnectionAttribute& a : parts.Others)
    foreignKeys = foreignKeys || SameKeyName(a.Key, "FKSupport");
  if (!foreignKeys) parts.Others.push_back({"FKSupport", "1"});
  return BuildConnectionString(parts);
}

// A file the scaffold writes, made in memory first.
struct TPendingFile {
  std::filesystem::path Path;
  std::string Bytes;
  TFileAccess Access = TFileAccess::Usual;
};

bool IsLink(const std::filesystem::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

[[noreturn]] void RefuseLink(const std::filesystem::path& path) {
  throw EFileError("\"" + path.string() +
                   "\" is a symbolic link: models are never written through a link in the "
                   "output folder. Remove the link or choose another folder.");
}

// Refuses links at the files' places and at the folders between dir and them; lists the files
// that exist already.
std::vector<std::string> CheckPlaces(const std::filesystem::path& dir,
                                     const std::vector<TPendingFile>& files) {
  std::vector<std::string> existing;
  for (const TPendingFile& file : files) {
    // Every folder below dir on the way to the file, then the file itself.
    std::filesystem::path at = dir;
    for (const std::filesystem::path& part : file.Path.lexically_relative(dir)) {
      at /= part;
      if (IsLink(at)) RefuseLink(at);
    }
    std::error_code ec;
    if (std::filesystem::exists(file.Path, ec)) existing.push_back(file.Path.string());
  }
  return existing;
}

// The table's name as a file name: no folder separators.
std::string FileStem(const std::string& table) {
  std::string s = table;
  for (char& c : s)
    if (c == '/' || c == '\\' || c == '\0') c = '_';
  return s;
}

bool KnownType(const TColumnInfo& c) {
  if (IsTextColumn(c) || IsIntegerColumn(c)) return true;
  TGenModel probe;
  TColToGenItem& item = probe.Cols().Add();
  TWordLists none;
  TColumnChoice(none, {}).Choose(item, c);
  return item.ColType() != ctstring;
}

int64_t CurrentMaximum(TOdbcConnection& db, char quote, const std::string& table,
                       const std::string& column) {
  const std::vector<std::string> rows = db.Query("SELECT MAX(" + QuoteName(column, quote, quote) +
                                                 ") FROM " + QuoteName(table, quote, quote));
  if (rows.empty() || Trim(rows[0]).empty()) return 0;
  int64_t value = 0;
  const std::string text = Trim(rows[0]);
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

const TForeignKey* KeyOf(const TTableSchema& t, const std::string& column) {
  for (const TForeignKey& k : t.ForeignKeys)
    for (const std::string& c : k.Columns)
      if (c == column) return &k;
  return nullptr;
}

// Counters and unique keys of one table.
TKeyPlan PlanKeys(TOdbcConnection& db, char quote, const TTableSchema& t, int32_t records,
                  std::vector<std::string>& notes) {
  TKeyPlan plan;
  const auto counterCandidate = [&](const std::string& name) {
    const TColumnInfo* c = t.Column(name);
    return c && IsIntegerColumn(*c) && !KeyOf(t, name);
  };
  const auto addCounter = [&](const std::string& name) {
    const int64_t max = std::max<int64_t>(CurrentMaximum(db, quote, t.Name, name), 0);
    if (max + records > INT32_MAX)
      throw EKelvastError("The counter of \"" + t.Name + "\".\"" + name + "\" starts after " +
                          std::to_string(max) + " and would pass 2147483647 (2^31-1) within " +
                          std::to_string(records) + " records.");
    plan.Counters[name] = max;
  };
  int32_t nextKey = 1;
  const auto addUnique = [&](const std::vector<std::string>& columns, const std::string& what) {
    for (const std::string& c : columns)
      if (plan.Counters.count(c)) return;  // a counter already makes the tuple unique
    for (const std::string& c : columns)
      if (plan.Unique.count(c)) {
        notes.push_back("\"" + t.Name + "\": " + what + " shares the column \"" + c +
                        "\" with another unique key; only the first is kept unique.");
        return;
      }
    if (columns.size() == 1 && counterCandidate(columns[0])) {
      addCounter(columns[0]);
      return;
    }
    for (const std::string& c : columns) plan.Unique[c] = nextKey;
    ++nextKey;
  };
  if (t.PrimaryKey.size() == 1 && counterCandidate(t.PrimaryKey[0])) {
    addCounter(t.PrimaryKey[0]);
  } else if (t.PrimaryKey.size() > 1) {
    // An integer column of its own in the key, counted, makes every tuple unique.
    for (const std::string& c : t.PrimaryKey)
      if (counterCandidate(c)) {
        addCounter(c);
        break;
      }
  }
  if (!t.PrimaryKey.empty()) addUnique(t.PrimaryKey, "the primary key");
  for (const TUniqueIndex& ix : t.UniqueIndexes) addUnique(ix.Columns, "the index \"" + ix.Name + "\"");
  return plan;
}

}  // namespace

TScaffoldResult Scaffold(TOdbcConnection& db, const TScaffoldOptions& options) {
  if (options.Records < 1) throw EKelvastError("The number of records must be at least 1.");
  TScaffoldResult result;
  const std::vector<TTableSchema> schemas = ReadSchema(db, options.Tables);
  if (schemas.empty()) throw EKelvastError("The database holds no table.");
  const TTableOrder order = OrderTables(schemas);
  for (const TTableSchema& t : schemas)
    for (const TForeignKey& k : t.ForeignKeys)
      if (k.Columns.size() != 1)
        throw EKelvastError("The foreign key \"" + k.Name + "\" of \"" + t.Name +
                            "\" has several columns; models fill foreign keys of one column only.");

  const char quote = db.IdentifierQuote();
  const std::string connection = StoredConnection(db);
  const TFileAccess access = FileAccessFor(connection);
  const std::string dbms = db.DbmsName();

  std::map<std::string, const TTableSchema*> byName;
  for (const TTableSchema& t : schemas) byName[t.Name] = &t;
  std::map<std::string, TKeyPlan> keys;
  std::map<std::pair<std::string, std::string>, TCounterRange> ranges;
  for (const TTableSchema& t : schemas) {
    keys[t.Name] = PlanKeys(db, quote, t, options.Records, result.Notes);
    for (const auto& [column, max] : keys[t.Name].Counters)
      ranges[{t.Name, column}] = {max + 1, max + options.Records};
  }
  std::set<std::pair<std::string, std::string>> broken;  // table, column left NULL
  for (const TBrokenKey& b : order.Broken) {
    broken.insert({b.Table, b.Key.Columns[0]});
    result.Notes.push_back("\"" + b.Table + "\".\"" + b.Key.Columns[0] +
                           "\" is left NULL: its foreign key to \"" + b.Key.RefTable +
                           "\" closes a cycle of foreign keys.");
  }

  const std::filesystem::path dir = std::filesystem::absolute(options.OutputDir);
  std::filesystem::create_directories(dir);
  TWordLists words;
  words.Load(options.DictFolder.empty() ? DefaultDictFolder() : options.DictFolder);
  std::vector<TPendingFile> files;
  const TColumnChoice choice(words, dir / "lists",
                             [&files](const std::filesystem::path& file, const std::string& text) {
                               files.push_back({file, text, TFileAccess::Usual});
                             });

  std::vector<std::string> entries;
  for (const std::string& name : order.Tables) {
    const TTableSchema& t = *byName.at(name);
    const TKeyPlan& plan = keys.at(name);
    TGenModel model;
    model.SetDescription("Table " + name);
    model.SetDatabase(dbms);
    model.SetConnectionString(connection);
    model.SetTableName(name);
    const std::string stem = FileStem(name);
    model.SetSQLFile((dir / AnsiToUtf8(stem)).string());
    model.SetRecNumber(options.Records);
    model.SetDelimiter(std::string(2, quote));

    std::vector<std::pair<TColToGenItem*, const TColumnInfo*>> free;
    for (const TColumnInfo& c : t.Columns) {
      TColToGenItem& item = model.Cols().Add();
      item.SetColName(c.Name);
      item.SetDBColName(c.Name);
      const TForeignKey* fk = KeyOf(t, c.Name);
      const auto counter = plan.Counters.find(c.Name);
      if (broken.count({name, c.Name})) {
        choice.Choose(item, c);
        item.Param().SetAllowNull(true);
        item.Param().SetNullPercent(100);
        continue;
      }
      if (counter != plan.Counters.end()) {
        item.SetColType(ctIncremental);
        auto& p = static_cast<TCPIncremental&>(item.Param());
        p.SetStartValue(static_cast<int32_t>(counter->second));
        p.SetStep(1);
      } else if (fk) {
        const auto range = ranges.find({fk->RefTable, fk->RefColumns[0]});
        if (range != ranges.end() && byName.count(fk->RefTable)) {
          item.SetColType(ctInteger);
          auto& p = static_cast<TCPInteger&>(item.Param());
          p.SetMinValue(static_cast<int32_t>(range->second.First));
          p.SetMaxValue(static_cast<int32_t>(range->second.Last));
        } else {
          item.SetColType(ctColRef);
          auto& p = static_cast<TCPColRef&>(item.Param());
          p.SetTable(fk->RefTable);
          p.SetField(fk->RefColumns[0]);
          if (!IsTextColumn(c)) p.SetExportType(etNum);
        }
        if (c.IsNullable != "NO") {
          item.Param().SetAllowNull(true);
          item.Param().SetNullPercent(5);
        }
      } else {
        choice.Choose(item, c);
        free.emplace_back(&item, &c);
        if (!KnownType(c)) {
          if (c.IsNullable != "NO") {
            item.Param().SetAllowNull(true);
            item.Param().SetNullPercent(100);
          }
          result.Notes.push_back("\"" + name + "\".\"" + c.Name + "\" has the type " +
                                 c.DriverType + ", which no generator makes" +
                                 (c.IsNullable != "NO" ? ": it is left NULL."
                                                       : ": it gets random text."));
        }
      }
      const auto unique = plan.Unique.find(c.Name);
      if (unique != plan.Unique.end()) {
        item.Param().SetUnique(unique->second);
        item.Param().SetAllowNull(false);
        // Random text of the full length leaves next to no room for repeats.
        if (auto* text = dynamic_cast<TCPString*>(&item.Param()))
          text->SetMinSize(text->DataLength());
      }
    }
    for (auto& [item, column] : free) choice.FitToColumn(model, *item, *column, name);
    model.SetModified(false);

    const std::filesystem::path file = dir / AnsiToUtf8(stem + ".model");
    files.push_back({file, SaveModelToBytes(model), access});
    if (options.Json)
      files.push_back({dir / AnsiToUtf8(stem + ".json"), ModelToJson(model) + "\n", access});
    result.Models.push_back(file.string());
    entries.push_back(stem + ".model");
  }
  const std::filesystem::path planFile = dir / "database.plan";
  files.push_back({planFile, FormatPlan(entries), TFileAccess::Usual});
  result.PlanPath = planFile.string();

  const std::vector<std::string> existing = CheckPlaces(dir, files);
  if (!existing.empty() && !(options.ConfirmReplace && options.ConfirmReplace(existing))) {
    result.NotReplaced = existing;
    return result;
  }
  for (const TPendingFile& file : files) {
    // Checked again just before writing: a link made meanwhile is not written through either.
    if (IsLink(file.Path)) RefuseLink(file.Path);
    std::filesystem::create_directories(file.Path.parent_path());
    WriteWholeFile(file.Path, file.Bytes, file.Access);
  }
  return result;
}

}  // namespace kelvast
