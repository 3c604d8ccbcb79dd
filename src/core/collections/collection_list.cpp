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

std::vector<CollectionRow> ListCollectionRows(catalog::Database& database) {
    std::vector<CollectionRow> rows;
    catalog::Query query(database, "select * from SubColl order by dname");
    for (; !query.AtEnd(); query.Next()) {
        rows.push_back({query["id"].AsInteger(), query["dName"].AsText(),
                        query["dCreatedDate"].AsDateTime(), query["dFiles"].AsInteger(),
                        query["dLength"].AsInteger(), query["dSize"].AsInteger(),
                        query["dUsePositions"].AsInteger() == 1});
    }
    return rows;
}

}  // namespace sonarchive::collections
