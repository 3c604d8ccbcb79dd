#include "gui/catalog_store/maintenance_commands.h"

#include <QCoreApplication>
#include <QEvent>

#include "catalog_store/maintenance.h"
#include "gui/shell/app_context.h"
#include "gui/shell/child_windows.h"

namespace sonarchive::gui {

void RunPackDatabase(AppContext& app, ChildWindows& children) {
    if (!app.User().AskYesNo(catalog::kPackQuestion)) {
        return;
    }
    children.CloseAll();
    // Closed windows are freed on the next pass of the event loop; their statements must be
    // gone before the file is packed.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    catalog::PackDatabase(app.Catalog(), app.User());
}

void RunEmptyDatabase(AppContext& app) {
    catalog::EmptyDatabase(app.Catalog(), app.User());
}

}  // namespace sonarchive::gui
