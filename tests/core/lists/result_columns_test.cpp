#include "lists/result_columns.h"

#include <gtest/gtest.h>

#include "lists_fixture.h"

namespace sonarchive::lists {
namespace {

using testing::ListsTest;

std::vector<std::string> Captions(const ResultColumns& columns) {
    std::vector<std::string> captions;
    for (const auto& column : columns) {
        captions.emplace_back(column.definition->caption);
    }
    return captions;
}

std::vector<std::string> Hidden(const ResultColumns& columns) {
    std::vector<std::string> hidden;
    for (const auto& column : columns) {
        if (!column.visible) {
            hidden.emplace_back(column.definition->caption);
        }
    }
    return hidden;
}

TEST(ResultColumns, EveryLayoutHas22ColumnsWithYearLast) {
    const std::vector<std::string> trailing{"Bit rate",
                                            "Composer",
                                            "Comment",
                                            "Copyright",
                                            "Date added",
                                            "Drive letter",
                                            "Encoder",
                                            "Filename",
                                            "File date",
                                            "Genre",
                                            "Language",
                                            "Length (m:s)",
                                            "Link",
                                            "Sample rate (Hz)",
                                            "Serialno. media",
                                            "Size (KB)",
                                            "Track",
                                            "Volume label",
                                            "Year"};
    const auto with = [&trailing](std::vector<std::string> leading, bool genre) {
        for (const auto& caption : trailing) {
            if (genre || caption != "Genre") {
                leading.push_back(caption);
            }
        }
        return leading;
    };
    EXPECT_EQ(Captions(BuildResultColumns(kLayoutPlain, false)),
              with({"Artist", "Title", "Album"}, true));
    EXPECT_EQ(Captions(BuildResultColumns(kLayoutArtist, false)),
              with({"Artist", "Album", "Title"}, true));
    EXPECT_EQ(Captions(BuildResultColumns(kLayoutAlbum, false)),
              with({"Album", "Artist", "Title"}, true));
    EXPECT_EQ(Captions(BuildResultColumns(kLayoutGenre, false)),
              with({"Genre", "Artist", "Title", "Album"}, false));
    EXPECT_EQ(Captions(BuildResultColumns(7, false)), Captions(BuildResultColumns(-1, false)));

    for (const int layout : {-1, 1, 3, 8}) {
        const ResultColumns columns = BuildResultColumns(layout, true);
        ASSERT_EQ(columns.size(), 23u);
        EXPECT_EQ(columns[21].Code(), codes::Year);
        EXPECT_EQ(columns[22].Code(), codes::Position);
        EXPECT_FALSE(columns[22].definition->toggle);
        EXPECT_EQ(BuildResultColumns(layout, false).size(), 22u);
    }
}

TEST(ResultColumns, AreFoundByCodeWhereverTheyStand) {
    const ResultColumns album = BuildResultColumns(kLayoutAlbum, false);
    EXPECT_EQ(SectionIndexOf(album, codes::Album), 0);
    EXPECT_EQ(ColumnIndexOf(album, codes::Album), -1);  // the main text is no column text
    EXPECT_EQ(SectionIndexOf(album, codes::Artist), 1);
    EXPECT_EQ(ColumnIndexOf(album, codes::Artist), 0);
    EXPECT_EQ(ColumnIndexOf(album, codes::Year), 20);
    EXPECT_EQ(SectionIndexOf(album, codes::Position), -1);
    EXPECT_EQ(SectionIndexOf(BuildResultColumns(kLayoutGenre, true), codes::Position), 22);
    EXPECT_EQ(ColumnDefinitionOf(22), nullptr);

    const ColumnDefinition& length = *ColumnDefinitionOf(codes::Length);
    EXPECT_EQ(length.width, 80);
    EXPECT_EQ(length.sortKind, SortKind::Text);
    EXPECT_EQ(ColumnDefinitionOf(codes::Size)->sortKind, SortKind::Number);
    EXPECT_EQ(ColumnDefinitionOf(codes::FileDate)->sortKind, SortKind::Date);
    EXPECT_EQ(ColumnDefinitionOf(codes::Artist)->width, 0);
    EXPECT_EQ(ColumnDefinitionOf(codes::VolumeLabel)->alignment, Alignment::Left);
    EXPECT_EQ(ColumnDefinitionOf(codes::Serial)->alignment, Alignment::Center);
}

class VisibleFields : public ListsTest {};

TEST_F(VisibleFields, AFirstStartShowsEveryColumnAsCreated) {
    const ResultColumns columns = BuildResultColumns(kLayoutPlain, true, registry);
    EXPECT_EQ(Hidden(columns), (std::vector<std::string>{"Copyright", "Encoder", "Language", "Link",
                                                         "Track", "POS"}));
}

TEST_F(VisibleFields, ReadingStopsAtTheFirstMissingValue) {
    settingsFile.Write({{"FIELD_ARTIST", std::int64_t{0}},
                        {"FIELD_TITLE", std::int64_t{0}},
                        // FIELD_ALBUM missing: the rest is not read
                        {"FIELD_COMPOSER", std::int64_t{0}},
                        {"FIELD_TRACK", std::int64_t{1}}});
    const ResultColumns columns = BuildResultColumns(kLayoutPlain, false, registry);
    EXPECT_EQ(Hidden(columns), (std::vector<std::string>{"Artist", "Title", "Copyright", "Encoder",
                                                         "Language", "Link", "Track"}));
}

TEST_F(VisibleFields, AnyValueButZeroShowsAndAStoredSetDecidesEveryNewList) {
    ResultColumns columns = BuildResultColumns(kLayoutArtist, false, registry);
    for (auto& column : columns) {
        column.visible = column.Code() == codes::Year || column.Code() == codes::Link;
    }
    SaveVisibleFields(registry, columns);
    EXPECT_EQ(settingsFile.ReadInteger("FIELD_YEAR"), 1);
    EXPECT_EQ(settingsFile.ReadInteger("FIELD_ARTIST"), 0);
    EXPECT_EQ(settingsFile.ReadInteger("FIELD_DRIVELETTER"), 0);
    EXPECT_FALSE(settingsFile.Contains("FIELD_FILEDATE"));
    settingsFile.Write({{"FIELD_LINK", std::int64_t{7}}});

    const ResultColumns again = BuildResultColumns(kLayoutGenre, true, registry);
    std::vector<std::string> shown;
    for (const auto& column : again) {
        if (column.visible) {
            shown.emplace_back(column.definition->caption);
        }
    }
    // File date has no stored value and keeps its built-in state.
    EXPECT_EQ(shown, (std::vector<std::string>{"File date", "Link", "Year"}));
    EXPECT_TRUE(user.log.empty());
}

TEST_F(VisibleFields, SettingsThatCannotBeOpenedGiveTheFallbackAndTheSaveMessage) {
    sonarchive::testing::WriteBytes(dir / "blocker", "a file, not a folder");
    platform::SettingsFile unreachable(dir / "blocker/settings.json");
    catalog::Registry broken(unreachable, user);
    ResultColumns columns = BuildResultColumns(kLayoutPlain, true, broken);
    std::vector<std::string> shown;
    for (const auto& column : columns) {
        if (column.visible) {
            shown.emplace_back(column.definition->caption);
        }
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Artist", "Title", "Album", "Bit rate",
                                               "Drive letter", "Filename", "File date"}));
    SaveVisibleFields(broken, columns);
    EXPECT_EQ(user.Texts("error"),
              std::vector<std::string>{"Couldn't write to registry (visible fields)."});
}

}  // namespace
}  // namespace sonarchive::lists
