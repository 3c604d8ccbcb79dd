// The browse window: its top level kept in the settings, group rows by upper-cased value that
// load their files when expanded, deleting groups, drops and rebuilding.
#include "gui/lists/browse_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <set>

#include "gui/lists/messages_panel.h"
#include "list_windows_fixture.h"

namespace sonarchive::testing {
namespace {

namespace codes = lists::codes;

class BrowseWindowTest : public ListWindowsTest {
protected:
    gui::TFBrowse& Browse() { return Open<gui::TFBrowse>(gui::ChildKind::Browse); }

    static std::vector<std::string> MainTexts(const gui::TResultList& list) {
        std::vector<std::string> texts;
        for (const QModelIndex& row : list.Rows().RowsInListOrder()) {
            texts.push_back((row.parent().isValid() ? "  " : "") +
                            row.data().toString().toStdString());
        }
        return texts;
    }
};

TEST_F(BrowseWindowTest, TheStoredTopLevelIsRestoredWithoutBeingWrittenAndAChangeIsStored) {
    h.settings.Write({{"LAST_BROWSE_TOP_LEVEL", std::int64_t{2}}});
    Start();
    AddRow({{"dGenre", "'Jazz'"}});
    gui::TFBrowse& browse = Browse();
    EXPECT_EQ(browse.windowTitle(), "MP3 Browser");
    EXPECT_EQ(browse.TopLevel().currentText(), "Genre");
    EXPECT_EQ(browse.GroupingCode(), 8);
    EXPECT_EQ(MainTexts(browse.List()), std::vector<std::string>{"Jazz"});
    EXPECT_EQ(browse.List().model()->headerData(0, Qt::Horizontal).toString(), "Genre");

    browse.TopLevel().setCurrentIndex(1);  // as the user's choice does, then its signal
    emit browse.TopLevel().activated(1);
    EXPECT_EQ(h.settings.ReadInteger("LAST_BROWSE_TOP_LEVEL"), 1);
    EXPECT_EQ(browse.List().model()->headerData(0, Qt::Horizontal).toString(), "Album");

    // A position outside the list selects nothing, which is the plain listing; the value
    // stays as it was.
    h.settings.Write({{"LAST_BROWSE_TOP_LEVEL", std::int64_t{7}}});
    gui::TFBrowse other(Main());
    EXPECT_EQ(other.TopLevel().currentIndex(), -1);
    EXPECT_EQ(other.GroupingCode(), -1);
    EXPECT_EQ(MainTexts(other.List()), std::vector<std::string>{"Artist"});
    EXPECT_EQ(h.settings.ReadInteger("LAST_BROWSE_TOP_LEVEL"), 7);
}

TEST_F(BrowseWindowTest, GroupsJoinValuesOfAnyCaseAndExpandIntoTheirFilesOrderedByTitle) {
    h.settings.Write({{"FIELD_ARTIST", std::int64_t{0}}});
    Start();
    AddRow({{"dArtist", "'THE BEATLES'"}, {"dTitle", "'help'"}});
    AddRow({{"dArtist", "'The Beatles'"}, {"dTitle", "'Yesterday'"}});
    AddRow({{"dArtist", "'the beatles'"}, {"dTitle", "'Anna'"}});
    AddRow({{"dArtist", "'O''Neil'"}, {"dTitle", "'Solo'"}});
    gui::TFBrowse& browse = Browse();
    gui::TResultList& list = browse.List();
    EXPECT_FALSE(list.isColumnHidden(0));  // the grouping column shows whatever FIELD_ARTIST says
    EXPECT_EQ(MainTexts(list), (std::vector<std::string>{"O'neil", "The Beatles"}));

    list.expand(RowAt(list, 1));
    EXPECT_EQ(MainTexts(list), (std::vector<std::string>{"O'neil", "The Beatles", "  Anna",
                                                         "  help", "  Yesterday"}));
    EXPECT_EQ(RowAt(list, 2).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(232, 255, 232));
    list.expand(RowAt(list, 0));
    EXPECT_EQ(MainTexts(list)[1], "  Solo");
    list.collapse(RowAt(list, 2));
    EXPECT_EQ(list.Rows().rowCount(RowAt(list, 2)), 0);  // the files go with the collapse
    EXPECT_EQ(MainTexts(list).size(), 3u);
}

TEST_F(BrowseWindowTest, EmptyAndMissingAlbumsFormOneGroupWithEmptyText) {
    h.settings.Write({{"LAST_BROWSE_TOP_LEVEL", std::int64_t{1}}});
    Start();
    AddRow({{"dAlbum", "''"}, {"dTitle", "'b'"}});
    AddRow({{"dAlbum", "NULL"}, {"dTitle", "'a'"}});
    AddRow({{"dAlbum", "'Help!'"}, {"dTitle", "'c'"}});
    gui::TResultList& list = Browse().List();
    EXPECT_EQ(MainTexts(list), (std::vector<std::string>{"", "Help!"}));
    list.expand(RowAt(list, 0));
    EXPECT_EQ(MainTexts(list), (std::vector<std::string>{"", "  a", "  b", "Help!"}));
}

TEST_F(BrowseWindowTest, DeletingAnUnexpandedGroupRemovesEveryRowOfItsValue) {
    Start();
    AddRow({{"dArtist", "'ABBA'"}});
    AddRow({{"dArtist", "'abba'"}});
    AddRow({{"dArtist", "'Other'"}});
    gui::TFBrowse& browse = Browse();
    Select(browse.List(), {0});
    h.user.AnswerConfirm({true, false});
    QTest::keyClick(&browse.List(), Qt::Key_Delete);
    EXPECT_EQ(h.user.Texts("confirm"),
              std::vector<std::string>{"Remove 2 file references from the archive? [help 18]"});
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(MainTexts(browse.List()), std::vector<std::string>{"Other"});
    EXPECT_EQ(browse.SelectedIds(), catalog::IdList{});
}

TEST_F(BrowseWindowTest, AGroupRowGivesEveryFileOfItsGroupAndDragsOnlyThoseAtHand) {
    Start();
    const std::int64_t first = AddRow({{"dArtist", "'X'"}, {"dPath", "'/1.mp3'"}});
    const std::int64_t second =
        AddRow({{"dArtist", "'x'"}, {"dDriveSerialNumber", Q(kGoneSerial)}, {"dPath", "'/2.mp3'"}});
    gui::TFBrowse& browse = Browse();
    gui::TResultList& list = browse.List();
    list.expand(RowAt(list, 0));
    Select(list, {0, 1});  // the group and one of its files: each file once
    const catalog::IdList ids = browse.SelectedIds();
    EXPECT_EQ(std::set<std::int64_t>(ids.begin(), ids.end()),
              (std::set<std::int64_t>{first, second}));
    EXPECT_EQ(ids.size(), 2u);
    const std::unique_ptr<QMimeData> data = list.DragData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->data(QStringLiteral("text/uri-list")), "file:///media/STICK/1.mp3\r\n");
}

TEST_F(BrowseWindowTest, DroppedFilesAreAddedWithTheirMessagesAndTheTreeIsRebuilt) {
    std::vector<std::string> playlists;
    gui::WindowProviders providers;
    providers.openPlaylist = [&playlists](gui::TFMain&, const QString& file, bool) {
        playlists.push_back(file.toStdString());
    };
    Start(std::move(providers));
    const std::string folder = MountStickFolder();
    const std::string song = MakeSong(folder + "/song.mp3", "Dropped Artist", "Dropped");
    WriteBytes(folder + "/list.m3u", "song.mp3\n");
    WriteBytes(folder + "/cover.jpg", "jpeg");
    gui::TFBrowse& browse = Browse();
    EXPECT_TRUE(MainTexts(browse.List()).empty());
    emit browse.List().filesDropped({song, folder + "/list.m3u", folder + "/cover.jpg"});
    EXPECT_EQ(MainTexts(browse.List()), std::vector<std::string>{"Dropped Artist"});
    EXPECT_EQ(playlists, std::vector<std::string>{folder + "/list.m3u"});
    EXPECT_EQ(browse.Messages().Lines(),
              (QStringList{
                  QString::fromStdString("Playlist \"" + folder + "/list.m3u\" opened"),
                  QString::fromStdString("Invalid file extension \"" + folder + "/cover.jpg\"")}));
    QCoreApplication::processEvents();
    EXPECT_EQ(Main().ToolBar().fileCounter->text(), "Files in archive: 1");
}

TEST_F(BrowseWindowTest, TheTreeIsRebuiltWhenRowsChange) {
    Start();
    AddRow({{"dArtist", "'First'"}});
    gui::TFBrowse& browse = Browse();
    AddRow({{"dArtist", "'Second'"}});
    EXPECT_EQ(MainTexts(browse.List()).size(), 1u);
    Main().App().Catalog().Events().Notify(catalog::CatalogChange::RowsChanged);
    QCoreApplication::processEvents();
    EXPECT_EQ(MainTexts(browse.List()), (std::vector<std::string>{"First", "Second"}));
}

}  // namespace
}  // namespace sonarchive::testing
