// Files handed to the program from outside (its command line, a later start): they wait for
// the start-up, then go where a drop on the main window goes, one hand-over after another.
#include "gui/shell/opened_files.h"

#include <QCommandLineParser>
#include <QTest>

#include "gui/lists/messages_panel.h"
#include "gui/lists/search_window.h"
#include "gui/shell/recent_playlists.h"
#include "list_windows_fixture.h"

namespace sonarchive::testing {
namespace {

namespace codes = lists::codes;

TEST(NamedPaths, TheParsersNamesComeFromTheirOwnBytesMadeAbsolute) {
    const std::vector<std::string> arguments = {"--data-dir",    "/catalog",   "a.mp3",
                                                "../up/./b.mp3", "/abs/c.mp3", "caf\xE9.mp3",
                                                "folder/",       "--",         "--dashed.mp3"};
    QStringList decoded{QStringLiteral("sonarchive")};
    for (const std::string& argument : arguments) {
        decoded.append(
            QString::fromLocal8Bit(argument.data(), static_cast<qsizetype>(argument.size())));
    }
    QCommandLineParser parser;
    parser.addOption(
        QCommandLineOption(QStringLiteral("data-dir"), QString(), QStringLiteral("DIR")));
    ASSERT_TRUE(parser.parse(decoded));

    EXPECT_EQ(gui::NamedPaths(arguments, parser.positionalArguments(), "/music/now"),
              (std::vector<std::string>{"/music/now/a.mp3", "/music/up/b.mp3", "/abs/c.mp3",
                                        "/music/now/caf\xEE\xBF\xA9.mp3", "/music/now/folder",
                                        "/music/now/--dashed.mp3"}));
    EXPECT_TRUE(gui::IsPlaylistName("/a/List.M3U"));
    EXPECT_TRUE(gui::IsPlaylistName("/a/list.m3u8"));
    EXPECT_FALSE(gui::IsPlaylistName("/a/m3u"));
    EXPECT_FALSE(gui::IsPlaylistName("/a/list.m3u.mp3"));
}

class OpenedFilesTest : public ListWindowsTest {
protected:
    gui::TFSearch* AddWindow() {
        QMdiSubWindow* window = Main().Children().FindOpen(gui::ChildKind::AddFiles);
        return window != nullptr ? dynamic_cast<gui::TFSearch*>(window->widget()) : nullptr;
    }
};

TEST_F(OpenedFilesTest, FilesFoldersAndPlaylistsWaitForTheStartUpAndAreTakenAsADrop) {
    std::vector<QString> playlists;
    gui::WindowProviders providers;
    providers.openPlaylist = [&playlists](gui::TFMain&, const QString& file, bool create) {
        EXPECT_FALSE(create);
        playlists.push_back(file);
    };
    gui::AddListWindows(providers);
    gui::Program& program = h.Make(std::move(providers));
    const std::string stick = h.dir / "stick";
    h.mounts->drives.clear();
    h.mounts->Add(stick, kStickSerial, "Removable", "STICK");
    std::filesystem::create_directories(stick + "/album/inner");
    const std::string one = MakeSong(stick + "/one.mp3", "A", "One");
    const std::string two = MakeSong(stick + "/two.mp3", "A", "Two");
    MakeSong(stick + "/album/three.mp3", "A", "Three");
    MakeSong(stick + "/album/inner/four.MP3", "A", "Four");
    MakeSong(stick + "/album/.five.mp3", "A", "Hidden");
    WriteBytes(stick + "/album/cover.jpg", "picture");
    WriteBytes(stick + "/list.m3u", "");
    WriteBytes(stick + "/Other.M3U8", "");
    WriteBytes(stick + "/picture.jpg", "picture");

    program.OpenFiles({one, two, stick + "/album", stick + "/list.m3u", stick + "/Other.M3U8",
                       stick + "/picture.jpg"});
    QCoreApplication::processEvents();
    EXPECT_TRUE(playlists.empty());
    program.Start();
    EXPECT_EQ(AddWindow(), nullptr) << "taken from the event loop, after the start-up";
    QTRY_VERIFY(AddWindow() != nullptr);

    gui::TFSearch& added = *AddWindow();
    EXPECT_EQ(added.windowTitle(), "Files addded");
    EXPECT_EQ(ColumnTexts(added.List(), codes::Title),
              (std::vector<std::string>{"One", "Two", "Three", "Four"}));
    EXPECT_EQ(added.Messages().Lines(),
              QStringList{
                  QString::fromStdString("Invalid file extension \"" + stick + "/picture.jpg\"")});
    EXPECT_EQ(Count(), 4);
    EXPECT_EQ(playlists, (std::vector<QString>{QString::fromStdString(stick + "/list.m3u"),
                                               QString::fromStdString(stick + "/Other.M3U8")}));
    EXPECT_TRUE(gui::RecentPlaylists(Main().App().Registry())
                    .Files()
                    .contains(QString::fromStdString(stick + "/list.m3u")));

    // A folder without audio files, like playlists alone, opens no add window.
    Main().Children().CloseAll();
    FlushDeletedWindows();
    std::filesystem::create_directories(h.dir / "empty-folder");
    program.TakeHandOver({stick + "/list.m3u", h.dir / "empty-folder"});
    QTRY_COMPARE(playlists.size(), std::size_t{3});
    EXPECT_EQ(AddWindow(), nullptr);
}

TEST_F(OpenedFilesTest, AHandOverDuringAnAddWaitsForItAndBringsTheWindowToTheFront) {
    std::vector<std::string> calls;
    gui::WindowProviders providers;
    gui::Program* running = nullptr;
    providers.addDroppedFiles = [&](gui::TFMain&, const std::vector<std::string>& paths) {
        calls.push_back("begin " + paths.front());
        if (paths.front() == "/first.mp3") {
            running->TakeHandOver({"/second.mp3"});
            // An add lets events run between its files.
            for (int i = 0; i < 5; ++i) {
                QCoreApplication::processEvents();
            }
        }
        calls.push_back("end " + paths.front());
    };
    gui::Program& program = h.Make(std::move(providers));
    running = &program;
    program.Start();
    program.Main().showMinimized();
    program.TakeHandOver({"/first.mp3"});
    EXPECT_FALSE(program.Main().isMinimized());
    QTRY_COMPARE(calls.size(), std::size_t{4});
    EXPECT_EQ(calls, (std::vector<std::string>{"begin /first.mp3", "end /first.mp3",
                                               "begin /second.mp3", "end /second.mp3"}));
}

}  // namespace
}  // namespace sonarchive::testing
