// SPDX-License-Identifier: MIT
#pragma once
// The fields of a live table with their real limits. Drivers fill the catalogue's gaps with
// defaults of their own: the PostgreSQL driver reports a VARCHAR without a length as 255
// characters, a NUMERIC without precision as (28, 6) and a boolean as VARCHAR(5). Those are
// read again from the server's information schema, so that nothing is refused for a limit the
// table does not have.

#include <string>
#include <vector>

#include "core/database/data_access.h"
#include "core/database/schema.h"

namespace kelvast {

// The table's columns in catalogue order; empty when it has none. Raises EDatabaseError.
std::vector<TColumnInfo> TableFields(TDataAccess& access, const std::string& table);

}  // namespace kelvast
