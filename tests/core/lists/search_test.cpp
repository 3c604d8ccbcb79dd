#include <gtest/gtest.h>

#include "lists/date_format.h"
#include "lists/pick_lists.h"
#include "lists/search_recording.h"
#include "lists/search_statements.h"
#include "lists_fixture.h"
#include "text/text.h"

namespace sonarchive::lists {
namespace {

using testing::ListsTest;

const PatternDateFormat kDates("dd.MM.yyyy");
const std::string kSelect = catalog::StandardSelectWhere("");

// The condition part of a statement built on the standard select.
std::string ConditionOf(const std::string& statement) {
    EXPECT_EQ(statement.substr(0, kSelect.size()), kSelect);
    return statement.substr(std::min(statement.size(), kSelect.size()));
}

SearchGrid Grid(std::initializer_list<TSearchCondition> rows) {
    SearchGrid grid;
    std::copy(rows.begin(), rows.end(), grid.begin());
    return grid;
}

TEST(SimpleSearch, BuildsTheConditionOfEachKind) {
    EXPECT_EQ(ConditionOf(SimpleStatement({"Artist", "Contains", "o'neil"}, kDates)),
              "upper(dArtist) like '%O''NEIL%'");
    EXPECT_EQ(ConditionOf(SimpleStatement({"Year", ">=", "1990"}, kDates)), "dYear >=1990");
    EXPECT_EQ(ConditionOf(SimpleStatement({"Date Added", ">", "01.05.2004"}, kDates)),
              "dDateAdded > '2004-05-01'");
    EXPECT_EQ(ConditionOf(SimpleStatement({"Filename", "Exact match", "/Björk/a.mp3"}, kDates)),
              "upper(dpath) = '/BJÖRK/A.MP3'");
    EXPECT_EQ(ConditionOf(SimpleStatement({"title", "Contains", ""}, kDates)),
              "upper(dTitle) like '%%'");
    // Numbers are read, truncated toward zero, and 0 when they are none.
    EXPECT_EQ(ConditionOf(SimpleStatement({"Bit rate", "<>", " 127.9 "}, kDates)),
              "dmpegbitrate <>127");
    EXPECT_EQ(ConditionOf(SimpleStatement({"Track", "<", "-2.5"}, kDates)), "dTrack <-2");
    EXPECT_EQ(ConditionOf(SimpleStatement({"Track", "=", "1; drop table maindata"}, kDates)),
              "dTrack =0");

    // Nothing chosen, a condition of another kind, or a date that is none: no statement.
    EXPECT_EQ(SimpleStatement({"", "Contains", "x"}, kDates), "");
    EXPECT_EQ(SimpleStatement({"Artist", "", "x"}, kDates), "");
    EXPECT_EQ(SimpleStatement({"Artist", ">", "x"}, kDates), "");
    EXPECT_EQ(SimpleStatement({"Year", "Contains", "1"}, kDates), "");
    EXPECT_EQ(SimpleStatement({"Year", "like", "1"}, kDates), "");
    EXPECT_EQ(SimpleStatement({"Date Added", "=", "2004-05-01'--"}, kDates), "");
    EXPECT_EQ(SimpleStatement({"Colour", "Contains", "x"}, kDates), "");
}

TEST(SimpleSearch, CaptionsShowWhatWasSearched) {
    EXPECT_EQ(SimpleCaption({"Artist", "Contains", "beatles"}, 3),
              "\"Artist Contains beatles\" - found 3 rows");
    EXPECT_EQ(SimpleCaption({"Bit rate", ">", "127.9"}, 0), "\"Bit rate > 127\" - found 0 rows");
    EXPECT_EQ(AdvancedCaption(12), "Advanced search - found 12 rows");
}

TEST(SearchOperators, DependOnTheFieldKind) {
    const auto text = OperatorsOf(kKindText);
    EXPECT_EQ(std::vector<std::string_view>(text.begin(), text.end()),
              (std::vector<std::string_view>{"Contains", "Exact match"}));
    const auto date = OperatorsOf(FieldByCaption("FILE DATE")->kind);
    EXPECT_EQ(std::vector<std::string_view>(date.begin(), date.end()),
              (std::vector<std::string_view>{"=", ">", "<", "<>", "<=", ">="}));
    EXPECT_TRUE(OperatorsOf('X').empty());
    EXPECT_EQ(FieldIndexByCaption("Sample rate (hz)"), 14);
    EXPECT_EQ(FieldByCaption("Sample rate (Hz)")->column, "dmpegfrequency");
    EXPECT_EQ(FieldByCaption(""), nullptr);
}

TEST(AdvancedSearch, JoinsTheConditionsInBothRenderings) {
    const AdvancedSearch beatles = BuildAdvancedSearch(
        Grid({{"Artist", "Contains", "beatles", "AND"}, {"Year", ">", "1965", "IGNORE"}}), kDates);
    EXPECT_EQ(ConditionOf(beatles.statement), "upper(dArtist) like '%BEATLES%' AND dYear > 1965");
    EXPECT_EQ(beatles.readable, "(Artist Contains 'BEATLES') AND (Year > 1965)");

    const AdvancedSearch mixed =
        BuildAdvancedSearch(Grid({{"Artist", "Exact match", "O'Neil", "OR"},
                                  {},
                                  {"Date Added", "<=", "1.5.04", "AND"},
                                  {"Sample rate (hz)", ">=", "44100", "OR"}}),
                            kDates);
    EXPECT_EQ(ConditionOf(mixed.statement),
              "upper(dArtist) = 'O''NEIL' OR dDateAdded <=  '2004-05-01' AND "
              "dmpegfrequency >= 44100");
    EXPECT_EQ(mixed.readable,
              "(Artist Exact match 'O'NEIL') OR (Date Added <=  '2004-05-01') AND "
              "(Sample rate (hz) >= 44100)");
}

TEST(AdvancedSearch, UnusableRowsGiveNoConditionAndIgnoreEndsTheWalk) {
    const TSearchCondition year{"Year", "=", "1999", "AND"};
    EXPECT_EQ(BuildAdvancedSearch(Grid({{"Title", "Contains", "a", "IGNORE"}, year, year}), kDates)
                  .readable,
              "(Title Contains 'A')");
    // A join other than AND and OR ends the walk as IGNORE would, rather than reach SQL.
    EXPECT_EQ(
        BuildAdvancedSearch(Grid({{"Title", "Contains", "a", "; delete"}, year}), kDates).readable,
        "(Title Contains 'A')");
    const AdvancedSearch none = BuildAdvancedSearch(Grid({{"Year", "=", "19x9", "AND"},
                                                          {"Year", "=", "2000000001", "AND"},
                                                          {"Date Added", "=", "31.02.2004", "AND"},
                                                          {"Title", "like", "a", "AND"},
                                                          {"Nothing", "=", "1", "AND"}}),
                                                    kDates);
    EXPECT_EQ(none.statement, "");
    EXPECT_EQ(none.readable, "");
    EXPECT_EQ(BuildAdvancedSearch(Grid({{"Year", "=", "x", "AND"}, year}), kDates).readable,
              "(Year = 1999)");
}

TEST(GridValidation, RepairsEveryRow) {
    const double today = *kDates.Read("07.03.2026");
    SearchGrid grid = Grid({{"Title", ">", "x", ""},
                            {"Year", "Contains", "nineteen", "or"},
                            {"Date Added", ">=", "yesterday", "OR"},
                            {"Nothing", "=", "1", "AND"},
                            {"", "Contains", "x", ""}});
    ValidateGrid(grid, kDates, today);
    EXPECT_EQ(grid, Grid({{"Title", "Contains", "x", "IGNORE"},
                          {"Year", "=", "0", "IGNORE"},
                          {"Date Added", ">=", "07.03.2026", "OR"},
                          {"Nothing", "", "1", "AND"},
                          {"", "", "x", ""}}));

    SearchGrid valid = Grid({{"Sample rate (hz)", "<=", "44100", "AND"}});
    const SearchGrid before = valid;
    ValidateGrid(valid, kDates, today);
    EXPECT_EQ(valid, before);
}

class SearchOnCatalog : public ListsTest {
protected:
    std::vector<std::string> Titles(const std::string& statement) {
        std::vector<std::string> titles;
        catalog::Query query(catalog.Engine(), statement + " order by id");
        for (; !query.AtEnd(); query.Next()) {
            titles.push_back(query["dTitle"].AsText());
        }
        return titles;
    }
};

TEST_F(SearchOnCatalog, StatementsFindWhatTheUserMeant) {
    AddRow({{"dTitle", "'Rock''n''Roll'"}, {"dArtist", "'O''Neil'"}, {"dYear", "1990"}});
    AddRow({{"dTitle", "'100% pure'"}, {"dArtist", "'Björk'"}, {"dMPEGFrequency", "44100"}});
    AddRow({{"dTitle", "NULL"}, {"dArtist", "'bjork'"}});
    AddRow({{"dTitle", "'a_b'"}, {"dDateAdded", "'2004-05-02'"}});

    EXPECT_EQ(Titles(SimpleStatement({"Title", "Contains", ""}, kDates)),
              (std::vector<std::string>{"Rock'n'Roll", "100% pure", "a_b"}));
    EXPECT_EQ(Titles(SimpleStatement({"Title", "Contains", "'n'"}, kDates)),
              std::vector<std::string>{"Rock'n'Roll"});
    EXPECT_EQ(Titles(SimpleStatement({"Artist", "Exact match", "o'neil"}, kDates)),
              std::vector<std::string>{"Rock'n'Roll"});
    EXPECT_EQ(Titles(SimpleStatement({"Artist", "Exact match", "BJÖRK"}, kDates)),
              std::vector<std::string>{"100% pure"});
    // The engine's wildcards stay wildcards.
    EXPECT_EQ(Titles(SimpleStatement({"Title", "Contains", "0%p"}, kDates)),
              std::vector<std::string>{"100% pure"});
    EXPECT_EQ(Titles(SimpleStatement({"Title", "Contains", "a_b"}, kDates)),
              std::vector<std::string>{"a_b"});
    EXPECT_EQ(Titles(SimpleStatement({"Date Added", ">", "01.05.2004"}, kDates)),
              std::vector<std::string>{"a_b"});
    EXPECT_EQ(Titles(BuildAdvancedSearch(Grid({{"Artist", "Contains", "o'n", "OR"},
                                               {"Sample rate (hz)", "=", "44100", ""}}),
                                         kDates)
                         .statement),
              (std::vector<std::string>{"Rock'n'Roll", "100% pure"}));
}

TEST(SearchRecording, SimpleEntriesHoldTheValueAsSearchedAndACaptionCutInSteps) {
    const auto text = SimpleHistoryEntry({"Artist", "Contains", "björk"}, kDates);
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->Used);
    EXPECT_FALSE(text->Advanced);
    EXPECT_EQ(text->Simple.Value, "BJöRK");  // a to z only
    EXPECT_EQ(text->Caption, "Artist Contains 'BJöRK'");
    EXPECT_EQ(SimpleHistoryEntry({"Year", ">=", "1990.7"}, kDates)->Caption, "Year >= '1990'");
    EXPECT_EQ(SimpleHistoryEntry({"File date", "=", "1.5.2004"}, kDates)->Simple.Value,
              "01.05.2004");
    EXPECT_FALSE(SimpleHistoryEntry({"Artist", "", "x"}, kDates));
    EXPECT_FALSE(SimpleHistoryEntry({"", "Contains", "x"}, kDates));

    const auto cut =
        SimpleHistoryEntry({"Serialno (media)", "Exact match", std::string(50, 'v')}, kDates);
    EXPECT_EQ(cut->Caption, "Serialno (media) Exact matc '" + std::string(40, 'V') + "'");
    SearchHistory history;
    history.Record(*cut);
    const std::string record = history.Encode();
    const std::size_t entry = 4 * SearchHistory::kEntrySize;
    EXPECT_EQ(record.substr(entry, 2), std::string("\x01\x00", 2));
    EXPECT_EQ(record.substr(entry + 382, 17), "\x10Serialno (media)");
    EXPECT_EQ(record.substr(entry + 382 + 17, 11),
              "\x0A"
              "Exact matc");
    EXPECT_EQ(record.substr(entry + 382 + 28, 41), "\x28" + std::string(40, 'V'));
    EXPECT_EQ(record[entry + 382 + 69], '\0');
    EXPECT_EQ(record.substr(entry + 458, 71), "\x46" + cut->Caption);

    // Played back, the cut condition is the one it begins.
    const SimpleReplay replay = ReplaySimple(SearchHistory::Decode(record).Entries()[4]);
    EXPECT_EQ(replay.field, FieldIndexByCaption("Serialno (media)"));
    EXPECT_EQ(replay.condition, 1);
    EXPECT_EQ(replay.value, std::string(40, 'V'));
}

TEST(SearchRecording, AdvancedEntriesKeepTheGridAndReplayRestoresConditions) {
    const SearchGrid grid = Grid({{"Artist", "Exact match", "beatles", "AND"},
                                  {"Year", ">", "1965", "IGNORE"},
                                  {"Title", "Contains", "x", "AND"}});
    const TSearchHistoryEntry entry = AdvancedHistoryEntry(grid, kDates);
    EXPECT_TRUE(entry.Advanced);
    EXPECT_EQ(entry.AdvancedConditions[0].Value, "beatles");  // as it stands
    EXPECT_EQ(entry.Caption, "(Artist Exact match 'BEATLES') AND (Year > 1965)");
    EXPECT_EQ(AdvancedHistoryEntry(Grid({}), kDates).Caption, "");
    const SearchGrid wide = Grid({{"Comment", "Contains", std::string(40, 'c'), "AND"},
                                  {"Comment", "Contains", std::string(40, 'd'), ""}});
    EXPECT_EQ(text::CodePointCount(AdvancedHistoryEntry(wide, kDates).Caption), 100u);

    SearchHistory history;
    history.Record(entry);
    const SearchGrid replayed =
        ReplayAdvanced(SearchHistory::Decode(history.Encode()).Entries()[4]);
    EXPECT_EQ(replayed[0].Condition, "Exact match");
    EXPECT_EQ(replayed[1].Condition, ">");
    EXPECT_EQ(replayed[2].Combine, "AND");

    EXPECT_EQ(RestoredCondition(kKindNumber, "<"), "<");
    EXPECT_EQ(RestoredCondition(kKindText, "Con"), "Contains");
    EXPECT_EQ(RestoredCondition(kKindText, "Exact matc"), "Exact match");
    EXPECT_EQ(RestoredCondition(kKindText, "Nothing"), "");
    EXPECT_EQ(RestoredCondition(kKindText, ""), "");
    TSearchHistoryEntry number;
    number.Simple = {"Track", "<>", "seven", ""};
    EXPECT_EQ(ReplaySimple(number).value, "0");
    EXPECT_EQ(ReplaySimple(number).condition, 3);
    number.Simple.Field = "Gone";
    EXPECT_EQ(ReplaySimple(number).field, -1);
}

class PickListTest : public ListsTest {};

TEST_F(PickListTest, ListDistinctValuesInTitleCaseWithTheirOwnStatements) {
    for (const char* genre : {"'ROCK'", "'rock'", "'Rock'", "'hip hop/r&b'", "''", "NULL"}) {
        AddRow({{"dGenre", genre}});
    }
    PickLists lists;
    ObserveStatements();
    EXPECT_EQ(lists.Values(catalog.Engine(), "dGenre", true),
              (std::vector<std::string>{"", "Hip Hop/R&B", "Rock"}));
    EXPECT_EQ(statements, std::vector<std::string>{"select distinct upper(dGenre) as da from "
                                                   "maindata order by upper(dGenre)"});
    catalog.Engine().Execute("update maindata set dmpegbitrate = 128 - (id % 2) * 64");
    EXPECT_EQ(lists.Values(catalog.Engine(), "dmpegbitrate", true),
              (std::vector<std::string>{"64", "128"}));
    EXPECT_TRUE(lists.Values(catalog.Engine(), "dTitle", true).empty());
    EXPECT_EQ(PickLists::Statement("DYEAR"),
              "select distinct dyear as da from maindata order by dyear");
    EXPECT_EQ(PickLists::Statement("dArtist"),
              "select distinct upper(dartist) as da from maindata order by upper(dartist)");
    EXPECT_FALSE(PickLists::HasPickList("dComment"));
}

TEST_F(PickListTest, StaleListsAreRebuiltOnlyWhenTheUserAskedForIt) {
    AddRow({{"dArtist", "'Abba'"}});
    PickLists lists;
    EXPECT_TRUE(lists.IsStale("dArtist"));
    EXPECT_EQ(lists.Values(catalog.Engine(), "dArtist", false), std::vector<std::string>{"Abba"});
    EXPECT_FALSE(lists.IsStale("dArtist"));
    AddRow({{"dArtist", "'Queen'"}});
    lists.MarkAllStale();
    // With the refresh off, a list built once stays as it was for the rest of the run.
    EXPECT_EQ(lists.Values(catalog.Engine(), "dArtist", false), std::vector<std::string>{"Abba"});
    EXPECT_EQ(lists.Values(catalog.Engine(), "dArtist", true),
              (std::vector<std::string>{"Abba", "Queen"}));
    ObserveStatements();
    lists.Values(catalog.Engine(), "dArtist", true);
    EXPECT_TRUE(statements.empty()) << "a list that is not stale is not built again";
    AddRow({{"dArtist", "'Zappa'"}});
    lists.MarkAllStale();
    lists.Clear();
    EXPECT_EQ(lists.Values(catalog.Engine(), "dArtist", false).size(), 3u);
}

}  // namespace
}  // namespace sonarchive::lists
