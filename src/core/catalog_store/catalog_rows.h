// Reading catalog rows into records, and the small lookups every Part of the program shares.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalog_store/engine.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/records.h"
#include "catalog_store/sql_text.h"

namespace sonarchive::catalog {

// Every column by name; dDriveLetter is not read and is set to a single blank.
TMainDataRecComplete LoadCompleteRecord(const Query& row);

// The list record of a row. For a collection id of 0 or more the row comes from
// CollectionMembersSelect and the record also takes the member's id, file id and position.
TMainDataRec LoadListRecord(const Query& row, std::int32_t collectionId);

// "select * from maindata, subcolld where SubColld.dSubCollectionId=<id> and ..."
std::string CollectionMembersSelect(std::int64_t collectionId);

// The id of the row with this identity, or -1.
std::int64_t FindFileId(Database& database, const PathRules& rules, std::string_view fullPath,
                        std::string_view serial);

// "select max(id) from maindata"; 0 for an empty catalog.
std::int64_t LastMaindataId(Database& database);

// The complete records of the ids (consumed 50 at a time), in the order the engine returns.
std::vector<TMainDataRecComplete> LoadCompleteRecordsByIds(Database& database, IdList ids);

}  // namespace sonarchive::catalog
