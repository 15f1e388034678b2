#include "core/database/data_access.h"

namespace kelvast {

namespace {
TDataAccess* gCurrentConnection = nullptr;
}

TDataAccess* CurrentConnection() { return gCurrentConnection; }
void SetCurrentConnection(TDataAccess* connection) { gCurrentConnection = connection; }

}  // namespace kelvast
