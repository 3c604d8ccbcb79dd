// The duplicate finder's searches: rows with equal tags or sizes, files with equal names, and
// files with equal audio. Each gives the rows of its groups in list order with their group
// numbers, counting from 1; a group always has two rows or more.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalog_store/engine.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/settings.h"
#include "interaction/interaction.h"
#include "organize/bit_pattern.h"
#include "platform/drive_list.h"

namespace sonarchive::organize {

enum class DuplicateMethod {
    BitPattern = 0,
    Filename = 1,
    Size = 2,
    ArtistTitle = 3,
    ArtistTitleAlbum = 4,
    Custom = 5,
};

// The method entries, by index.
const std::vector<std::string>& DuplicateMethodNames();

// LAST_DUPLACTE_SEARCH_METHOD; 0 when missing or out of range.
int ReadLastDuplicateMethod(catalog::Registry& registry);
void WriteLastDuplicateMethod(catalog::Registry& registry, int method);

struct DuplicateFields {
    bool artist = false;
    bool title = false;
    bool album = false;
    bool track = false;
    bool size = false;

    bool Any() const { return artist || title || album || track || size; }
};

// The fields a tag or size method compares.
DuplicateFields FieldsOfMethod(DuplicateMethod method);

struct DuplicateRow {
    std::int64_t id = 0;
    int group = 0;
    bool operator==(const DuplicateRow&) const = default;
};

struct DuplicateSearch {
    std::vector<DuplicateRow> rows;
    std::uint64_t comparisons = 0;  // the bit pattern's "Counter"
    double started = 0;             // date-times of the comparing, bit pattern only
    double ended = 0;
    bool cancelled = false;
};

// One catalog row per record of the first statement, ordered by the first ticked field.
struct TDupTagRec {
    std::int32_t Id = 0;
    std::int32_t Track = 0;
    std::int32_t FileSize = 0;
    std::string Title;
    std::string Artist;
    std::string Album;
};

// Rows equal in every ticked field, texts compared without regard to case and untrimmed;
// groups in the order of "order by" the first ticked field, rows by id. No field: no rows.
DuplicateSearch FindTagDuplicates(catalog::Database& database, const DuplicateFields& fields,
                                  Interaction& interaction,
                                  const std::function<void(std::size_t)>& found = {});

// Rows whose file names (last component of dPath) are equal without regard to case; groups in
// the order of their names, rows by id.
DuplicateSearch FindFileNameDuplicates(catalog::Database& database);

// Files of the reachable-file list with equal audio.
DuplicateSearch FindBitPatternDuplicates(catalog::Database& database,
                                         const catalog::PathRules& rules,
                                         const platform::LocalDriveList& drives,
                                         const std::vector<std::string>& reachableHosts,
                                         Interaction& interaction,
                                         const BitPatternProgress& progress);

}  // namespace sonarchive::organize
