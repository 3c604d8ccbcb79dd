#include "gui/lists/list_windows.h"

#include <QMdiSubWindow>

#include "gui/cataloguing/add_files_dialog.h"
#include "gui/lists/browse_window.h"
#include "gui/lists/search_window.h"
#include "gui/shell/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/main_window.h"

namespace sonarchive::gui {
namespace {

TFSearch* OpenAddWindow(TFMain& main, AddMode mode) {
    auto* window = new TFSearch(main, mode);
    QMdiSubWindow* frame = main.Children().Add(window, ChildKind::AddFiles);
    frame->resize(frame->width(), TFSearch::kAddModeHeight);
    return window;
}

void AddFiles(TFMain& main) {
    const AddFilesChoice choice = AddFilesDialogOf(main).Choose();
    if (choice.mode == 0) {
        return;
    }
    if (choice.allDrives) {
        OpenAddWindow(main, AddMode::AllDrives)->AddAllDrives(choice.masks);
    } else {
        OpenAddWindow(main, AddMode::Folder)->AddFolder(choice);
    }
}

void ApplyHistoryEntry(TFMain& main, std::size_t entry) {
    const auto& entries = main.App().History().Entries();
    if (entry >= entries.size()) {
        return;
    }
    main.OpenSingle(ChildKind::Search);
    QMdiSubWindow* window = main.Children().FindOpen(ChildKind::Search);
    if (auto* search = window != nullptr ? qobject_cast<TFSearch*>(window->widget()) : nullptr) {
        search->ApplyHistoryEntry(entries[entry]);
    }
}

}  // namespace

TFSelDir2& AddFilesDialogOf(TFMain& main) {
    if (auto* open = main.findChild<TFSelDir2*>(QString(), Qt::FindDirectChildrenOnly)) {
        return *open;
    }
    auto* dialog =
        new TFSelDir2(main.App().Registry(), main.Drives().PathRules(), main.Windows().help, &main);
    QObject::connect(&main, &TFMain::closed, dialog, &TFSelDir2::SaveChoices);
    return *dialog;
}

void AddListWindows(WindowProviders& providers) {
    providers.browse = [](TFMain& main) -> QWidget* { return new TFBrowse(main); };
    providers.search = [](TFMain& main) -> QWidget* { return new TFSearch(main, AddMode::Search); };
    providers.addFiles = AddFiles;
    providers.addFromAllDrives = [](TFMain& main) {
        OpenAddWindow(main, AddMode::AllDrives)->AddAllDrives(AddFilesDialogOf(main).Masks());
    };
    providers.addDroppedFiles = [](TFMain& main, const std::vector<std::string>& paths) {
        OpenAddWindow(main, AddMode::Dropped)->AddDropped(paths);
    };
    providers.applyHistoryEntry = ApplyHistoryEntry;
}

}  // namespace sonarchive::gui
