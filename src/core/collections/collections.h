// The user's collections inside the catalog: named, ordered lists of catalog files (SubColl,
// SubCollD). Every operation here is the catalog side only; the windows and the command line
// decide when to ask and what to show.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog_store/catalog.h"
#include "catalog_store/collection_totals.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/settings.h"
#include "catalog_store/sql_text.h"
#include "collections/member_order.h"
#include "collections/playlist.h"
#include "interaction/interaction.h"

namespace sonarchive::collections {

// What a collection window shows in its caption and how it orders its members.
struct CollectionHeader {
    std::string name;
    bool usesPositions = true;  // dUsePositions = 1; otherwise the list is sortable
};

// "select dname, dUsePositions from SubColl where id =ID"; nothing for an unknown id.
std::optional<CollectionHeader> LoadCollectionHeader(catalog::Database& database,
                                                     std::int64_t collectionId);

// Appends a SubColl row (no members, created now) and answers its id. A sortable collection
// keeps no order of its own (dUsePositions = 0). Tells the catalog's listeners.
std::int64_t CreateCollection(catalog::Catalog& catalog, const std::string& name, bool sortable);

// Members are numbered from the current maximum position + 1, in the order given; written in
// one transaction (all or none). A file may be added any number of times.
void AddCollectionMembers(catalog::Database& database, std::int64_t collectionId,
                          const catalog::IdList& fileIds);

// A position as the statements carry it: six decimals, "." as separator (5 gives 5.000000).
std::string PositionText(double position);

// The sum of a "Size (KB)" text; a text that is not a number counts nothing.
std::int64_t KilobytesOfText(std::string_view text);

// What the totals panel shows.
struct TotalsTexts {
    std::string files;   // "Files"
    std::string size;    // "Total size": "N MB"
    std::string length;  // "Total length": hours, minutes, seconds
};
TotalsTexts TotalsTextsOf(const catalog::CollectionTotals& totals);

// Writes the totals to the collection row and tells the catalog's listeners.
void StoreCollectionTotals(catalog::Catalog& catalog, std::int64_t collectionId,
                           const catalog::CollectionTotals& totals);

// Writes every member's position, in one transaction.
void SaveMemberPositions(catalog::Database& database, const std::vector<MemberPosition>& members);

// "Remove selected items from collection?" when CONFIRM_DELETE_IF_IN_COLLECTIONS is on; a
// ticked "Don't show this message anymore" switches it off and saves it. False when cancelled.
bool ConfirmMemberRemoval(Interaction& user, catalog::Registry& registry,
                          catalog::GeneralSettings& settings);

// Deletes member rows by their SubCollD ids, in one transaction; files and catalog rows stay.
void RemoveCollectionMembers(catalog::Database& database,
                             const std::vector<std::int64_t>& memberIds);

// A renamed or re-kinded collection; tells the catalog's listeners.
void SetCollectionProperties(catalog::Catalog& catalog, std::int64_t collectionId,
                             const std::string& name, bool sortable);

// Removes the collection with its members; tells the catalog's listeners.
void DeleteCollection(catalog::Catalog& catalog, std::int64_t collectionId);

// Where the members can be opened now, in member order; members whose volume is not mounted
// are left out (a stored path names no file here).
std::vector<std::string> CollectionMemberPaths(catalog::Database& database,
                                               const catalog::PathRules& rules,
                                               std::int64_t collectionId);

// One listed member as "Save as playlist" sees it.
struct PlaylistRow {
    int format = 0;  // dFormat
    double seconds = 0;
    std::string artist;
    std::string title;
    std::string fullPath;  // empty when the file is not at hand now
};

// The rows the tag editor could open (MP3, Ogg Vorbis, Monkey's Audio, at hand now), in order,
// each with an info line of its length in whole seconds, artist and title.
std::vector<PlaylistEntry> PlaylistOfRows(const std::vector<PlaylistRow>& rows);

}  // namespace sonarchive::collections
