// The value pick lists of the search window: the distinct values of six fields, in title case,
// kept for the whole run and shared by every search window. Any change to the catalog makes
// all six stale; a stale list is built again when next shown if the user asked for that
// (SEARCH_REFRESH_PICKLISTS), and otherwise only the first time.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "catalog_store/engine.h"

namespace sonarchive::lists {

class PickLists {
public:
    static constexpr std::size_t kCount = 6;

    PickLists();

    // Whether the field's column (any case) has a pick list.
    static bool HasPickList(std::string_view column);
    // The statement that lists the column's values; empty for a column without pick list.
    static std::string Statement(std::string_view column);

    // The column's values, built first when the list is stale and either `refreshStale` is on
    // or it was never built. Empty for a column without pick list.
    const std::vector<std::string>& Values(catalog::Database& database, std::string_view column,
                                           bool refreshStale);

    bool IsStale(std::string_view column) const;
    void MarkAllStale();
    // Drops every list, as at the start of a run.
    void Clear();

private:
    struct List {
        std::vector<std::string> values;
        bool stale = true;
        bool built = false;
    };
    std::array<List, kCount> lists_;
};

}  // namespace sonarchive::lists
