// The five most recent searches, kept by the main window for the whole run and stored as one
// binary settings value.
//
// The stored record is 2795 bytes: five entries of 559 bytes back to back, oldest first.
// Texts are length-prefixed: one length byte, then as many bytes as the field's capacity
// (bytes after the length are undefined). Histories written by earlier versions rely on this
// layout, so it never changes.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "catalog_store/settings.h"

namespace sonarchive::lists {

// One condition of a search: field caption, condition, value and the word that joins it to
// the next one ("AND", "OR", "IGNORE"; empty in a simple search).
struct TSearchCondition {
    std::string Field;      // at most 16 bytes stored
    std::string Condition;  // at most 10 bytes stored
    std::string Value;      // at most 40 bytes stored
    std::string Combine;    // at most 6 bytes stored

    bool operator==(const TSearchCondition&) const = default;
};

struct TSearchHistoryEntry {
    bool Used = false;
    bool Advanced = false;
    std::array<TSearchCondition, 5> AdvancedConditions;
    TSearchCondition Simple;
    std::string Caption;  // at most 100 bytes stored
};

class SearchHistory {
public:
    static constexpr std::size_t kEntries = 5;
    static constexpr std::size_t kEntrySize = 559;
    static constexpr std::size_t kRecordSize = kEntries * kEntrySize;
    static constexpr const char* kValueName = "SEARCH_HISTORY";

    const std::array<TSearchHistoryEntry, kEntries>& Entries() const { return entries_; }

    // Appends a search as the newest entry; the oldest one is dropped.
    void Record(TSearchHistoryEntry entry);
    // Positions of the entries that hold a search, oldest first.
    std::vector<std::size_t> UsedEntries() const;

    // The stored record; texts longer than their field are cut, never inside a character.
    std::string Encode() const;
    // An empty history when the record does not have the stored size.
    static SearchHistory Decode(std::string_view record);

private:
    std::array<TSearchHistoryEntry, kEntries> entries_;
};

// Read at start; a missing or unreadable value gives an empty history.
SearchHistory LoadSearchHistory(catalog::Registry& registry);
// Written when the main window closes.
void SaveSearchHistory(catalog::Registry& registry, const SearchHistory& history);

}  // namespace sonarchive::lists
