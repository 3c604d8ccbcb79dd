// The catalog's tables and indexes.
#pragma once

#include "catalog_store/engine.h"

namespace sonarchive::catalog {

// Creates whichever of the three tables is missing; answers whether maindata was among them.
// Existing tables are left as they are: an older catalog is upgraded by the start-up steps.
bool EnsureCatalogTables(Database& database);

// Creates every missing index, and replaces every index an older version built on SQLite's
// own upper() or lower() (see case_functions.h). On an existing catalog this reads every row,
// so start-up runs it only after the catalog passed its check.
void EnsureCatalogIndexes(Database& database);

// Both, for a catalog known to be sound.
void EnsureCatalogSchema(Database& database);

}  // namespace sonarchive::catalog
