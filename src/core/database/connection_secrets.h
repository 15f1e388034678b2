// SPDX-License-Identifier: MIT
#pragma once
// Passwords in connection strings: whether a string holds one, the string as shown (the password
// masked) and as remembered without it. Every place that shows a connection string shows
// MaskPassword's; every file that may hold one is written private when HoldsPassword says so.
//
//   MaskPassword("DRIVER={PostgreSQL Unicode};UID=ada;PWD=s3cret");
//   // "DRIVER={PostgreSQL Unicode};UID=ada;PWD=********"

#include <string>
#include <string_view>

#include "core/platform/file_io.h"

namespace kelvast {

// What a masked password reads: the same whatever its length.
inline constexpr std::string_view kMaskedPassword = "********";

// True for the keys drivers take a password under (PWD, Password; case ignored).
bool IsPasswordKey(std::string_view key);

// True when the string gives a password: a PWD or Password attribute that is not empty, or a
// "password" among the libpq options of psqlODBC's pqopt attribute.
bool HoldsPassword(std::string_view connection);

// The string with every password replaced by kMaskedPassword; a string without one is returned
// as it is. A FILEDSN or DSN names a source whose own file holds its password: nothing to mask.
std::string MaskPassword(std::string_view connection);

// The string without its passwords, for remembering it: the driver then takes the password
// from its own sources (PostgreSQL: PGPASSWORD, ~/.pgpass) or the connection asks for one. A
// string without one is returned as it is.
std::string StripPassword(std::string_view connection);

// How a file that holds the string is written: Private when it holds a password.
TFileAccess FileAccessFor(std::string_view connection);

}  // namespace kelvast
