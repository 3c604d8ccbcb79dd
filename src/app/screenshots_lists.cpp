// Pictures of the browse window grouped by artist with one group open, of the search window
// with its advanced grid after a search, and of the folder dialog of "Add files".
#include <QComboBox>
#include <QMdiSubWindow>

#include "gui/lists/advanced_search_grid.h"
#include "gui/lists/browse_window.h"
#include "gui/lists/list_windows.h"
#include "gui/lists/search_window.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/main_window.h"
#include "gui/shell/program.h"
#include "screenshot_support.h"

namespace sonarchive::screenshots {
namespace {

template <typename Window>
Window* OpenWindow(gui::TFMain& main, gui::ChildKind kind) {
    main.OpenSingle(kind);
    QMdiSubWindow* frame = main.Children().FindOpen(kind);
    if (frame == nullptr) {
        return nullptr;
    }
    frame->resize(900, 420);
    return qobject_cast<Window*>(frame->widget());
}

bool ShootBrowse(gui::TFMain& main, const QDir& out) {
    auto* browse = OpenWindow<gui::TFBrowse>(main, gui::ChildKind::Browse);
    if (browse == nullptr) {
        return false;
    }
    browse->TopLevel().setCurrentIndex(0);  // by artist
    browse->RebuildBrowseTree();
    gui::TResultList& list = browse->List();
    list.expand(list.Rows().index(0, 0));
    const bool saved = Save(*browse->parentWidget(), out, QStringLiteral("browse"));
    browse->parentWidget()->close();
    return saved;
}

bool ShootAdvancedSearch(gui::TFMain& main, const QDir& out) {
    auto* search = OpenWindow<gui::TFSearch>(main, gui::ChildKind::Search);
    if (search == nullptr) {
        return false;
    }
    search->SetAdvanced(true, false);
    lists::SearchGrid grid;
    grid[0] = {"Genre", "Exact match", "Pop", "OR"};
    grid[1] = {"Year", ">", "2010", "AND"};
    search->AdvancedGrid().SetGrid(grid);
    search->AdvancedGrid().Validate();
    search->SearchButton1Click();
    const bool saved = Save(*search->parentWidget(), out, QStringLiteral("search-advanced"));
    search->parentWidget()->close();
    return saved;
}

}  // namespace

bool ShootListWindows(gui::Program& program, const QDir& out) {
    gui::TFMain& main = program.Main();
    bool saved = ShootBrowse(main, out);
    saved = ShootAdvancedSearch(main, out) && saved;
    ShootNextModal(out, QStringLiteral("add-files"), saved);
    gui::AddFilesDialogOf(main).Choose();
    return saved;
}

}  // namespace sonarchive::screenshots
