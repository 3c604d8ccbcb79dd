#include "gui/shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextEdit>
#include <QVBoxLayout>

#include "collections/collection_list.h"
#include "collections/temp_playlists.h"
#include "gui/catalog_store/maintenance_commands.h"
#include "gui/shell/about_box.h"
#include "gui/shell/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/collections_box.h"
#include "gui/shell/engine_errors.h"
#include "gui/shell/file_drops.h"
#include "gui/shell/help_window.h"
#include "gui/shell/logo_area.h"
#include "gui/shell/mini_player.h"
#include "gui/shell/preferences_dialog.h"
#include "gui/shell/recent_playlists.h"
#include "gui/shell/screen_placement.h"
#include "gui/shell/task_bar.h"
#include "gui/shell/window_arrangement.h"

namespace sonarchive::gui {
namespace {

constexpr const char* kPlacementValue = "MAIN_WINDOW_PLACEMENT";

enum class Clipboard { Cut, Copy, Paste };

// The standard clipboard commands on the focused edit control, whatever kind it is.
void ClipboardCommand(QWidget* focus, Clipboard command) {
    if (auto* combo = qobject_cast<QComboBox*>(focus); combo != nullptr && combo->isEditable()) {
        focus = combo->lineEdit();
    }
    const auto apply = [command](auto* edit) {
        switch (command) {
            case Clipboard::Cut:
                edit->cut();
                break;
            case Clipboard::Copy:
                edit->copy();
                break;
            case Clipboard::Paste:
                edit->paste();
                break;
        }
    };
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        apply(line);
    } else if (auto* text = qobject_cast<QTextEdit*>(focus)) {
        apply(text);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus)) {
        apply(plain);
    }
}

// The kinds of window whose fields "Set fields to show" edits.
bool HasVisibleFields(std::optional<ChildKind> kind) {
    return kind == ChildKind::Browse || kind == ChildKind::Search || kind == ChildKind::AddFiles ||
           kind == ChildKind::Duplicates;
}

}  // namespace

TFMain::TFMain(AppContext& app, WindowProviders providers,
               std::shared_ptr<const platform::MountTable> mounts,
               std::shared_ptr<platform::HostProber> hostProber, QWidget* parent)
    : QMainWindow(parent),
      app_(app),
      providers_(std::move(providers)),
      drives_(new ShellDrives(std::move(mounts), std::move(hostProber), this)) {
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(QStringLiteral("Sonarchive"));
    actions_ = BuildMainMenus(*this);
    toolBar_ = BuildMainToolBar(*this, actions_);
    BuildClientArea();
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    ConnectFileAndEditCommands();
    ConnectArchiveAndToolsCommands();
    ConnectWindowCommands();
    ConnectToolBar();
    EnableProvidedCommands();
    drives_->WatchMountTable();
    setAcceptDrops(true);
    RestorePlacement();
}

TFMain::~TFMain() {
    if (catalogSubscription_ != 0 && app_.CatalogOpen()) {
        app_.Catalog().Events().Unsubscribe(catalogSubscription_);
    }
    collections::ClearTempPlaylists();
}

void TFMain::AttachWindows(const ShellWindows& windows) {
    windows_ = windows;
    if (windows_.miniPlayer != nullptr) {
        connect(windows_.miniPlayer, &TFMiniPlayer::closed, actions_.previewSongs,
                [this] { actions_.previewSongs->setChecked(false); });
    }
}

void TFMain::BuildClientArea() {
    auto* client = new QWidget(this);
    area_ = new LogoArea(client);
    taskBar_ = new TaskBar(*area_, client);
    children_ = new ChildWindows(*area_, *taskBar_, this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(area_, 1);
    layout->addWidget(taskBar_);
    setCentralWidget(client);
}

void TFMain::Run(const std::function<void()>& command) {
    ReportEngineErrors(app_.User(), command);
}

void TFMain::ConnectProvided(QAction* action, const std::function<void()>& command, bool provided) {
    action->setEnabled(provided);
    connect(action, &QAction::triggered, this, [this, command, provided] {
        if (provided) {
            Run(command);
        }
    });
}

void TFMain::ConnectFileAndEditCommands() {
    connect(actions_.preferences, &QAction::triggered, this, &TFMain::ShowPreferences);
    connect(actions_.exit, &QAction::triggered, this, &QWidget::close);
    connect(actions_.exportWindow, &QAction::triggered, this,
            [this] { ForActiveList([](ListWindow& list) { list.ExportRows(false); }); });
    connect(actions_.exportSelection, &QAction::triggered, this,
            [this] { ForActiveList([](ListWindow& list) { list.ExportRows(true); }); });

    connect(actions_.cut, &QAction::triggered, this,
            [] { ClipboardCommand(QApplication::focusWidget(), Clipboard::Cut); });
    connect(actions_.copy, &QAction::triggered, this,
            [] { ClipboardCommand(QApplication::focusWidget(), Clipboard::Copy); });
    connect(actions_.paste, &QAction::triggered, this,
            [] { ClipboardCommand(QApplication::focusWidget(), Clipboard::Paste); });
    connect(actions_.selectAll, &QAction::triggered, this,
            [this] { ForActiveList([](ListWindow& list) { list.SelectAllRows(); }); });
    connect(actions_.find, &QAction::triggered, this,
            [this] { ForActiveList([](ListWindow& list) { list.FindText(); }); });
    connect(actions_.findNext, &QAction::triggered, this,
            [this] { ForActiveList([](ListWindow& list) { list.FindNext(); }); });
    connect(actions_.openInPlayer, &QAction::triggered, this,
            [this] { ForActiveList([](ListWindow& list) { list.OpenInPlayer(false); }); });
    connect(actions_.enqueue, &QAction::triggered, this,
            [this] { ForActiveList([](ListWindow& list) { list.OpenInPlayer(true); }); });
}

void TFMain::ConnectArchiveAndToolsCommands() {
    const WindowProviders& p = providers_;
    ConnectProvided(
        actions_.addFiles, [this] { providers_.addFiles(*this); }, bool(p.addFiles));
    ConnectProvided(
        actions_.browse, [this] { OpenSingle(ChildKind::Browse); }, bool(p.browse));
    ConnectProvided(
        actions_.search, [this] { OpenSingle(ChildKind::Search); }, bool(p.search));
    ConnectProvided(
        actions_.manageCollections, [this] { OpenSingle(ChildKind::Collections); },
        bool(p.collections));
    ConnectProvided(
        actions_.summary, [this] { OpenSingle(ChildKind::Summary); }, bool(p.summary));
    ConnectProvided(
        actions_.findDuplicates, [this] { OpenSingle(ChildKind::Duplicates); }, bool(p.duplicates));
    ConnectProvided(
        actions_.newPlaylist, [this] { NewPlaylist(); }, bool(p.openPlaylist));
    ConnectProvided(
        actions_.openPlaylist, [this] { OpenPlaylist(); }, bool(p.openPlaylist));
    ConnectProvided(
        actions_.checkArchive, [this] { providers_.checkArchive(*this); }, bool(p.checkArchive));
    ConnectProvided(
        actions_.rereadTags, [this] { providers_.rereadTags(*this); }, bool(p.rereadTags));
    ConnectProvided(
        actions_.fileOrganizer,
        // A real run announces the rows it changed; the lists reload on that.
        [this] { providers_.fileOrganizer(*this, children_->ActiveListWindow()); },
        bool(p.fileOrganizer));
    ConnectProvided(
        actions_.packDatabase, [this] { RunPackDatabase(app_, *children_); }, true);
    ConnectProvided(
        actions_.emptyDatabase, [this] { RunEmptyDatabase(app_); }, true);
    connect(actions_.playlistMenu, &QMenu::aboutToShow, this, &TFMain::RebuildPlaylistMenu);
}

void TFMain::ConnectWindowCommands() {
    connect(actions_.cascade, &QAction::triggered, area_, &QMdiArea::cascadeSubWindows);
    connect(actions_.tileHorizontally, &QAction::triggered, this,
            [this] { TileHorizontally(*area_); });
    connect(actions_.tileVertically, &QAction::triggered, this, [this] { TileVertically(*area_); });
    connect(actions_.minimizeAll, &QAction::triggered, this, [this] { MinimizeAll(*area_); });
    connect(actions_.arrangeAll, &QAction::triggered, this, [this] { ArrangeIcons(*area_); });
    connect(actions_.closeAll, &QAction::triggered, children_, &ChildWindows::CloseAll);
    connect(actions_.windowMenu, &QMenu::aboutToShow, this, &TFMain::RebuildWindowMenu);
    connect(actions_.contents, &QAction::triggered, this, [this] {
        if (windows_.help != nullptr) {
            windows_.help->ShowContents();
        }
    });
    connect(actions_.about, &QAction::triggered, this, [this] {
        if (windows_.about != nullptr) {
            windows_.about->exec();
        }
    });
}

void TFMain::ConnectToolBar() {
    connect(toolBar_.historyMenu, &QMenu::aboutToShow, this, &TFMain::RebuildHistoryMenu);
    connect(toolBar_.fieldsMenu, &QMenu::aboutToShow, this, &TFMain::RebuildFieldsMenu);
    connect(actions_.setFields, &QAction::triggered, this, &TFMain::ShowFieldsDialog);
    connect(actions_.previewSongs, &QAction::toggled, this, &TFMain::SetPreviewing);
    connect(toolBar_.collections, &CollectionsBox::collectionChosen, this, [this](qint64 id) {
        if (providers_.openCollection) {
            Run([this, id] { providers_.openCollection(*this, id); });
        }
    });
}

void TFMain::EnableProvidedCommands() {
    const bool listWindows = providers_.browse || providers_.search || providers_.openCollection ||
                             providers_.duplicates;
    actions_.exportWindow->setEnabled(listWindows);
    actions_.exportSelection->setEnabled(listWindows);
}

void TFMain::ConnectCatalog() {
    catalogSubscription_ = app_.Catalog().Events().Subscribe([this](catalog::CatalogChange change) {
        QMetaObject::invokeMethod(this, [this, change] {
            if (change == catalog::CatalogChange::FileCountChanged) {
                Run([this] { RefreshFileCounter(); });
            } else if (change == catalog::CatalogChange::CollectionsChanged) {
                Run([this] { RefreshCollections(); });
            } else if (change == catalog::CatalogChange::RowsChanged) {
                ReloadListWindows();
            } else if (change == catalog::CatalogChange::PickListsStale) {
                app_.PickLists().MarkAllStale();
            }
        });
    });
}

void TFMain::RefreshFileCounter() {
    toolBar_.fileCounter->setText(tr("Files in archive: ") +
                                  QString::number(app_.Catalog().FileCount()));
}

void TFMain::RefreshCollections() {
    toolBar_.collections->Fill(collections::ListCollections(app_.Catalog().Engine()));
}

void TFMain::OpenSingle(ChildKind kind) {
    std::function<QWidget*(TFMain&)> provider;
    switch (kind) {
        case ChildKind::Browse:
            provider = providers_.browse;
            break;
        case ChildKind::Search:
            provider = providers_.search;
            break;
        case ChildKind::Collections:
            provider = providers_.collections;
            break;
        case ChildKind::Summary:
            provider = providers_.summary;
            break;
        case ChildKind::Duplicates:
            provider = providers_.duplicates;
            break;
        case ChildKind::AddFiles:
        case ChildKind::Collection:
        case ChildKind::Playlist:
            break;  // several of these may be open: their own commands make them
    }
    if (provider) {
        children_->ShowSingle(kind, [this, &provider] { return provider(*this); });
    }
}

void TFMain::ShowPreferences() {
    if (windows_.preferences != nullptr && windows_.preferences->Edit()) {
        app_.ReloadGeneralSettings();
    }
}

void TFMain::ForActiveList(const std::function<void(ListWindow&)>& command) {
    if (ListWindow* list = children_->ActiveListWindow()) {
        Run([&command, list] { command(*list); });
    }
}

void TFMain::ReloadListWindows(const ListWindow* except) {
    for (QMdiSubWindow* window : children_->Windows()) {
        auto* list = dynamic_cast<ListWindow*>(window->widget());
        if (list != nullptr && list != except) {
            Run([list] { list->ReloadRows(); });
        }
    }
}

void TFMain::ShowFieldsDialog() {
    if (HasVisibleFields(children_->ActiveKind())) {
        ForActiveList([](ListWindow& list) { list.ShowVisibleFieldsDialog(); });
    }
}

void TFMain::RebuildFieldsMenu() {
    toolBar_.fieldsMenu->clear();
    if (HasVisibleFields(children_->ActiveKind())) {
        ForActiveList(
            [this](ListWindow& list) { list.BuildViewColumnsMenu(*toolBar_.fieldsMenu); });
    }
}

void TFMain::RebuildHistoryMenu() {
    QMenu* menu = toolBar_.historyMenu;
    menu->clear();
    const QIcon icon = QIcon::fromTheme(QStringLiteral("document-open-recent"));
    const auto& entries = app_.History().Entries();
    for (const std::size_t index : app_.History().UsedEntries()) {
        QAction* item = menu->addAction(icon, QString::fromStdString(entries[index].Caption));
        item->setEnabled(bool(providers_.applyHistoryEntry));
        connect(item, &QAction::triggered, this, [this, index] {
            Run([this, index] { providers_.applyHistoryEntry(*this, index); });
        });
    }
}

void TFMain::RebuildWindowMenu() {
    for (QAction* action : windowListActions_) {
        actions_.windowMenu->removeAction(action);
        action->deleteLater();
    }
    windowListActions_.clear();
    const QList<QMdiSubWindow*> windows = children_->Windows();
    if (!windows.isEmpty()) {
        windowListActions_.push_back(actions_.windowMenu->addSeparator());
    }
    for (QMdiSubWindow* window : windows) {
        QAction* item = actions_.windowMenu->addAction(window->windowTitle());
        item->setCheckable(true);
        item->setChecked(window == area_->activeSubWindow());
        connect(item, &QAction::triggered, this,
                [this, window] { children_->BringToFront(window); });
        windowListActions_.push_back(item);
    }
}

void TFMain::RebuildPlaylistMenu() {
    for (QAction* action : recentPlaylistActions_) {
        actions_.playlistMenu->removeAction(action);
        action->deleteLater();
    }
    recentPlaylistActions_.clear();
    const QStringList files = RecentPlaylists(app_.Registry()).Files();
    if (!files.isEmpty()) {
        recentPlaylistActions_.push_back(actions_.playlistMenu->addSeparator());
    }
    for (const QString& file : files) {
        QAction* item = actions_.playlistMenu->addAction(file);
        item->setEnabled(bool(providers_.openPlaylist));
        connect(item, &QAction::triggered, this, [this, file] { OpenRecentPlaylist(file); });
        recentPlaylistActions_.push_back(item);
    }
}

void TFMain::OpenRecentPlaylist(const QString& file) {
    if (!QFileInfo(file).isFile()) {
        app_.User().ShowError("Couldn't open file (" + file.toStdString() + ")");
        return;
    }
    OpenPlaylistFile(file, false);
}

void TFMain::NewPlaylist() {
    const QString file = AskPlaylistFileToSave(*this, tr("New playlist"));
    if (!file.isEmpty()) {
        OpenPlaylistFile(file, true);
    }
}

void TFMain::OpenPlaylist() {
    const QString file =
        QFileDialog::getOpenFileName(this, tr("Open playlist"), QString(), PlaylistFileFilter());
    if (!file.isEmpty()) {
        OpenPlaylistFile(file, false);
    }
}

void TFMain::OpenPlaylistFile(const QString& file, bool create) {
    RecentPlaylists(app_.Registry()).Add(file);
    Run([this, &file, create] { providers_.openPlaylist(*this, file, create); });
}

void TFMain::SetPreviewing(bool on) {
    TFMiniPlayer* player = windows_.miniPlayer;
    if (player == nullptr) {
        return;
    }
    if (!on) {
        player->close();
        return;
    }
    player->show();
    ForActiveList([player](ListWindow& list) { list.PreviewCurrent(*player); });
}

bool TFMain::AcceptsDrop(const QMimeData& offered) const {
    // Rows dragged out of the program's own lists are already in the catalog.
    return dragSource_ == nullptr && providers_.addDroppedFiles && app_.CatalogOpen() &&
           OffersLocalFiles(offered);
}

void TFMain::dragEnterEvent(QDragEnterEvent* event) {
    if (AcceptsDrop(*event->mimeData())) {
        event->acceptProposedAction();
    }
}

void TFMain::dragMoveEvent(QDragMoveEvent* event) {
    if (AcceptsDrop(*event->mimeData())) {
        event->acceptProposedAction();
    }
}

void TFMain::dropEvent(QDropEvent* event) {
    if (!AcceptsDrop(*event->mimeData())) {
        return;
    }
    event->acceptProposedAction();
    const std::vector<std::string> paths = DroppedFilePaths(*event->mimeData());
    Run([this, &paths] {
        const std::vector<std::string> files = WithFolderFiles(drives_->Mounts(), paths);
        if (!files.empty()) {
            providers_.addDroppedFiles(*this, files);
        }
    });
}

void TFMain::closeEvent(QCloseEvent* event) {
    children_->CloseAll();
    app_.SaveSearchHistory();
    SavePlacement();
    if (windows_.miniPlayer != nullptr) {
        windows_.miniPlayer->close();
    }
    if (windows_.help != nullptr) {
        windows_.help->close();
    }
    QMainWindow::closeEvent(event);
    emit closed();
}

void TFMain::RestorePlacement() {
    const auto stored = app_.Registry().ReadRegBinary(kPlacementValue);
    if (stored && restoreGeometry(QByteArray::fromStdString(*stored))) {
        return;
    }
    const QRect available = AvailableScreen();
    resize(std::min(1100, available.width() * 9 / 10), std::min(760, available.height() * 9 / 10));
    CentreOnScreen(*this);
}

void TFMain::SavePlacement() {
    app_.Registry().WriteRegBinary(kPlacementValue, saveGeometry().toStdString());
}

}  // namespace sonarchive::gui
