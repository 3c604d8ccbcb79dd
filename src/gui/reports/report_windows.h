// The windows of statistics and reports that the main window's commands open.
#pragma once

#include "gui/shell/child_window.h"

namespace sonarchive::gui {

// "&Summary", and the export of a list window's rows ("&Window", "&Selection").
void AddReportWindows(WindowProviders& providers);

}  // namespace sonarchive::gui
