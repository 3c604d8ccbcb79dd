// The windows of cataloguing that the main window's commands open.
#pragma once

#include "gui/shell/child_window.h"

namespace sonarchive::gui {

// "Check archive" and "Re-read tags" (also offered at start after the file-date upgrade).
void AddCataloguingWindows(WindowProviders& providers);

}  // namespace sonarchive::gui
