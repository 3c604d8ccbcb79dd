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

}  // namespace sonarchive::collections
