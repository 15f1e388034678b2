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
// the user, so they may set only what a connection needs: for each driver family a list of
// allowed keys (driver, data source, database or server, port, user, password, timeouts, SSL
// mode, foreign keys, type mappings), compared without regard to case. Anything else - extension
// libraries, trace and log files, statements run at connect time, unixODBC's SAVEFILE, a driver
// that is not installed - is refused with a message naming the key. The keys are read the way
// the driver itself reads the string (the SQLite driver cuts at every ";", braces or not), and a
// file data source (FILEDSN) is read the way unixODBC hands its lines to the driver. A string the
// user types or builds is not held to this.

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

// How long a string that opens an SQLite file waits for a database another connection holds,
// in milliseconds: its "Timeout=" as the SQLite driver reads it, else kSqliteBusyMilliseconds.
int SqliteBusyMilliseconds(const std::string& text);

// The driver manager's string (see OdbcConnectionString) with the SQLite busy wait set when the
// string opens an SQLite file, so that a statement waits SqliteBusyMilliseconds in all.
//
//   WithSqliteBusyWait("DRIVER=SQLite3;Database=/tmp/x.db")
//   // "DRIVER=SQLite3;Database=/tmp/x.db;Timeout=2500": the driver waits twice (see the .cpp)
std::string WithSqliteBusyWait(const std::string& target);

// Raises EDatabaseError, naming the key, when a string read from a file sets a key that its
// driver's allow-list does not hold (directly, hidden where the driver does not honour braces,
// or in the file data source it names), names a driver that is not installed, or names an
// SQLite file that does not exist. A bare SQLite path passes (CheckSqliteTarget checks it).
void CheckFileConnectionString(const std::string& text);

}  // namespace kelvast
