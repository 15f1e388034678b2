// SPDX-License-Identifier: MIT
#pragma once
// Checks made before a connection string reaches the driver manager.
//
// SQLite: the driver creates a missing database file without a word and stops a path at its
// first ";", so a typing error would fill a new, empty file somewhere else. Both are refused,
// and a busy wait is set so that a database another program holds is waited for a few seconds
// instead of failing at once (a "Timeout=" of the string's own takes precedence).
//
// Strings read from files (models, plans, ".con" files) come from other people as often as from
// the user: they may not name a driver that is not installed (a path to a library would be
// loaded as one), nor ask a driver to load extension libraries, directly or through the file data
// source they name. A string the user types or builds is not held to this.

#include <optional>
#include <string>

namespace kelvast {

// The SQLite busy wait used when the string sets none, in milliseconds.
inline constexpr int kSqliteBusyMilliseconds = 5000;

// The database file (Windows-1252, as written) of a string that the SQLite driver opens: a bare
// path, or a string naming the SQLite driver; nothing for any other string.
std::optional<std::string> SqliteDatabaseOf(const std::string& text);

// Raises EDatabaseError when the string opens an SQLite file that does not exist or whose path
// the driver cannot take.
void CheckSqliteTarget(const std::string& text);

// The driver manager's string (see OdbcConnectionString) with the SQLite busy wait added when the
// string opens an SQLite file and sets none.
std::string WithSqliteBusyWait(const std::string& target);

// Raises EDatabaseError when a string read from a file names a driver that is not installed, asks
// for extension libraries, or names a file data source that does either.
void CheckFileConnectionString(const std::string& text);

}  // namespace kelvast
