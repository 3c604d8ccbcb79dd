#include "lists/search_history.h"

#include <gtest/gtest.h>

#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace sonarchive::lists {
namespace {

TSearchHistoryEntry Simple(const std::string& value) {
    TSearchHistoryEntry entry;
    entry.Used = true;
    entry.Simple = {"Artist", "Contains", value, ""};
    entry.Caption = "Artist Contains '" + value + "'";
    return entry;
}

TEST(SearchHistory, IsStoredInTheFixedLayout) {
    SearchHistory history;
    TSearchHistoryEntry advanced;
    advanced.Used = true;
    advanced.Advanced = true;
    advanced.AdvancedConditions[1] = {"Year", "Greater", "1999", "AND"};
    advanced.Caption = "Year > 1999";
    history.Record(advanced);

    const std::string record = history.Encode();
    ASSERT_EQ(record.size(), 2795u);
    const std::size_t last = 4 * 559;  // the newest entry is the fifth
    EXPECT_EQ(record[last + 0], 1);
    EXPECT_EQ(record[last + 1], 1);
    EXPECT_EQ(record.substr(last + 78, 5), std::string("\x04Year"));
    EXPECT_EQ(record.substr(last + 78 + 17, 8), std::string("\x07Greater"));
    EXPECT_EQ(record.substr(last + 78 + 28, 5), std::string("\x04"
                                                            "1999"));
    EXPECT_EQ(record.substr(last + 78 + 69, 4), std::string("\x03"
                                                            "AND"));
    EXPECT_EQ(record.substr(last + 458, 12), std::string("\x0BYear > 1999"));
    EXPECT_EQ(record[0], 0);  // the older entries are empty

    const SearchHistory read = SearchHistory::Decode(record);
    EXPECT_EQ(read.UsedEntries(), std::vector<std::size_t>{4});
    const TSearchHistoryEntry& back = read.Entries()[4];
    EXPECT_TRUE(back.Advanced);
    EXPECT_EQ(back.AdvancedConditions[1].Condition, "Greater");
    EXPECT_EQ(back.AdvancedConditions[1].Combine, "AND");
    EXPECT_EQ(back.Caption, "Year > 1999");
}

TEST(SearchHistory, CutsTextsToTheirFieldsWithoutSplittingCharacters) {
    SearchHistory history;
    TSearchHistoryEntry entry = Simple(std::string(39, 'x') + "ö");
    entry.Simple.Condition = "Exact match";
    history.Record(entry);
    const TSearchHistoryEntry read = SearchHistory::Decode(history.Encode()).Entries()[4];
    EXPECT_EQ(read.Simple.Condition, "Exact matc");
    EXPECT_EQ(read.Simple.Value, std::string(39, 'x'));
}

TEST(SearchHistory, TheSixthSearchDropsTheOldest) {
    SearchHistory history;
    for (int i = 1; i <= 6; ++i) {
        history.Record(Simple(std::to_string(i)));
    }
    ASSERT_EQ(history.UsedEntries().size(), 5u);
    EXPECT_EQ(history.Entries()[0].Simple.Value, "2");
    EXPECT_EQ(history.Entries()[4].Simple.Value, "6");
}

TEST(SearchHistory, AnUnreadableValueGivesAnEmptyHistory) {
    EXPECT_TRUE(SearchHistory::Decode("short").UsedEntries().empty());
    std::string record = SearchHistory().Encode();
    record[0] = 1;
    record[458] = static_cast<char>(250);  // a length beyond the caption's capacity
    const SearchHistory read = SearchHistory::Decode(record);
    EXPECT_EQ(read.Entries()[0].Caption.size(), 100u);

    testing::TempDir dir;
    platform::SettingsFile file(dir / "settings.json");
    testing::ScriptedInteraction user;
    catalog::Registry registry(file, user);
    EXPECT_TRUE(LoadSearchHistory(registry).UsedEntries().empty());
    SearchHistory stored;
    stored.Record(Simple("ABBA"));
    SaveSearchHistory(registry, stored);
    EXPECT_EQ(LoadSearchHistory(registry).Entries()[4].Caption, "Artist Contains 'ABBA'");
}

}  // namespace
}  // namespace sonarchive::lists
