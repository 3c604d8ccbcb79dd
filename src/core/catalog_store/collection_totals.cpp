#include "catalog_store/collection_totals.h"

#include <cmath>
#include <string>

namespace sonarchive::catalog {

std::int64_t CollectionTotals::Minutes() const {
    return static_cast<std::int64_t>(std::trunc(seconds / 60));
}

std::int64_t CollectionTotals::Megabytes() const {
    const std::int64_t whole = kilobytes / 1000;
    const std::int64_t rest = kilobytes % 1000;
    const bool up = rest > 500 || (rest == 500 && whole % 2 != 0);
    return whole + (up ? 1 : 0);
}

void WriteCollectionTotals(Database& database, std::int64_t collectionId,
                           const CollectionTotals& totals) {
    database.Execute("update SubColl set dFiles=" + std::to_string(totals.files) + "," +
                     "dLength=" + std::to_string(totals.Minutes()) + "," +
                     "dSize=" + std::to_string(totals.Megabytes()) +
                     " where id = " + std::to_string(collectionId));
}

CollectionTotals TotalsOfMembers(Database& database, std::int64_t collectionId) {
    Query sums(database,
               "select count(*), sum(maindata.dLength), sum(maindata.dFileSize) from maindata, "
               "subcolld where SubColld.dSubCollectionId=" +
                   std::to_string(collectionId) + " and subcolld.dDataid = maindata.id");
    return sums.AtEnd()
               ? CollectionTotals{}
               : CollectionTotals{sums[0].AsInteger(), sums[1].AsDouble(), sums[2].AsInteger()};
}

void RecomputeCollectionTotals(Database& database, IdList collectionIds) {
    for (const std::int64_t id : collectionIds) {
        WriteCollectionTotals(database, id, TotalsOfMembers(database, id));
    }
}

}  // namespace sonarchive::catalog
