#include "gui/collections/collection_windows.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "collections/collections.h"
#include "gui/collections/collection_help.h"
#include "gui/collections/collection_window.h"
#include "gui/collections/collections_window.h"
#include "gui/collections/desktop_player.h"
#include "gui/collections/new_collection_dialog.h"
#include "gui/collections/playlist_window.h"
#include "gui/shell/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/logo_area.h"
#include "gui/shell/main_window.h"
#include "gui/shell/path_text.h"

namespace sonarchive::gui {
namespace {

// Below the area's lower edge the frames would be cut off.
constexpr int kBottomGap = 5;
constexpr int kOverlap = 4;

std::vector<std::pair<QMdiSubWindow*, TFCollection*>> CollectionWindows(TFMain& main,
                                                                        std::int64_t id) {
    std::vector<std::pair<QMdiSubWindow*, TFCollection*>> found;
    for (QMdiSubWindow* frame : main.Children().Windows()) {
        auto* window = qobject_cast<TFCollection*>(frame->widget());
        if (window != nullptr && window->CollectionId() == id) {
            found.emplace_back(frame, window);
        }
    }
    return found;
}

void ShowWhenTipsAllow(TFMain& main, const Tip& tip) {
    if (main.Windows().tips != nullptr) {
        main.Windows().tips->ShowUnlessHidden(tip);
    }
}

void AddMembersAndTotals(TFMain& main, std::int64_t collectionId, const catalog::IdList& ids) {
    catalog::Catalog& catalog = main.App().Catalog();
    collections::AddCollectionMembers(catalog.Engine(), collectionId, ids);
    collections::StoreCollectionTotals(catalog, collectionId,
                                       catalog::TotalsOfMembers(catalog.Engine(), collectionId));
}

}  // namespace

TFCollection* OpenCollection(TFMain& main, std::int64_t collectionId, bool writeTotals,
                             bool refreshIfOpen) {
    const auto open = CollectionWindows(main, collectionId);
    if (!open.empty()) {
        auto [frame, window] = open.back();
        main.Children().BringToFront(frame);
        if (refreshIfOpen) {
            window->LoadMembers(true);
        }
        return window;
    }
    auto* window = new TFCollection(main, collectionId, writeTotals);
    main.Children().Add(window, ChildKind::Collection);
    ShowWhenTipsAllow(main, CollectionOpeningTip());
    return window;
}

void CloseCollectionWindows(TFMain& main, std::int64_t collectionId) {
    for (auto [frame, window] : CollectionWindows(main, collectionId)) {
        frame->close();
    }
}

std::optional<std::int64_t> CreateCollection(TFMain& main, bool openWindow) {
    const auto choice = NewCollectionDialogOf(main).Ask(QObject::tr("New collection"),
                                                        QObject::tr("My Collection"));
    if (!choice) {
        return std::nullopt;
    }
    const std::int64_t id =
        collections::CreateCollection(main.App().Catalog(), choice->name, choice->sortable);
    if (openWindow) {
        TFCollection* window = OpenCollection(main, id, false, false);
        if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
            ArrangeBesideBrowse(main, *frame);
        }
    }
    return id;
}

void ArrangeBesideBrowse(TFMain& main, QMdiSubWindow& collection) {
    QMdiArea& area = main.Area();
    if (QMdiSubWindow* active = area.activeSubWindow();
        active != nullptr && (active->isMaximized() || active->isMinimized())) {
        active->showNormal();
    }
    const int width = area.viewport()->width() / 2;
    const int height = area.viewport()->height() - kBottomGap;
    collection.setGeometry(width - kOverlap, 0, width, height);

    ChildWindows& children = main.Children();
    QMdiSubWindow* search = children.FindOpen(ChildKind::Search);
    main.OpenSingle(ChildKind::Browse);
    QMdiSubWindow* browse = children.FindOpen(ChildKind::Browse);
    if (browse != nullptr) {
        browse->showNormal();
        browse->setGeometry(0, 0, width, search != nullptr ? height / 2 : height);
    }
    if (search != nullptr) {
        search->showNormal();
        search->setGeometry(0, height / 2, width, height / 2);
        children.BringToFront(search);
    }
    if (browse != nullptr) {
        children.BringToFront(browse);
    }
    children.BringToFront(&collection);
}

void OpenPlaylistWindow(TFMain& main, const QString& file, bool create) {
    const std::string path = PathFromQtName(file);
    auto* window = new TFPlayList(main, path);
    if (!(create ? window->Create() : window->Open())) {
        if (!create) {
            main.App().User().ShowError(collections::CouldNotOpen(path));
        }
        delete window;
        return;
    }
    main.Children().Add(window, ChildKind::Playlist);
    window->ShowHintUnlessHidden();
}

void AddCollectionWindows(WindowProviders& providers,
                          std::shared_ptr<collections::PlayerLauncher> defaultApplication) {
    if (!defaultApplication) {
        defaultApplication = std::make_shared<DesktopApplicationLauncher>();
    }
    providers.collections = [](TFMain& main) -> QWidget* {
        auto* window = new TFCollections(main);
        // The tip follows once the window stands.
        QMetaObject::invokeMethod(window, &TFCollections::ShowHintUnlessHidden,
                                  Qt::QueuedConnection);
        return window;
    };
    providers.openCollection = [](TFMain& main, std::int64_t id) {
        OpenCollection(main, id, false, true);
    };
    providers.addToCollection = AddMembersAndTotals;
    providers.newCollection = [](TFMain& main) { return CreateCollection(main, false); };
    providers.openPlaylist = OpenPlaylistWindow;
    providers.playFiles = [defaultApplication](TFMain& main, const std::vector<std::string>& paths,
                                               bool enqueue) {
        PlayFiles(main, *defaultApplication, paths, enqueue);
    };
}

}  // namespace sonarchive::gui
