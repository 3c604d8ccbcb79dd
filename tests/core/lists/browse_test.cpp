#include <gtest/gtest.h>

#include "lists/browse_statements.h"
#include "lists/result_rows.h"
#include "lists/selected_rows.h"
#include "lists_fixture.h"

namespace sonarchive::lists {
namespace {

using testing::ListsTest;

class BrowseTest : public ListsTest {
protected:
    std::vector<std::string> Titles(const std::string& statement) {
        ResultRows rows(true);
        catalog::Query query(catalog.Engine(), statement);
        rows.Fill(query);
        std::vector<std::string> titles;
        for (std::size_t i = 0; i < rows.Size(); ++i) {
            titles.emplace_back(rows.MainText(i));
        }
        return titles;
    }

    std::vector<std::string> Texts(const std::vector<BrowseGroup>& groups) {
        std::vector<std::string> texts;
        for (const auto& group : groups) {
            texts.push_back(group.text);
        }
        return texts;
    }
};

TEST(BrowseStatements, AreTheTreeAndGroupStatements) {
    EXPECT_EQ(BrowseTreeStatement(kGroupingPlain), "select * from maindata order by dartist");
    EXPECT_EQ(BrowseTreeStatement(kGroupingArtist),
              "select distinct upper(dArtist) as da from maindata order by upper(dArtist)");
    EXPECT_EQ(BrowseTreeStatement(kGroupingAlbum),
              "select distinct upper(dAlbum) as da from maindata order by upper(dAlbum)");
    EXPECT_EQ(BrowseTreeStatement(kGroupingGenre),
              "select distinct upper(dGenre) as da from maindata order by upper(dGenre)");

    EXPECT_EQ(GroupStatement(kGroupingArtist, "O'NEIL"),
              "select * from maindata where upper(dArtist)='O''NEIL' order by upper(dTitle)");
    EXPECT_EQ(GroupStatement(kGroupingGenre, "ROCK"),
              "select * from maindata where upper(dGenre)='ROCK' order by upper(dArtist)");
    EXPECT_EQ(GroupStatement(kGroupingArtist, ""),
              "select * from maindata where dArtist=''or dArtist is null order by upper(dTitle)");
    EXPECT_EQ(GroupStatement(kGroupingAlbum, ""),
              "select * from maindata where dAlbum='' or dAlbum is null order by upper(dTitle)");
    EXPECT_EQ(GroupStatement(kGroupingGenre, ""),
              "select * from maindata where dGenre='' or dGenre is null order by upper(dArtist)");

    EXPECT_EQ(GroupDeleteStatement(kGroupingArtist, "O'NEIL"),
              "delete from maindata where upper(dARTIST)='O''NEIL'");
    EXPECT_EQ(GroupDeleteStatement(kGroupingAlbum, ""),
              "delete from maindata where dAlbum='' or dAlbum is null");
    EXPECT_EQ(GroupFilesStatement(kGroupingGenre, "POP"),
              "select * from maindata where upper(dGENRE)='POP'");

    EXPECT_EQ(GroupingCodeOf(0), kGroupingArtist);
    EXPECT_EQ(GroupingCodeOf(2), kGroupingGenre);
    EXPECT_EQ(GroupingCodeOf(3), kGroupingPlain);
    EXPECT_EQ(GroupingCodeOf(-1), kGroupingPlain);
    EXPECT_EQ(GroupingCodeOf(4), kGroupingPlain);
}

TEST_F(BrowseTest, ArtistsOfAnyCaseFormOneGroupThatListsAllTheirFiles) {
    AddRow({{"dArtist", "'THE BEATLES'"}, {"dTitle", "'yesterday'"}});
    AddRow({{"dArtist", "'The Beatles'"}, {"dTitle", "'Help'"}});
    AddRow({{"dArtist", "'the beatles'"}, {"dTitle", "'Abbey Road'"}});
    AddRow({{"dArtist", "'AC/DC'"}, {"dTitle", "'T.N.T.'"}});
    AddRow({{"dArtist", "'O''Neil'"}, {"dTitle", "'Quote'"}});
    AddRow({{"dArtist", "'İstanbul'"}, {"dTitle", "'Dotted'"}});

    const std::vector<BrowseGroup> groups = LoadBrowseGroups(catalog.Engine(), kGroupingArtist);
    // Lower-cased, the dotted capital I becomes i and a combining dot.
    EXPECT_EQ(Texts(groups),
              (std::vector<std::string>{"Ac/Dc", "O'neil", "The Beatles", "I\xCC\x87stanbul"}));
    EXPECT_EQ(groups[2].key, "THE BEATLES");
    EXPECT_EQ(Titles(GroupStatement(kGroupingArtist, groups[2].key)),
              (std::vector<std::string>{"Abbey Road", "Help", "yesterday"}));
    EXPECT_EQ(Titles(GroupStatement(kGroupingArtist, groups[1].key)),
              std::vector<std::string>{"Quote"});
    // Title case and back would not give the stored value here; the key still finds it.
    EXPECT_EQ(Titles(GroupStatement(kGroupingArtist, groups[3].key)),
              std::vector<std::string>{"Dotted"});
    EXPECT_TRUE(LoadBrowseGroups(catalog.Engine(), kGroupingPlain).empty());
}

TEST_F(BrowseTest, RowsWithoutValueFormOneEmptyGroup) {
    AddRow({{"dAlbum", "''"}, {"dTitle", "'b'"}});
    AddRow({{"dAlbum", "NULL"}, {"dTitle", "'a'"}});
    AddRow({{"dAlbum", "'Help!'"}, {"dTitle", "'c'"}});
    AddRow({{"dArtist", "''"}, {"dTitle", "'d'"}});
    AddRow({{"dArtist", "NULL"}, {"dTitle", "'e'"}});

    const std::vector<BrowseGroup> albums = LoadBrowseGroups(catalog.Engine(), kGroupingAlbum);
    ASSERT_EQ(Texts(albums), (std::vector<std::string>{"", "Album", "Help!"}));
    EXPECT_EQ(albums[0].key, "");
    EXPECT_EQ(Titles(GroupStatement(kGroupingAlbum, "")), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Titles(GroupStatement(kGroupingArtist, "")), (std::vector<std::string>{"d", "e"}));

    const ListRowRef empty = ListRowRef::Group(kGroupingAlbum, "");
    EXPECT_EQ(SelectedIds(catalog.Engine(), std::span(&empty, 1)), (catalog::IdList{2, 1}));
}

TEST_F(BrowseTest, SelectionsGiveEachFileOnceAndPathsByReachability) {
    mounts.Add("/media/stick", "0A1B2C3D");
    mounts.AddNetwork("/mnt/nas", "//nas/music");
    const auto a = AddRow({{"dArtist", "'Abba'"}, {"dPath", "'/abba/1.mp3'"}});
    const auto b = AddRow(
        {{"dArtist", "'ABBA'"}, {"dPath", "'/abba/2.mp3'"}, {"dDriveSerialNumber", "'FFFF0000'"}});
    const auto c = AddRow({{"dArtist", "'Queen'"},
                           {"dPath", "'//nas/music/q.mp3'"},
                           {"dDriveSerialNumber", "'//nas'"}});
    const std::vector<ListRowRef> rows{ListRowRef::File(c, "//nas", "//nas/music/q.mp3"),
                                       ListRowRef::Group(kGroupingArtist, "ABBA"),
                                       ListRowRef::File(a, "0A1B2C3D", "/abba/1.mp3")};

    EXPECT_EQ(SelectedIds(catalog.Engine(), rows), (catalog::IdList{c, a, b}));
    EXPECT_EQ(SelectedPaths(catalog.Engine(), rules, rows, false),
              (std::vector<std::string>{"/mnt/nas/q.mp3", "/media/stick/abba/1.mp3"}));
    EXPECT_EQ(
        SelectedPaths(catalog.Engine(), rules, rows, true),
        (std::vector<std::string>{"/mnt/nas/q.mp3", "/media/stick/abba/1.mp3", "/abba/2.mp3"}));
    EXPECT_EQ(RowFullPath(rules, "FFFF0000", "/abba/2.mp3"), "");
}

}  // namespace
}  // namespace sonarchive::lists
