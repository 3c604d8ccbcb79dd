// The catalog's maintenance commands: packing, emptying, and removing collection members
// whose file row is gone.
#pragma once

#include <cstdint>

#include "catalog_store/catalog.h"
#include "interaction/interaction.h"

namespace sonarchive::catalog {

// The question asked before packing; the desktop program closes its windows on Yes.
constexpr const char* kPackQuestion =
    "Sonarchive needs to close all windows to perform this operation. Other instances of "
    "Sonarchive must be closed, continue?";

// Packs the catalog (the part of "Pack database" after its question): true when packed.
// Another program using the catalog gives the exclusive-rights message and changes nothing.
bool PackDatabase(Catalog& catalog, Interaction& interaction);

// "Empty database": both questions, then every row deleted; collections stay, empty.
// Answers false when the user said No.
bool EmptyDatabase(Catalog& catalog, Interaction& interaction);

// Deletes every collection member whose file row is gone, 50 at a time, and writes the totals
// of the collections that lost members anew; answers how many member rows there were.
std::int64_t RemoveOrphanMembers(Database& database);

}  // namespace sonarchive::catalog
