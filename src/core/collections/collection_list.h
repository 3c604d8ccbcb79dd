// The user's collections by name, as the main window's collections box lists them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog_store/engine.h"

namespace sonarchive::collections {

struct CollectionName {
    std::int64_t Id = 0;  // SubColl.id
    std::string Name;     // SubColl.dName
};

// "select * from SubColl order by dname"
std::vector<CollectionName> ListCollections(catalog::Database& database);

// A SubColl row as the collections window lists it.
struct CollectionRow {
    std::int64_t Id = 0;
    std::string Name;
    double Created = 0;  // days since 1899-12-30
    std::int64_t Files = 0;
    std::int64_t LengthMinutes = 0;
    std::int64_t SizeMB = 0;
    bool UsesPositions = true;
};

// Every collection by name, with its totals.
std::vector<CollectionRow> ListCollectionRows(catalog::Database& database);

}  // namespace sonarchive::collections
