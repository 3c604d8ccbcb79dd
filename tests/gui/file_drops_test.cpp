// Files dragged into and out of the program, and the main window's part in it: drops from
// other programs are added, rows dragged out of the program's own lists are not, and the list
// windows reload when rows changed.
#include "gui/shell/file_drops.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiSubWindow>
#include <filesystem>

#include "catalog_store/catalog.h"
#include "gui/shell/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/main_window.h"
#include "gui_support.h"

namespace sonarchive::testing {
namespace {

std::unique_ptr<QMimeData> UriList(const QByteArray& list) {
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("text/uri-list"), list);
    return data;
}

TEST(FileDrops, LocalFileUrlsBecomePathsByteForByteAndOthersAreLeftOut) {
    const auto data = UriList(
        "file:///music/caf%E9.mp3\r\n"
        "file://localhost/music/a%20b.ogg\r\n"
        "http://example.invalid/c.mp3\r\n"
        "file://otherhost/d.mp3\r\n"
        "file:///music/%C3%BCber.wav\r\n");
    EXPECT_EQ(gui::DroppedFilePaths(*data),
              (std::vector<std::string>{"/music/caf\xEE\xBF\xA9.mp3", "/music/a b.ogg",
                                        "/music/\xC3\xBC"
                                        "ber.wav"}));
    EXPECT_TRUE(gui::OffersLocalFiles(*data));
    EXPECT_FALSE(gui::OffersLocalFiles(*UriList("http://example.invalid/c.mp3\r\n")));
}

TEST(FileDrops, DraggedPathsTravelAsFileUrlsThatGiveTheSameBytesBack) {
    const std::vector<std::string> paths = {"/music/caf\xEE\xBF\xA9.mp3", "/music/50% off #1.mp3",
                                            "/music/\xC3\xBC"
                                            "ber.wav"};
    const auto data = gui::FileUrlsMimeData(paths);
    const QByteArray list = data->data(QStringLiteral("text/uri-list"));
    EXPECT_TRUE(list.startsWith("file:///music/caf%E9.mp3\r\n")) << list.toStdString();
    EXPECT_TRUE(list.contains("file:///music/50%25%20off%20%231.mp3")) << list.toStdString();
    EXPECT_EQ(gui::DroppedFilePaths(*data), paths);
}

class MainWindowDropTest : public ::testing::Test {
protected:
    gui::TFMain& Start() {
        gui::WindowProviders providers;
        providers.addDroppedFiles = [this](gui::TFMain&, const std::vector<std::string>& paths) {
            dropped.push_back(paths);
        };
        gui::Program& program = h.Make(std::move(providers));
        program.Start();
        return program.Main();
    }

    // Qt delivers a drop only to a widget that took the drag's entering.
    static bool Drop(QWidget& target, const QMimeData& data) {
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&target, &enter);
        QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &drop);
        return enter.isAccepted();
    }

    ProgramHarness h;
    std::vector<std::vector<std::string>> dropped;
};

TEST_F(MainWindowDropTest, FilesFromOtherProgramsAreAddedAndRowsOfItsOwnListsAreNot) {
    gui::TFMain& main = Start();
    const auto data = UriList("file:///music/a.mp3\r\nfile:///music/b.mp3\r\n");
    EXPECT_TRUE(Drop(main, *data));
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0], (std::vector<std::string>{"/music/a.mp3", "/music/b.mp3"}));

    QObject list;
    main.SetDragSource(&list);
    EXPECT_FALSE(Drop(main, *data));
    EXPECT_EQ(dropped.size(), 1u);
    main.SetDragSource(nullptr);
    EXPECT_FALSE(Drop(main, *UriList("http://example.invalid/a.mp3\r\n")));
    EXPECT_EQ(dropped.size(), 1u);
}

TEST_F(MainWindowDropTest, ADroppedFolderStandsForTheAudioFilesBelowIt) {
    gui::TFMain& main = Start();
    const std::string folder = h.dir / "album";
    std::filesystem::create_directories(folder + "/cd 2");
    std::filesystem::create_directories(folder + "/.cache");
    for (const char* name :
         {"b.mp3", "a.OGG", "cover.jpg", "cd 2/c.wav", ".cache/x.mp3", ".hidden.mp3"}) {
        WriteBytes(folder + "/" + name, "");
    }
    std::filesystem::create_directories(h.dir / "empty");
    WriteBytes(h.dir / "empty/notes.txt", "");
    const auto data = gui::FileUrlsMimeData({h.dir / "single.mp3", folder});
    EXPECT_TRUE(Drop(main, *data));
    ASSERT_EQ(dropped.size(), 1u);
    // In the order of a scan: per folder each format in turn, then the subfolders.
    EXPECT_EQ(dropped[0], (std::vector<std::string>{h.dir / "single.mp3", folder + "/b.mp3",
                                                    folder + "/a.OGG", folder + "/cd 2/c.wav"}));

    // A folder without audio files opens no add at all.
    EXPECT_TRUE(Drop(main, *gui::FileUrlsMimeData({h.dir / "empty"})));
    EXPECT_EQ(dropped.size(), 1u);
}

TEST_F(MainWindowDropTest, ListWindowsReloadWhenRowsChangeAndADeletedDragSourceIsForgotten) {
    gui::TFMain& main = Start();
    std::vector<std::string> calls;
    main.Children().Add(new FakeListWindow(calls, "A"), gui::ChildKind::Search);
    main.Children().Add(new FakeListWindow(calls, "B"), gui::ChildKind::Browse);
    main.App().Catalog().Events().Notify(catalog::CatalogChange::RowsChanged);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, (std::vector<std::string>{"reload", "reload"}));

    auto* source = new QObject;
    main.SetDragSource(source);
    delete source;
    EXPECT_EQ(main.DragSource(), nullptr);
}

}  // namespace
}  // namespace sonarchive::testing
