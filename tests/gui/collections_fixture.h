// The list windows with the collection and playlist windows, a launcher that records what it
// was asked to start, and collections made through the core.
#pragma once

#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QTest>
#include <fstream>
#include <sstream>

#include "collections/collections.h"
#include "collections/player.h"
#include "gui/collections/collection_window.h"
#include "gui/collections/collection_windows.h"
#include "gui/shell/collections_box.h"
#include "gui/shell/file_drops.h"
#include "list_windows_fixture.h"

namespace sonarchive::testing {

// Starts nothing: records "play PATH", "open PATH" and "enqueue PATH".
class FakeLauncher : public collections::PlayerLauncher {
public:
    std::vector<std::string> calls;
    bool starts = true;

    bool Play(const std::string& path) override { return Record("play ", path); }
    bool Open(const std::string& path) override { return Record("open ", path); }
    bool Enqueue(const std::string& path) override { return Record("enqueue ", path); }

private:
    bool Record(const char* verb, const std::string& path) {
        calls.push_back(verb + path);
        return starts;
    }
};

inline std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class CollectionsTest : public ListWindowsTest {
protected:
    gui::TFMain& StartAll() {
        gui::WindowProviders providers;
        gui::AddCollectionWindows(providers, launcher);
        gui::TFMain& main = Start(std::move(providers));
        for (const char* hint :
             {"HINT_HIDE_COLLECTION", "HINT_HIDE_COLLECTIONS", "HINT_HIDE_PLAYLIST"}) {
            main.App().Registry().WriteRegInteger(hint, 1);
        }
        return main;
    }

    std::int64_t NewCollection(const std::string& name, const catalog::IdList& files,
                               bool sortable = false) {
        const std::int64_t id =
            collections::CreateCollection(Main().App().Catalog(), name, sortable);
        collections::AddCollectionMembers(Db(), id, files);
        return id;
    }

    gui::TFCollection& OpenWindow(std::int64_t id) {
        return *gui::OpenCollection(Main(), id, false, false);
    }

    // The file ids of the members in position order, with their positions.
    std::vector<std::pair<std::int64_t, double>> StoredMembers(std::int64_t collectionId) {
        catalog::Query q(Db(), "select dDataId, dPosition from SubCollD where dSubCollectionId=" +
                                   std::to_string(collectionId) + " order by dPosition");
        std::vector<std::pair<std::int64_t, double>> members;
        for (; !q.AtEnd(); q.Next()) {
            members.emplace_back(q[0].AsInteger(), q[1].AsDouble());
        }
        return members;
    }

    std::vector<std::int64_t> ListedIds(const gui::TResultList& list) {
        std::vector<std::int64_t> ids;
        for (const QModelIndex& row : list.Rows().RowsInListOrder()) {
            ids.push_back(list.Rows().Record(row)->Id);
        }
        return ids;
    }

    // A drop of files on a widget, as a drag from `source` (null: from another program).
    void Drop(QWidget& target, QObject* source, const std::vector<std::string>& paths,
              QPoint at = QPoint(5, 5)) {
        const std::unique_ptr<QMimeData> data = gui::FileUrlsMimeData(paths);
        Main().SetDragSource(source);
        QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &drop);
        Main().SetDragSource(nullptr);
    }

    std::shared_ptr<FakeLauncher> launcher = std::make_shared<FakeLauncher>();
};

}  // namespace sonarchive::testing
