#include "gui/collections/playlist_window.h"

#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "collections_fixture.h"
#include "gui/shell/recent_playlists.h"

namespace sonarchive::testing {
namespace {

class PlaylistWindowTest : public CollectionsTest {
protected:
    std::string Playlist(const std::string& name, const std::string& content) {
        const std::string path = h.dir / name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    gui::TFPlayList* OpenPlaylist(const std::string& path, bool create = false) {
        gui::OpenPlaylistWindow(Main(), QString::fromStdString(path), create);
        QMdiSubWindow* frame = Main().Children().FindOpen(gui::ChildKind::Playlist);
        return frame != nullptr ? qobject_cast<gui::TFPlayList*>(frame->widget()) : nullptr;
    }
    static std::vector<std::string> Shown(gui::TFPlayList& window) {
        std::vector<std::string> rows;
        for (int row = 0; row < window.View().topLevelItemCount(); ++row) {
            rows.push_back(window.View().topLevelItem(row)->text(0).toStdString());
        }
        return rows;
    }
    static void SelectRows(gui::PlaylistView& view, const std::vector<int>& rows) {
        view.clearSelection();
        for (const int row : rows) {
            view.topLevelItem(row)->setSelected(true);
        }
    }
    QPoint Below(gui::PlaylistView& view) { return QPoint(5, view.viewport()->height() - 2); }
    QPoint On(gui::PlaylistView& view, int row) {
        return view.visualItemRect(view.topLevelItem(row)).center();
    }
};

TEST_F(PlaylistWindowTest, OpensAFileWithItsControlsAndRefusesOnesThatCannotBeRead) {
    StartAll();
    const std::string file =
        Playlist("mix.m3u", "#EXTM3U\r\n#EXTINF:10,a - b\r\nx.mp3\r\n/y.ogg\r\n");
    gui::TFPlayList* window = OpenPlaylist(file);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName().toStdString(), "FPlayList");
    EXPECT_EQ(window->windowTitle().toStdString(), "Playlist \"" + file + "\"");
    EXPECT_EQ(window->View().headerItem()->text(0).toStdString(), "Filename");
    EXPECT_EQ(Shown(*window), (std::vector<std::string>{"x.mp3", "/y.ogg"}));
    for (const char* button : {"SBPlayPlaylist", "SBRandomize", "SBAddFiles", "SBHint"}) {
        EXPECT_NE(window->findChild<QToolButton*>(QString::fromLatin1(button)), nullptr) << button;
    }
    EXPECT_EQ(window->findChild<QToolButton*>("SBPlayPlaylist")->toolTip().toStdString(),
              "Open playlist in player");

    QMenu menu;
    window->BuildPopup(menu);
    EXPECT_EQ(MenuItems(menu),
              (std::vector<std::string>{"Add files...", "-&Play selected files(Ctrl-o)",
                                        "-Enqueue selected files (Ctrl-q)", "Play &playlist",
                                        "-&Delete selected (Del)", "&Randomize list"}));
    SelectRows(window->View(), {1});
    menu.clear();
    window->BuildPopup(menu);
    EXPECT_EQ(MenuItems(menu)[1], "&Play selected files(Ctrl-o)");
    EXPECT_EQ(MenuItems(menu)[4], "&Delete selected (Del)");

    const std::string missing = h.dir / "gone.m3u";
    gui::OpenPlaylistWindow(Main(), QString::fromStdString(missing), false);
    EXPECT_EQ(h.user.Texts("error"),
              std::vector<std::string>{"Couldn't open file (" + missing + ")"});
    EXPECT_EQ(Main().Children().Windows().size(), 1);
}

TEST_F(PlaylistWindowTest, ANewPlaylistIsMadeAtOnceOrOpensNoWindow) {
    StartAll();
    const std::string file = h.dir / "new.m3u";
    ASSERT_NE(OpenPlaylist(file, true), nullptr);
    EXPECT_EQ(FileText(file), "#EXTM3U\r\n");

    const std::string nowhere = h.dir / "no/such/new.m3u";
    gui::OpenPlaylistWindow(Main(), QString::fromStdString(nowhere), true);
    EXPECT_EQ(
        h.user.Texts("error"),
        std::vector<std::string>{"There was a problem writing to the file (" + nowhere + ") "});
    EXPECT_EQ(Main().Children().Windows().size(), 1);
}

TEST_F(PlaylistWindowTest, DropsFromTheDesktopAddByExtensionAndSave) {
    StartAll();
    const std::string file = Playlist("mix.m3u", "#EXTM3U\r\n");
    const std::string inner = Playlist("inner.m3u8", "#EXTM3U\r\nrel.mp3\r\n");
    gui::TFPlayList* window = OpenPlaylist(file);
    ASSERT_NE(window, nullptr);
    const std::string song = h.dir / "song.OGG";
    h.user.AnswerNo();
    Drop(*window->View().viewport(), nullptr,
         {song, h.dir / "notes.txt", h.dir / "clip.WAV", inner, h.dir / "x."});
    EXPECT_EQ(h.user.Texts("question"),
              std::vector<std::string>{"Extract files in \"" + inner + "\" ?"});
    EXPECT_EQ(Shown(*window), (std::vector<std::string>{song, h.dir / "clip.WAV", inner}));
    EXPECT_EQ(FileText(file), "#EXTM3U\r\n" + song + "\r\n" + std::string(h.dir / "clip.WAV") +
                                  "\r\n" + inner + "\r\n");

    // Extracted entries become absolute: they are taken from the inner playlist's folder.
    h.user.AnswerYes();
    Drop(*window->View().viewport(), nullptr, {inner});
    EXPECT_EQ(Shown(*window).back(), std::string(h.dir / "rel.mp3"));
}

TEST_F(PlaylistWindowTest, DraggingReordersAndCopiesBetweenWindows) {
    StartAll();
    const std::string file =
        Playlist("mix.m3u", "#EXTM3U\r\n#EXTINF:5,a - b\r\n/1.mp3\r\n/2.mp3\r\n/3.mp3\r\n");
    gui::TFPlayList* window = OpenPlaylist(file);
    ASSERT_NE(window, nullptr);
    gui::PlaylistView& view = window->View();

    SelectRows(view, {0});
    Drop(*view.viewport(), &view, {"/1.mp3"}, On(view, 2));
    EXPECT_EQ(Shown(*window), (std::vector<std::string>{"/2.mp3", "/1.mp3", "/3.mp3"}));
    // Below the last entry means at the end.
    SelectRows(view, {0, 1});
    Drop(*view.viewport(), &view, {"/2.mp3"}, Below(view));
    EXPECT_EQ(Shown(*window), (std::vector<std::string>{"/3.mp3", "/2.mp3", "/1.mp3"}));
    EXPECT_EQ(FileText(file), "#EXTM3U\r\n/3.mp3\r\n/2.mp3\r\n#EXTINF:5,a - b\r\n/1.mp3\r\n");

    const std::string otherFile = Playlist("other.m3u", "#EXTM3U\r\n/x.mp3\r\n");
    gui::TFPlayList* other = OpenPlaylist(otherFile);
    ASSERT_NE(other, nullptr);
    SelectRows(view, {2});
    Drop(*other->View().viewport(), &view, {"/1.mp3"}, On(other->View(), 0));
    EXPECT_EQ(Shown(*other), (std::vector<std::string>{"/1.mp3", "/x.mp3"}));
    EXPECT_EQ(FileText(otherFile), "#EXTM3U\r\n#EXTINF:5,a - b\r\n/1.mp3\r\n/x.mp3\r\n");
    EXPECT_EQ(Shown(*window).size(), 3u);  // copies: the source keeps its entries
}

TEST_F(PlaylistWindowTest, KeysPlayAndDeleteAndAFailedSaveKeepsTheList) {
    StartAll();
    const std::string file = Playlist("mix.m3u", "#EXTM3U\r\nrel.mp3\r\n/2.mp3\r\n/3.mp3\r\n");
    gui::TFPlayList* window = OpenPlaylist(file);
    ASSERT_NE(window, nullptr);
    gui::PlaylistView& view = window->View();

    SelectRows(view, {0});
    QTest::keyClick(&view, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(launcher->calls, std::vector<std::string>{"open " + std::string(h.dir / "rel.mp3")});
    SelectRows(view, {1, 2});
    QTest::keyClick(&view, Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(launcher->calls.size(), 2u);
    const std::string temporary = launcher->calls[1].substr(std::string("open ").size());
    EXPECT_EQ(FileText(temporary), "/2.mp3\n/3.mp3\n");
    window->PlayPlaylist();
    EXPECT_EQ(launcher->calls.back(), "open " + file);

    SelectRows(view, {1});
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(FileText(file), "#EXTM3U\r\nrel.mp3\r\n/3.mp3\r\n");

    // Something in the way of the file: the old one stays, the window keeps its list.
    std::filesystem::remove(file);
    std::filesystem::create_directories(std::filesystem::path(file) / "blocker");
    SelectRows(view, {0});
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(h.user.Texts("error"),
              std::vector<std::string>{"There was a problem writing to the file (" + file + ") "});
    EXPECT_EQ(Shown(*window), std::vector<std::string>{"/3.mp3"});
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(file) / "blocker"));
}

TEST_F(PlaylistWindowTest, AHandOffNothingStartsIsReportedAndSilentHostsGetNothing) {
    StartAll();
    Main().Drives().SetPingTimeout(50);
    h.hosts->names["nas"] = {"10.9.9.9"};  // it never answers
    const std::string file = Playlist("mix.m3u", "#EXTM3U\r\n//nas/music/a.mp3\r\n/b.mp3\r\n");
    gui::TFPlayList* window = OpenPlaylist(file);
    ASSERT_NE(window, nullptr);
    SelectRows(window->View(), {0});
    window->PlaySelected(false);
    EXPECT_TRUE(launcher->calls.empty());

    launcher->starts = false;
    SelectRows(window->View(), {1});
    window->PlaySelected(false);
    // Without a player command playing is the default application, tried again as "Open".
    EXPECT_EQ(launcher->calls, (std::vector<std::string>{"open /b.mp3", "open /b.mp3"}));
    EXPECT_EQ(h.user.Texts("error"), std::vector<std::string>{"Couldn't open file (/b.mp3)"});
}

TEST_F(PlaylistWindowTest, TheBriefHelpShowsUntilItIsTickedAway) {
    StartAll();
    Main().App().Registry().WriteRegInteger("HINT_HIDE_PLAYLIST", 0);
    const std::string file = Playlist("mix.m3u", "#EXTM3U\r\n");
    ModalAnswerer gotIt{QStringLiteral("BClose"), QStringLiteral("Playlists"), [](QWidget& tips) {
                            tips.findChild<QCheckBox*>("CBGotIt")->setChecked(true);
                        }};
    ASSERT_NE(OpenPlaylist(file), nullptr);
    ASSERT_TRUE(gotIt.Answered());
    EXPECT_NE(gotIt.SeenText().indexOf("To add files to the playlist, you can drag files"), -1);
    EXPECT_EQ(Main().App().Registry().ReadRegInteger("HINT_HIDE_PLAYLIST"), 1);
    ASSERT_NE(OpenPlaylist(file), nullptr);  // no tip this time: nothing waits for an answer
    EXPECT_EQ(Main().Children().Windows().size(), 2);
}

TEST_F(PlaylistWindowTest, APlayerCommandSetInThePreferencesIsUsedAtOnce) {
    StartAll();
    const std::string record = h.dir / "arguments.txt";
    const std::string player = h.dir / "player.sh";
    std::ofstream(player) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << record << ".part'\nmv '"
                          << record << ".part' '" << record << "'\n";
    std::filesystem::permissions(player, std::filesystem::perms::owner_all);
    Main().App().Registry().WriteRegString("PLAYER_COMMAND", player + " --play %f");
    const std::string file = Playlist("mix.m3u", "#EXTM3U\r\n/music/it's a; test.mp3\r\n");
    gui::TFPlayList* window = OpenPlaylist(file);
    ASSERT_NE(window, nullptr);
    SelectRows(window->View(), {0});
    window->PlaySelected(false);
    for (int wait = 0; wait < 300 && !std::filesystem::exists(record); ++wait) {
        QTest::qWait(10);
    }
    EXPECT_EQ(FileText(record), "--play\n/music/it's a; test.mp3\n");
    EXPECT_TRUE(launcher->calls.empty());  // the desktop was not asked
}

TEST_F(PlaylistWindowTest, FindGoesOnFromTheLastHitWithoutWrapping) {
    StartAll();
    const std::string file =
        Playlist("mix.m3u", "#EXTM3U\r\n/Rock/a.mp3\r\n/pop/b.mp3\r\n/ROCK/c.mp3\r\n");
    gui::TFPlayList* window = OpenPlaylist(file);
    ASSERT_NE(window, nullptr);
    window->FindNext();  // before a first hit: nothing
    EXPECT_TRUE(window->View().SelectedIndexes().empty());
    window->FindFrom(QStringLiteral("rock"), 0);
    EXPECT_EQ(window->View().SelectedIndexes(), std::vector<std::size_t>{0});
    window->FindNext();
    EXPECT_EQ(window->View().SelectedIndexes(), std::vector<std::size_t>{2});
    window->FindNext();
    EXPECT_EQ(window->View().SelectedIndexes(), std::vector<std::size_t>{2});
    window->SelectAllRows();
    EXPECT_EQ(window->View().SelectedIndexes().size(), 3u);
}

TEST_F(PlaylistWindowTest, RecentPlaylistsListTheNewestFirstAndMoveAReopenedOne) {
    StartAll();
    gui::RecentPlaylists recent(Main().App().Registry());
    for (int i = 0; i < 12; ++i) {
        recent.Add(QStringLiteral("/p%1.m3u").arg(i));
    }
    QStringList files = recent.Files();
    ASSERT_EQ(files.size(), 10);
    EXPECT_EQ(files.first().toStdString(), "/p11.m3u");
    EXPECT_EQ(files.last().toStdString(), "/p2.m3u");
    recent.Add(QStringLiteral("/p5.m3u"));
    files = recent.Files();
    EXPECT_EQ(files.size(), 10);
    EXPECT_EQ(files.first().toStdString(), "/p5.m3u");
    EXPECT_EQ(files.count(QStringLiteral("/p5.m3u")), 1);
    // Stored oldest first.
    EXPECT_EQ(Main().App().Registry().ReadRegString("RECENT_PLAYLISTS").rfind("/p2.m3u\n", 0), 0u);

    // Opening a file through the main window records it and opens its window.
    const std::string file = Playlist("mix.m3u", "#EXTM3U\r\n");
    Main().OpenPlaylistFile(QString::fromStdString(file), false);
    EXPECT_EQ(recent.Files().first().toStdString(), file);
    EXPECT_NE(Main().Children().FindOpen(gui::ChildKind::Playlist), nullptr);
}

}  // namespace
}  // namespace sonarchive::testing
