// The selected rows of a result list as catalog ids and as file paths, for the tools that act
// on a selection. A group row (Browse) stands for every file of its group; each file counts
// once, even when its group and the file itself are both selected.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "catalog_store/engine.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/sql_text.h"

namespace sonarchive::lists {

class ResultRows;

struct ListRowRef {
    // A file row: its catalog id and its serial and stored path.
    std::int64_t id = -1;
    std::string serial;
    std::string path;
    // A group row: its grouping code (1, 3 or 8) and upper-cased value; 0 for a file row.
    int grouping = 0;
    std::string groupKey;

    bool IsGroup() const { return grouping > 0; }
    static ListRowRef File(std::int64_t id, std::string serial, std::string path);
    static ListRowRef Group(int grouping, std::string key);
};

// The reference of a file row of a store.
ListRowRef FileRowRefOf(const ResultRows& rows, std::size_t row);

// Where a row's file can be opened now; empty when its volume is not mounted (or, for a
// network row, no mount of its share is present).
std::string RowFullPath(const catalog::PathRules& rules, std::string_view serial,
                        std::string_view storedPath);

// The ids of the rows in list order, group rows expanded through their statement.
catalog::IdList SelectedIds(catalog::Database& database, std::span<const ListRowRef> rows);

// The full paths of the rows in list order, group rows expanded. A file that cannot be
// reached now gives its stored path when `includeUnreachable` is set and nothing otherwise.
std::vector<std::string> SelectedPaths(catalog::Database& database, const catalog::PathRules& rules,
                                       std::span<const ListRowRef> rows, bool includeUnreachable);

}  // namespace sonarchive::lists
