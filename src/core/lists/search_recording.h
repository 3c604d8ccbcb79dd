// Search history entries made from searches, and the searches they give back when the user
// picks one from the history menu.
#pragma once

#include <string>

#include "lists/search_history.h"
#include "lists/search_statements.h"

namespace sonarchive::lists {

class DateFormat;

// The history entry of a simple search; nothing when no field or condition is chosen. The
// value is stored as the search read it: text upper-cased (A to Z only), numbers truncated,
// dates in the user's format. The caption is cut step by step so that it grows to at most
// 17, 27, 28, 29, 69 and 70 characters.
std::optional<TSearchHistoryEntry> SimpleHistoryEntry(const SimpleSearch& search,
                                                      const DateFormat& dates);
// The entry of an advanced search: the grid as it stands, and its readable text (cut to 100
// characters) as caption, empty when the grid gives no condition.
TSearchHistoryEntry AdvancedHistoryEntry(const SearchGrid& grid, const DateFormat& dates);

// The condition a stored one names: the stored text itself when it is one of the kind's
// operators, else the one operator it begins (a stored "Exact matc" is "Exact match"); empty
// when none or several fit.
std::string RestoredCondition(char kind, std::string_view stored);

// What a simple entry puts back into the window.
struct SimpleReplay {
    int field = -1;      // position in CatalogFields; -1 when the stored caption names none
    int condition = -1;  // position among the field's operators; -1 when none fits
    std::string value;   // for a number field its whole number, "0" when it reads as none
};
SimpleReplay ReplaySimple(const TSearchHistoryEntry& entry);
// The grid of an advanced entry, its stored conditions restored; otherwise as stored.
SearchGrid ReplayAdvanced(const TSearchHistoryEntry& entry);

}  // namespace sonarchive::lists
