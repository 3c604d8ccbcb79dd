// The main window: the frame of the whole program. It holds the child windows with their task
// bar, the menus and the tool bar with the collections box and the file counter, and the
// state every window shares (drives, settings, search history).
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "gui/shell/child_window.h"
#include "gui/shell/main_menus.h"
#include "gui/shell/main_tool_bar.h"
#include "gui/shell/shell_drives.h"
#include "gui/shell/shell_windows.h"

class QLabel;
class QMimeData;

namespace sonarchive::gui {

class AppContext;
class ChildWindows;
class CollectionsBox;
class LogoArea;
class TaskBar;

class TFMain : public QMainWindow {
    Q_OBJECT
public:
    // The creation step: defaults and settings, the drive and host lists, the menus, the tool
    // bar and the task bar. Nothing touches the catalog before the window is shown.
    TFMain(AppContext& app, WindowProviders providers,
           std::shared_ptr<const platform::MountTable> mounts,
           std::shared_ptr<platform::HostProber> hostProber, QWidget* parent = nullptr);
    ~TFMain() override;

    // The windows made after this one at program start.
    void AttachWindows(const ShellWindows& windows);

    AppContext& App() { return app_; }
    const ShellWindows& Windows() const { return windows_; }
    const WindowProviders& Providers() const { return providers_; }
    ShellDrives& Drives() { return *drives_; }
    ChildWindows& Children() { return *children_; }
    TaskBar& Tasks() { return *taskBar_; }
    LogoArea& Area() { return *area_; }
    const MainActions& Actions() const { return actions_; }
    const MainToolBar& ToolBar() const { return toolBar_; }

    // From now on the file counter and the collections box follow the catalog's changes.
    void ConnectCatalog();
    // "Files in archive: " and the number of rows.
    void RefreshFileCounter();
    void RefreshCollections();

    // Brings the open window of a single-instance kind to the front or makes one.
    void OpenSingle(ChildKind kind);
    void ShowPreferences();
    void OpenRecentPlaylist(const QString& file);
    // Records the playlist among the recent ones and opens its window.
    void OpenPlaylistFile(const QString& file, bool create);

    // The list window a drag of catalog rows started from, while the drag runs; drops from it
    // are not files to add.
    QObject* DragSource() const { return dragSource_; }
    void SetDragSource(QObject* source) { dragSource_ = source; }
    // Every open list window reads its rows again (after a tool changed files).
    // Every list window reads its rows again, but `except`, which has just done so itself.
    void ReloadListWindows(const ListWindow* except = nullptr);

    // Runs a command; an engine error it does not handle ends in the default error box.
    void Run(const std::function<void()>& command);

signals:
    void closed();

protected:
    // Closes every child window and saves the search history.
    void closeEvent(QCloseEvent* event) override;
    // Files dropped from other programs are added to the catalog.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildClientArea();
    void ConnectFileAndEditCommands();
    void ConnectArchiveAndToolsCommands();
    void ConnectWindowCommands();
    void ConnectToolBar();
    void EnableProvidedCommands();
    void ConnectProvided(QAction* action, const std::function<void()>& command, bool provided);

    void RebuildWindowMenu();
    void RebuildPlaylistMenu();
    void RebuildHistoryMenu();
    void RebuildFieldsMenu();
    void ShowFieldsDialog();
    void ForActiveList(const std::function<void(ListWindow&)>& command);
    void SetPreviewing(bool on);
    void NewPlaylist();
    void OpenPlaylist();
    bool AcceptsDrop(const QMimeData& offered) const;

    void RestorePlacement();
    void SavePlacement();

    AppContext& app_;
    WindowProviders providers_;
    ShellWindows windows_;
    ShellDrives* drives_;
    LogoArea* area_ = nullptr;
    TaskBar* taskBar_ = nullptr;
    ChildWindows* children_ = nullptr;
    MainActions actions_{};
    MainToolBar toolBar_{};
    std::vector<QAction*> windowListActions_;
    std::vector<QAction*> recentPlaylistActions_;
    int catalogSubscription_ = 0;
    QPointer<QObject> dragSource_;
};

}  // namespace sonarchive::gui
