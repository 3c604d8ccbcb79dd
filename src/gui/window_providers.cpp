#include "gui/window_providers.h"

#include "gui/cataloguing/cataloguing_windows.h"
#include "gui/collections/collection_windows.h"
#include "gui/lists/list_windows.h"
#include "gui/organize/organize_windows.h"
#include "gui/reports/report_windows.h"
#include "gui/tags/tag_windows.h"

namespace sonarchive::gui {

WindowProviders AllWindowProviders() {
    WindowProviders providers;
    // Each part of the program adds its windows here, one call per part.
    AddCataloguingWindows(providers);
    AddCollectionWindows(providers);
    AddListWindows(providers);
    AddOrganizeWindows(providers);
    AddReportWindows(providers);
    AddTagWindows(providers);
    return providers;
}

}  // namespace sonarchive::gui
