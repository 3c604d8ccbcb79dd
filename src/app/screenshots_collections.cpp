// Pictures of the collection windows and of a playlist window on the demonstration catalog.
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <fstream>

#include "collections/collection_list.h"
#include "collections/collections.h"
#include "gui/collections/collection_window.h"
#include "gui/collections/collection_windows.h"
#include "gui/shell/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/main_window.h"
#include "gui/shell/program.h"
#include "screenshot_support.h"

namespace sonarchive::screenshots {
namespace {

// The demonstration catalog's first collection, "Car", with some songs in an order of its own.
std::int64_t FillFirstCollection(gui::TFMain& main) {
    catalog::Catalog& catalog = main.App().Catalog();
    const std::vector<collections::CollectionName> names =
        collections::ListCollections(catalog.Engine());
    if (names.empty()) {
        return -1;
    }
    const std::int64_t id = names.front().Id;
    collections::SetCollectionProperties(catalog, id, names.front().Name, false);
    collections::AddCollectionMembers(catalog.Engine(), id, {3, 1, 6, 8, 4});
    return id;
}

}  // namespace

bool ShootCollectionWindows(gui::Program& program, const QDir& out) {
    gui::TFMain& main = program.Main();
    // The brief help would stand in front of every window.
    for (const char* hint :
         {"HINT_HIDE_COLLECTION", "HINT_HIDE_COLLECTIONS", "HINT_HIDE_PLAYLIST"}) {
        main.App().Registry().WriteRegInteger(hint, 1);
    }
    const std::int64_t id = FillFirstCollection(main);
    if (id < 0) {
        return false;
    }
    bool saved = true;
    gui::TFCollection* collection = gui::OpenCollection(main, id, true, false);
    collection->parentWidget()->resize(760, 380);
    saved = Save(*collection->parentWidget(), out, QStringLiteral("collection")) && saved;
    // As a new collection stands: on the right, the browse window on the left to drag from.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(collection->parentWidget())) {
        gui::ArrangeBesideBrowse(main, *frame);
        saved = Save(main, out, QStringLiteral("collection-beside-browse")) && saved;
    }

    main.OpenSingle(gui::ChildKind::Collections);
    if (QMdiSubWindow* collections = main.Children().FindOpen(gui::ChildKind::Collections)) {
        collections->resize(700, 260);
        saved = Save(*collections, out, QStringLiteral("collections")) && saved;
    }

    QTemporaryDir work;
    const QString playlist = work.filePath(QStringLiteral("Road trip.m3u"));
    std::ofstream(playlist.toStdString(), std::ios::binary)
        << "#EXTM3U\r\n#EXTINF:187,Ann Arbor - Blue Sky\r\n/media/MUSIC/Music/Blue Sky.mp3\r\n"
           "#EXTINF:305,The Quiet Hours - Night Shift\r\n/media/MUSIC/Music/Night Shift.mp3\r\n"
           "Fjord.ogg\r\n";
    gui::OpenPlaylistWindow(main, playlist, false);
    if (QMdiSubWindow* window = main.Children().FindOpen(gui::ChildKind::Playlist)) {
        window->resize(560, 260);
        saved = Save(*window, out, QStringLiteral("playlist")) && saved;
    } else {
        saved = false;
    }
    main.Children().CloseAll();
    return saved;
}

}  // namespace sonarchive::screenshots
