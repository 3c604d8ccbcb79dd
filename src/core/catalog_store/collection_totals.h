// The totals a collection row keeps of its members (SubColl's dFiles, dLength and dSize), and
// how they are made from the members' lengths and sizes.
#pragma once

#include <cstdint>

#include "catalog_store/engine.h"
#include "catalog_store/sql_text.h"

namespace sonarchive::catalog {

struct CollectionTotals {
    std::int64_t files = 0;
    double seconds = 0;
    std::int64_t kilobytes = 0;

    // dLength: whole minutes, the fraction dropped.
    std::int64_t Minutes() const;
    // dSize: kilobytes / 1000 to the nearest whole number, halves to the even neighbour
    // (1500 and 2500 KB both give 2).
    std::int64_t Megabytes() const;
};

// The totals of the collection's members that have a file row.
CollectionTotals TotalsOfMembers(Database& database, std::int64_t collectionId);

// "update SubColl set dFiles=N,dLength=M,dSize=S where id = ID"
void WriteCollectionTotals(Database& database, std::int64_t collectionId,
                           const CollectionTotals& totals);

// Counts the members of each collection that still have a file row and writes the totals:
// after members were removed behind the collections' backs (orphan clean-up, emptying).
void RecomputeCollectionTotals(Database& database, IdList collectionIds);

}  // namespace sonarchive::catalog
