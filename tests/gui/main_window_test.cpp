#include "gui/shell/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>
#include <filesystem>

#include "catalog_store/engine.h"
#include "collections/temp_playlists.h"
#include "gui/shell/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/collections_box.h"
#include "gui/shell/logo_area.h"
#include "gui/shell/mini_player.h"
#include "gui/shell/shell_drives.h"
#include "gui/shell/task_bar.h"
#include "gui_support.h"
#include "lists/search_history.h"
#include "platform/drive_list.h"

namespace sonarchive::testing {
namespace {

using gui::ChildKind;

std::vector<std::string> MenuItems(const QMenu& menu, const std::string& prefix = {}) {
    std::vector<std::string> items;
    for (const QAction* action : menu.actions()) {
        const std::string text = prefix + action->text().toStdString();
        if (action->isSeparator()) {
            continue;
        }
        if (action->menu() != nullptr) {
            const auto inner = MenuItems(*action->menu(), text + " > ");
            items.insert(items.end(), inner.begin(), inner.end());
            continue;
        }
        const QString keys = action->shortcut().toString(QKeySequence::PortableText);
        items.push_back(text + (keys.isEmpty() ? "" : " [" + keys.toStdString() + "]"));
    }
    return items;
}

std::vector<std::string> ToolBarItems(const QToolBar& bar) {
    std::vector<std::string> items;
    for (QAction* action : bar.actions()) {
        if (action->isSeparator()) {
            items.push_back("|");
        } else if (auto* holder = qobject_cast<QWidgetAction*>(action)) {
            const QWidget* widget = holder->defaultWidget();
            const auto* button = qobject_cast<const QToolButton*>(widget);
            items.push_back(button != nullptr && button->defaultAction() != nullptr
                                ? button->defaultAction()->text().toStdString() + " (menu)"
                                : widget->objectName().toStdString());
        } else {
            items.push_back(action->text().toStdString());
        }
    }
    return items;
}

class MainWindowTest : public ::testing::Test {
protected:
    gui::TFMain& Start(gui::WindowProviders providers = {}) {
        gui::Program& program = h.Make(std::move(providers));
        program.Start();
        return program.Main();
    }

    // A provider of fake list windows for a single-instance command.
    std::function<QWidget*(gui::TFMain&)> Lists(const QString& caption) {
        return [this, caption](gui::TFMain&) { return new FakeListWindow(calls, caption); };
    }

    QMdiSubWindow* AddChild(gui::TFMain& main, ChildKind kind, const QString& caption) {
        return main.Children().Add(new FakeListWindow(calls, caption), kind);
    }

    ProgramHarness h;
    std::vector<std::string> calls;
};

TEST_F(MainWindowTest, HasEveryMenuItemWithItsShortcutInOrder) {
    gui::TFMain& main = Start();
    EXPECT_EQ(main.windowTitle(), "Sonarchive");
    std::vector<std::string> titles;
    std::vector<std::string> items;
    for (QAction* menu : main.menuBar()->actions()) {
        titles.push_back(menu->text().toStdString());
        const auto inner = MenuItems(*menu->menu(), menu->text().toStdString() + " > ");
        items.insert(items.end(), inner.begin(), inner.end());
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"&File", "&Edit", "&Archive", "Tools", "&Window",
                                                "&Help"}));
    EXPECT_EQ(items, (std::vector<std::string>{
                         "&File > Export > &Window",
                         "&File > Export > &Selection",
                         "&File > Preferences...",
                         "&File > E&xit",
                         "&Edit > Cu&t [Ctrl+X]",
                         "&Edit > &Copy [Ctrl+C]",
                         "&Edit > &Paste [Ctrl+V]",
                         "&Edit > Select all [Ctrl+A]",
                         "&Edit > Find (Ctrl-f) [Ctrl+F]",
                         "&Edit > Find &Next [F3]",
                         "&Archive > &Search for and add MP3 files to the archive",
                         "&Archive > &Browse MP3 archive",
                         "&Archive > &Search in MP3 archive",
                         "&Archive > Manage &collections...",
                         "Tools > &Summary",
                         "Tools > &Playlist > &New playlist",
                         "Tools > &Playlist > &Open playlist",
                         "Tools > &Maintenance > &Check archive",
                         "Tools > &Maintenance > &Re-read tags",
                         "Tools > &Maintenance > &Pack database",
                         "Tools > &Maintenance > &Empty database",
                         "Tools > File &Organizer",
                         "Tools > Find duplicates",
                         "&Window > &Cascade",
                         "&Window > Tile &Horizontally",
                         "&Window > Tile &Vertically",
                         "&Window > &Minimize All",
                         "&Window > &Arrange All",
                         "&Window > Close &all",
                         "&Help > &Contents",
                         "&Help > &About...",
                     }));
    EXPECT_EQ(main.Actions().openInPlayer->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(main.Actions().enqueue->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_TRUE(main.actions().contains(main.Actions().openInPlayer));
}

TEST_F(MainWindowTest, ToolBarHoldsItsButtonsInOrderAndTheCounter) {
    gui::TFMain& main = Start();
    EXPECT_EQ(ToolBarItems(*main.ToolBar().bar),
              (std::vector<std::string>{
                  "&Search for and add MP3 files to the archive", "&Browse MP3 archive",
                  "&Search in MP3 archive (menu)", "Set fields to show (menu)", "|", "&Cascade",
                  "Tile &Horizontally", "Tile &Vertically", "|", "Preview songs", "|",
                  "LCollections", "CBCollections", "BManageCollections", "|", "PNoOfFiles"}));
    EXPECT_EQ(main.findChild<QLabel*>("PNoOfFiles")->text(), "Files in archive: 0");
    EXPECT_EQ(main.findChild<QLabel*>("LCollections")->text(), "Collections");
    const auto* manage = main.findChild<QToolButton*>("BManageCollections");
    EXPECT_EQ(manage->text(), "...");
    EXPECT_EQ(manage->statusTip(), "Manage collections");
    EXPECT_EQ(main.Actions().addFiles->statusTip(), "Search for and add MP3 files to the archive");
}

TEST_F(MainWindowTest, CommandsWaitForTheirWindows) {
    gui::TFMain& main = Start();
    const gui::MainActions& a = main.Actions();
    for (QAction* waiting :
         {a.addFiles, a.browse, a.search, a.manageCollections, a.summary, a.newPlaylist,
          a.openPlaylist, a.checkArchive, a.rereadTags, a.fileOrganizer, a.findDuplicates,
          a.exportWindow, a.exportSelection}) {
        EXPECT_FALSE(waiting->isEnabled()) << waiting->text().toStdString();
    }
    for (QAction* ready : {a.preferences, a.exit, a.packDatabase, a.emptyDatabase, a.cascade,
                           a.closeAll, a.contents, a.about, a.previewSongs, a.selectAll}) {
        EXPECT_TRUE(ready->isEnabled()) << ready->text().toStdString();
    }
    EXPECT_FALSE(main.ToolBar().manageCollections->isEnabled());
    // With nothing open the list commands do nothing.
    a.selectAll->trigger();
    a.find->trigger();
    a.findNext->trigger();
    a.setFields->trigger();
    EXPECT_TRUE(calls.empty());

    h.Destroy();
    gui::WindowProviders providers;
    providers.browse = Lists("Browse");
    providers.collections = Lists("Collections");
    gui::TFMain& provided = Start(std::move(providers));
    EXPECT_TRUE(provided.Actions().browse->isEnabled());
    EXPECT_TRUE(provided.Actions().manageCollections->isEnabled());
    EXPECT_TRUE(provided.ToolBar().manageCollections->isEnabled());
    EXPECT_TRUE(provided.Actions().exportWindow->isEnabled());
}

TEST_F(MainWindowTest, SingleInstanceWindowsAreBroughtToTheFront) {
    gui::WindowProviders providers;
    providers.search = Lists("Search");
    gui::TFMain& main = Start(std::move(providers));
    AddChild(main, ChildKind::AddFiles, "Files added");

    main.Actions().search->trigger();
    QMdiSubWindow* search = main.Children().FindOpen(ChildKind::Search);
    ASSERT_NE(search, nullptr);
    AddChild(main, ChildKind::Collection, "Collection");
    main.Actions().search->trigger();

    EXPECT_EQ(main.Children().Windows().size(), 3);
    EXPECT_EQ(main.Area().activeSubWindow(), search);
    EXPECT_TRUE(main.Tasks().ButtonOf(search)->isChecked());
}

TEST_F(MainWindowTest, TaskBarFollowsTheWindowsAndOffersWhatTheirStateAllows) {
    gui::TFMain& main = Start();
    main.resize(900, 600);
    QMdiSubWindow* first = AddChild(main, ChildKind::Collection, "First");
    QMdiSubWindow* second =
        AddChild(main, ChildKind::Playlist, "Playlist \"/home/ann/music/a very long name.m3u\"");
    gui::TaskBar& tasks = main.Tasks();
    ASSERT_EQ(tasks.ButtonCount(), 2);
    EXPECT_TRUE(tasks.ButtonOf(second)->isChecked());
    EXPECT_FALSE(tasks.ButtonOf(first)->isChecked());
    QToolButton* long_ = tasks.ButtonOf(second);
    EXPECT_LE(long_->width(), gui::TaskBar::kMaxButtonWidth);
    EXPECT_TRUE(long_->text().endsWith("...")) << long_->text().toStdString();
    EXPECT_EQ(long_->toolTip(), second->windowTitle());

    tasks.ButtonOf(first)->click();
    EXPECT_EQ(main.Area().activeSubWindow(), first);
    EXPECT_TRUE(tasks.ButtonOf(first)->isChecked());

    const auto enabled = [&tasks](QMdiSubWindow* window) {
        QMenu menu;
        tasks.FillContextMenu(menu, window);
        std::vector<std::string> items;
        for (const QAction* item : menu.actions()) {
            items.push_back(item->text().toStdString() + (item->isEnabled() ? "" : " (off)"));
        }
        return items;
    };
    EXPECT_EQ(enabled(first),
              (std::vector<std::string>{"&Restore (off)", "Minimize", "Maximize", "&Close"}));
    first->showMinimized();
    EXPECT_EQ(enabled(first),
              (std::vector<std::string>{"&Restore", "Minimize (off)", "Maximize", "&Close"}));
    first->showMaximized();
    EXPECT_EQ(enabled(first),
              (std::vector<std::string>{"&Restore", "Minimize", "Maximize (off)", "&Close"}));

    first->widget()->setWindowTitle("Renamed");
    EXPECT_EQ(tasks.ButtonOf(first)->toolTip(), "Renamed");

    second->close();
    FlushDeletedWindows();
    EXPECT_EQ(tasks.ButtonCount(), 1);
}

TEST_F(MainWindowTest, WindowMenuListsTheOpenWindows) {
    gui::TFMain& main = Start();
    AddChild(main, ChildKind::Collection, "Rock");
    AddChild(main, ChildKind::Collection, "Jazz");
    emit main.Actions().windowMenu->aboutToShow();
    const auto items = MenuItems(*main.Actions().windowMenu);
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(items[items.size() - 2], "Rock");
    EXPECT_EQ(items.back(), "Jazz");

    main.Actions().closeAll->trigger();
    FlushDeletedWindows();
    EXPECT_TRUE(main.Children().Windows().isEmpty());
}

TEST_F(MainWindowTest, ChoosingACollectionOpensItAndClearsTheBox) {
    h.Prefill({"insert into SubColl (dName) values ('Rock')",
               "insert into SubColl (dName) values ('Ambient')",
               "insert into SubColl (dName) values ('Jazz')"});
    std::vector<qint64> opened;
    gui::WindowProviders providers;
    providers.openCollection = [&opened](gui::TFMain&, std::int64_t id) { opened.push_back(id); };
    gui::TFMain& main = Start(std::move(providers));
    gui::CollectionsBox& box = *main.ToolBar().collections;
    ASSERT_EQ(box.count(), 3);
    EXPECT_EQ(box.itemText(0), "Ambient");
    EXPECT_EQ(box.Ids(), (std::vector<qint64>{2, 3, 1}));
    EXPECT_EQ(box.currentIndex(), -1);

    box.setCurrentIndex(2);
    emit box.activated(2);

    EXPECT_EQ(opened, std::vector<qint64>{1});
    EXPECT_EQ(box.currentIndex(), -1);
}

TEST_F(MainWindowTest, EmptyAsksTwiceAndKeepsTheCollections) {
    h.Prefill({"insert into maindata (dPath) values ('/a.mp3')",
               "insert into maindata (dPath) values ('/b.mp3')",
               "insert into SubColl (dName) values ('Car')",
               "insert into SubCollD (dDataId, dSubCollectionId) values (1, 1)"});
    gui::TFMain& main = Start();
    QLabel& counter = *main.ToolBar().fileCounter;
    EXPECT_EQ(counter.text(), "Files in archive: 2");

    h.user.AnswerYes();
    h.user.AnswerNo();
    main.Actions().emptyDatabase->trigger();
    EXPECT_EQ(counter.text(), "Files in archive: 2");
    EXPECT_EQ(h.user.Texts("question"),
              (std::vector<std::string>{
                  "Delete every entry in the database (Collections will also be deleted) ?",
                  "Empty database, Are you sure?"}));

    h.user.AnswerYes(2);
    main.Actions().emptyDatabase->trigger();
    EXPECT_EQ(counter.text(), "Files in archive: 0");
    EXPECT_EQ(main.ToolBar().collections->count(), 1);
    catalog::Query members(main.App().Catalog().Engine(), "select count(*) from SubCollD");
    EXPECT_EQ(members[0].AsInteger(), 0);
}

TEST_F(MainWindowTest, PackAsksThenClosesTheWindowsAndPacks) {
    gui::TFMain& main = Start();
    AddChild(main, ChildKind::Collection, "Open");

    h.user.AnswerNo();
    main.Actions().packDatabase->trigger();
    EXPECT_EQ(main.Children().Windows().size(), 1);
    EXPECT_TRUE(h.user.Texts("info").empty());

    h.user.AnswerYes();
    main.Actions().packDatabase->trigger();
    EXPECT_TRUE(main.Children().Windows().isEmpty());
    EXPECT_EQ(h.user.Texts("question"),
              (std::vector<std::string>{
                  "Sonarchive needs to close all windows to perform this operation. Other "
                  "instances of Sonarchive must be closed, continue?",
                  "Sonarchive needs to close all windows to perform this operation. Other "
                  "instances of Sonarchive must be closed, continue?"}));
    EXPECT_EQ(h.user.Texts("notice"), std::vector<std::string>{"Packing database"});
    EXPECT_EQ(h.user.Texts("info"), std::vector<std::string>{"Database packed successfully."});
}

TEST_F(MainWindowTest, ListCommandsReachTheActiveListWindow) {
    gui::TFMain& main = Start();
    AddChild(main, ChildKind::Collection, "Collection");
    const gui::MainActions& a = main.Actions();
    a.selectAll->trigger();
    a.find->trigger();
    a.findNext->trigger();
    a.setFields->trigger();  // a collection window's fields are not set from here
    emit main.ToolBar().fieldsMenu->aboutToShow();
    a.openInPlayer->trigger();
    a.enqueue->trigger();
    EXPECT_EQ(calls,
              (std::vector<std::string>{"select all", "find", "find next", "play", "enqueue"}));

    calls.clear();
    AddChild(main, ChildKind::Search, "Search");
    a.setFields->trigger();
    emit main.ToolBar().fieldsMenu->aboutToShow();
    EXPECT_EQ(calls, (std::vector<std::string>{"fields dialog", "fields menu"}));
    EXPECT_EQ(main.ToolBar().fieldsMenu->actions().size(), 1);
}

TEST_F(MainWindowTest, PreviewSongsShowsAndClosesTheMiniPlayer) {
    gui::TFMain& main = Start();
    AddChild(main, ChildKind::Search, "Search");
    gui::TFMiniPlayer& player = *h.Get().Windows().miniPlayer;
    QAction& preview = *main.Actions().previewSongs;

    preview.setChecked(true);
    EXPECT_TRUE(player.isVisible());
    EXPECT_EQ(calls, std::vector<std::string>{"preview"});
    EXPECT_EQ(h.backend->mode, gui::MediaBackend::Mode::Playing);

    preview.setChecked(false);
    EXPECT_FALSE(player.isVisible());
    EXPECT_EQ(h.backend->mode, gui::MediaBackend::Mode::NotReady);

    preview.setChecked(true);
    player.close();
    EXPECT_FALSE(preview.isChecked());
}

TEST_F(MainWindowTest, ARecentPlaylistThatIsGoneIsReported) {
    std::vector<std::string> opened;
    gui::WindowProviders providers;
    providers.openPlaylist = [&opened](gui::TFMain&, const QString& file, bool create) {
        opened.push_back(file.toStdString() + (create ? " (new)" : ""));
    };
    gui::TFMain& main = Start(std::move(providers));
    const std::string gone = h.dir / "gone.m3u";
    const std::string there = h.dir / "there.m3u";
    WriteBytes(there, "#EXTM3U\r\n");

    main.OpenRecentPlaylist(QString::fromStdString(gone));
    main.OpenRecentPlaylist(QString::fromStdString(there));

    EXPECT_EQ(h.user.Texts("error"), std::vector<std::string>{"Couldn't open file (" + gone + ")"});
    EXPECT_EQ(opened, std::vector<std::string>{there});
    emit main.Actions().playlistMenu->aboutToShow();
    EXPECT_EQ(MenuItems(*main.Actions().playlistMenu),
              (std::vector<std::string>{"&New playlist", "&Open playlist", there}));
}

TEST_F(MainWindowTest, ClosingSavesTheHistoryAndDestroyingDeletesTemporaryPlaylists) {
    gui::TFMain& main = Start();
    main.App().History().Record({true, false, {}, {"Title", "Contains", "RAIN", ""}, "Title"});
    const std::string folder = collections::TempPlaylistFolder();
    WriteBytes(folder + "/~sonarchv123.m3u", "/a.mp3\n");
    WriteBytes(folder + "/keep.m3u", "/a.mp3\n");

    main.close();
    const auto stored = h.settings.ReadBinary("SEARCH_HISTORY");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(lists::SearchHistory::Decode(*stored).Entries().back().Caption, "Title");
    EXPECT_TRUE(std::filesystem::exists(folder + "/~sonarchv123.m3u"));

    h.Destroy();
    EXPECT_FALSE(std::filesystem::exists(folder + "/~sonarchv123.m3u"));
    EXPECT_TRUE(std::filesystem::exists(folder + "/keep.m3u"));
    std::filesystem::remove(folder + "/keep.m3u");
}

TEST_F(MainWindowTest, TheLogoStaysCentred) {
    gui::TFMain& main = Start();
    for (const QSize size : {QSize(800, 600), QSize(1200, 500)}) {
        main.resize(size);
        QApplication::processEvents();
        EXPECT_EQ(main.Area().LogoRect().center(), main.Area().viewport()->rect().center());
    }
}

TEST_F(MainWindowTest, TheSearchHistoryMenuOffersTheUsedEntries) {
    std::vector<std::size_t> applied;
    gui::WindowProviders providers;
    providers.applyHistoryEntry = [&applied](gui::TFMain&, std::size_t entry) {
        applied.push_back(entry);
    };
    gui::TFMain& main = Start(std::move(providers));
    main.App().History().Record({true, false, {}, {"Artist", "Contains", "ABBA", ""}, "Artist"});
    main.App().History().Record({true, true, {}, {}, "Year > 1999"});
    QMenu& menu = *main.ToolBar().historyMenu;
    emit menu.aboutToShow();
    EXPECT_EQ(MenuItems(menu), (std::vector<std::string>{"Artist", "Year > 1999"}));
    menu.actions().at(1)->trigger();
    EXPECT_EQ(applied, std::vector<std::size_t>{4});
}

TEST_F(MainWindowTest, TilingSharesTheAreaBetweenTheWindows) {
    gui::TFMain& main = Start();
    main.resize(1000, 700);
    QApplication::processEvents();
    QMdiSubWindow* top = AddChild(main, ChildKind::Collection, "One");
    QMdiSubWindow* bottom = AddChild(main, ChildKind::Collection, "Two");
    const QRect area = main.Area().viewport()->rect();

    main.Actions().tileHorizontally->trigger();
    EXPECT_EQ(top->geometry(), QRect(0, 0, area.width(), area.height() / 2));
    EXPECT_EQ(bottom->geometry().top(), area.height() / 2);

    main.Actions().tileVertically->trigger();
    EXPECT_EQ(top->geometry(), QRect(0, 0, area.width() / 2, area.height()));
    EXPECT_EQ(bottom->geometry().left(), area.width() / 2);

    main.Actions().minimizeAll->trigger();
    EXPECT_TRUE(top->isMinimized() && bottom->isMinimized());
    EXPECT_EQ(top->geometry().bottom(), area.bottom());
    EXPECT_EQ(bottom->geometry().left(), top->geometry().right() + 1);
}

TEST_F(MainWindowTest, TheDrivesAreBuiltAtStartAndAnnouncedToTheListWindows) {
    h.mounts->Add("/media/ann/STICK", "ABCD1234", "Removable", "STICK");
    h.mounts->AddNetwork("/mnt/nas", "//nas/music");
    h.hosts->names["nas"] = {"127.0.0.1"};
    h.hosts->answering = {"127.0.0.1"};
    h.Prefill(
        {"insert into maindata (dPath, dDriveSerialNumber) values "
         "('//nas/music/a.mp3', '//nas')",
         "insert into maindata (dPath, dDriveSerialNumber) values "
         "('//gone/music/b.mp3', '//gone')"});
    gui::TFMain& main = Start();
    gui::ShellDrives& drives = main.Drives();
    EXPECT_EQ(drives.LocalDrives(), (platform::LocalDriveList{{"/media/ann/STICK", "ABCD1234"}}));
    EXPECT_EQ(drives.Hosts().Hosts(), std::vector<std::string>{"nas"});
    EXPECT_EQ(drives.Hosts().IsHostReachable("//NAS"), 0);

    int announced = 0;
    QObject::connect(&drives, &gui::ShellDrives::drivesChanged, [&announced] { ++announced; });
    h.mounts->drives.clear();
    drives.BuildLocalDriveList();
    EXPECT_EQ(announced, 1);
    EXPECT_TRUE(drives.LocalDrives().empty());
}

TEST_F(MainWindowTest, ClipboardCommandsWorkOnTheFocusedEdit) {
    gui::TFMain& main = Start();
    auto* edit = new QLineEdit("Blue Sky");
    main.Children().Add(edit, ChildKind::Collection);
    main.activateWindow();
    edit->setFocus();
    QApplication::processEvents();
    if (QApplication::focusWidget() != edit) {
        GTEST_SKIP() << "the platform gives no keyboard focus";
    }
    edit->selectAll();
    main.Actions().cut->trigger();
    EXPECT_EQ(edit->text(), "");
    main.Actions().paste->trigger();
    main.Actions().paste->trigger();
    EXPECT_EQ(edit->text(), "Blue SkyBlue Sky");
}

}  // namespace
}  // namespace sonarchive::testing
