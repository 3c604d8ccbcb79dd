// Pictures of the summary on the demonstration catalog and of the export dialog on a search
// window listing every song.
#include <QMdiSubWindow>

#include "catalog_store/sql_text.h"
#include "gui/lists/search_window.h"
#include "gui/reports/export_dialog.h"
#include "gui/reports/summary_window.h"
#include "gui/shell/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/main_window.h"
#include "gui/shell/program.h"
#include "screenshot_support.h"

namespace sonarchive::screenshots {

bool ShootReportWindows(gui::Program& program, const QDir& out) {
    gui::TFMain& main = program.Main();
    gui::TFSummary summary(main);
    summary.show();
    bool saved = Save(summary, out, QStringLiteral("summary"));
    summary.hide();

    main.OpenSingle(gui::ChildKind::Search);
    QMdiSubWindow* window = main.Children().FindOpen(gui::ChildKind::Search);
    auto* search = window != nullptr ? dynamic_cast<gui::TFSearch*>(window->widget()) : nullptr;
    if (search == nullptr) {
        return false;
    }
    search->List().Fill(catalog::StandardSelectAll());
    {
        gui::TFExport dialog(main.App().User(), *search, false, &main);
        dialog.show();
        saved = Save(dialog, out, QStringLiteral("export")) && saved;
    }
    window->close();
    return saved;
}

}  // namespace sonarchive::screenshots
