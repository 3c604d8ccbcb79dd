#include "collections/collection_list.h"

namespace sonarchive::collections {

std::vector<CollectionName> ListCollections(catalog::Database& database) {
    std::vector<CollectionName> collections;
    catalog::Query query(database, "select * from SubColl order by dname");
    for (; !query.AtEnd(); query.Next()) {
        collections.push_back({query["id"].AsInteger(), query["dName"].AsText()});
    }
    return collections;
}

}  // namespace sonarchive::collections
