#include "gui/reports/report_windows.h"

#include "gui/lists/report_view.h"
#include "gui/reports/export_dialog.h"
#include "gui/reports/summary_window.h"
#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"

namespace sonarchive::gui {

void AddReportWindows(WindowProviders& providers) {
    providers.summary = [](TFMain& main) -> QWidget* { return new TFSummary(main); };
    providers.exportRows = [](TFMain& main, ListWindow& source, bool selectionOnly) {
        // A list without catalog rows behind it (a playlist) has nothing to report.
        if (const ReportView* view = ReportOf(source)) {
            TFExport dialog(main.App().User(), *view, selectionOnly, &main);
            dialog.exec();
        }
    };
}

}  // namespace sonarchive::gui
