// SPDX-License-Identifier: MIT
#pragma once
// Models from a live schema: one model per table, each with its generators chosen from the
// table's columns and keys, and a plan that fills the tables in foreign-key order.
//
//   TOdbcConnection db("DRIVER={PostgreSQL Unicode};Server=127.0.0.1;Database=shop;");
//   db.Open();
//   TScaffoldResult r = Scaffold(db, {.Records = 10000, .OutputDir = "/tmp/shop"});
//   // r.PlanPath == "/tmp/shop/database.plan"; kelvast-cli plan it with --format db
//
// Keys: a single-column integer primary key becomes a counter that starts after the column's
// current maximum; a foreign key to such a counter draws from the range the plan fills; a
// foreign key to any other key reads the referenced column's existing values; a composite key
// or a unique index is one unique key over its generators.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kelvast {

class TOdbcConnection;

struct TScaffoldOptions {
  std::vector<std::string> Tables;  // empty: every table of the database
  int32_t Records = 1000;           // records of each table
  std::filesystem::path OutputDir;  // created when missing
  bool Json = false;                // also write each model as JSON (TABLE.json)
  std::filesystem::path DictFolder; // word lists; empty: the default folder
  // Asked, with the files that exist already, before any of them is replaced; false, or no
  // question at all, writes nothing.
  std::function<bool(const std::vector<std::string>& existing)> ConfirmReplace;
};

struct TScaffoldResult {
  std::string PlanPath;
  std::vector<std::string> Models;  // the model files, in plan order
  std::vector<std::string> Notes;   // what the user should know: keys left NULL, columns left out
  // The files that exist already when they were not to be replaced; nothing was written then.
  std::vector<std::string> NotReplaced;
};

// Builds the models and the plan from the connection's schema. Raises EKelvastError (or
// EDatabaseError, EFileError) with a message that never holds the connection's password: a
// cycle of NOT NULL foreign keys, a counter that would pass 2^31-1, a name Windows-1252 cannot
// hold, a missing table. Files holding a password are readable by their owner only.
// Nothing is written until every file is made in memory; then a symbolic link at any of the
// files' places in the output folder (or at its "lists" folder) is refused with EFileError
// naming it, since writing would go through it to a file elsewhere, and files that exist are
// replaced only when options.ConfirmReplace says so.
TScaffoldResult Scaffold(TOdbcConnection& connection, const TScaffoldOptions& options);

}  // namespace kelvast
