// The statements of the Browse window: its tree of group rows (one per distinct artist, album
// or genre, compared upper-cased) or its plain listing, the files of one group, and the
// statements that delete a group.
//
// A group row keeps the upper-cased value it was made from as its key, so that its files are
// found by that value whatever title case makes of it. Rows whose value is empty and rows
// that have none form one group, the empty group, with its own condition.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalog_store/engine.h"

namespace sonarchive::lists {

constexpr int kGroupingPlain = -1;
constexpr int kGroupingArtist = 1;
constexpr int kGroupingAlbum = 3;
constexpr int kGroupingGenre = 8;

// The entries of the "Top level" list, by position.
constexpr std::string_view kTopLevelEntries[] = {"Artist", "Album", "Genre",
                                                 "Plain listing (list 'em all)"};
// The grouping of a position of the "Top level" list: the plain listing for 3 and for any
// position outside the list (nothing selected).
int GroupingCodeOf(int topLevelPosition);

// The statement that fills the tree: every file ordered by artist for the plain listing, else
// the distinct upper-cased values of the grouping column.
std::string BrowseTreeStatement(int grouping);

struct BrowseGroup {
    std::string text;  // shown: the value in title case
    std::string key;   // the upper-cased value; empty for the empty group
};
// The group rows of a grouping, in the statement's order; none for the plain listing.
std::vector<BrowseGroup> LoadBrowseGroups(catalog::Database& database, int grouping);

// The files of a group row, ordered as its expansion lists them.
std::string GroupStatement(int grouping, std::string_view key);
// The part of it after "where ": the group's condition and order.
std::string GroupFilter(int grouping, std::string_view key);
// Every file of a group, for deleting them from disk one by one.
std::string GroupFilesStatement(int grouping, std::string_view key);
// Deletes every catalog row of a group.
std::string GroupDeleteStatement(int grouping, std::string_view key);

}  // namespace sonarchive::lists
