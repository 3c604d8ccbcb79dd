// Running a statement that changes the catalog.
#pragma once

#include <cstdint>
#include <string>

#include "catalog_store/catalog.h"

namespace sonarchive::lists {

// Runs the statement and answers how many rows it changed; with `markStale` every window is
// told that the search pick lists no longer match the catalog.
std::int64_t ExecSql(catalog::Catalog& catalog, const std::string& sql, bool markStale);

}  // namespace sonarchive::lists
