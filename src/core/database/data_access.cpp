// SPDX-License-Identifier: MIT
#include "core/database/data_access.h"

namespace kelvast {

std::vector<TColumnInfo> TDataAccess::Columns(const std::string&) { return {}; }

std::string TDataAccess::DbmsName() { return {}; }

}  // namespace kelvast
