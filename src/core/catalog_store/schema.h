// The catalog's tables and indexes.
#pragma once

#include "catalog_store/engine.h"

namespace sonarchive::catalog {

// Creates the three tables (on first start) and any missing index. Existing tables are left
// as they are: an older catalog is upgraded by the start-up steps instead.
void EnsureCatalogSchema(Database& database);

}  // namespace sonarchive::catalog
