#include "lists/browse_statements.h"

#include "catalog_store/sql_text.h"
#include "text/text.h"

namespace sonarchive::lists {
namespace {

// How the statements name the grouping column: the tree and the expansion write it one way,
// the delete statements another.
struct GroupingColumn {
    std::string_view name;         // dArtist
    std::string_view deleteName;   // dARTIST
    std::string_view expandOrder;  // the column the expanded files are ordered by
};

GroupingColumn ColumnOf(int grouping) {
    switch (grouping) {
        case kGroupingAlbum:
            return {"dAlbum", "dALBUM", "dTitle"};
        case kGroupingGenre:
            return {"dGenre", "dGENRE", "dArtist"};
        default:
            return {"dArtist", "dARTIST", "dTitle"};
    }
}

std::string EmptyGroupCondition(const GroupingColumn& column) {
    const std::string name(column.name);
    return name + "='' or " + name + " is null";
}

// "select * from maindata where upper(dARTIST)='X'" and its delete twin.
std::string GroupCondition(const GroupingColumn& column, std::string_view key) {
    if (key.empty()) {
        return EmptyGroupCondition(column);
    }
    return "upper(" + std::string(column.deleteName) + ")='" + catalog::SqlQuote(key) + "'";
}

}  // namespace

int GroupingCodeOf(int topLevelPosition) {
    switch (topLevelPosition) {
        case 0:
            return kGroupingArtist;
        case 1:
            return kGroupingAlbum;
        case 2:
            return kGroupingGenre;
        default:
            return kGroupingPlain;
    }
}

std::string BrowseTreeStatement(int grouping) {
    if (grouping != kGroupingArtist && grouping != kGroupingAlbum && grouping != kGroupingGenre) {
        return "select * from maindata order by dartist";
    }
    const std::string upper = "upper(" + std::string(ColumnOf(grouping).name) + ")";
    return "select distinct " + upper + " as da from maindata order by " + upper;
}

std::vector<BrowseGroup> LoadBrowseGroups(catalog::Database& database, int grouping) {
    std::vector<BrowseGroup> groups;
    if (grouping != kGroupingArtist && grouping != kGroupingAlbum && grouping != kGroupingGenre) {
        return groups;
    }
    bool haveEmpty = false;
    catalog::Query query(database, BrowseTreeStatement(grouping));
    for (; !query.AtEnd(); query.Next()) {
        std::string key = query[0].AsText();
        if (key.empty()) {
            // '' and NULL are two distinct values to the engine, one group to the user.
            if (haveEmpty) {
                continue;
            }
            haveEmpty = true;
        }
        groups.push_back({text::TitleCase(key), std::move(key)});
    }
    return groups;
}

std::string GroupFilter(int grouping, std::string_view key) {
    const GroupingColumn column = ColumnOf(grouping);
    const std::string order = " order by upper(" + std::string(column.expandOrder) + ")";
    const std::string name(column.name);
    if (key.empty()) {
        // No blank before "or" for artists: the engine reads '' as the end of the text.
        const std::string join =
            grouping == kGroupingAlbum || grouping == kGroupingGenre ? " or " : "or ";
        return name + "=''" + join + name + " is null" + order;
    }
    return "upper(" + name + ")='" + catalog::SqlQuote(key) + "'" + order;
}

std::string GroupStatement(int grouping, std::string_view key) {
    return "select * from maindata where " + GroupFilter(grouping, key);
}

std::string GroupFilesStatement(int grouping, std::string_view key) {
    return "select * from maindata where " + GroupCondition(ColumnOf(grouping), key);
}

std::string GroupDeleteStatement(int grouping, std::string_view key) {
    return "delete from maindata where " + GroupCondition(ColumnOf(grouping), key);
}

}  // namespace sonarchive::lists
