// The windows of file organisation that the lists and the main window's commands open.
#pragma once

#include "gui/shell/child_window.h"

namespace sonarchive::gui {

// "Rename files (selected items)..." and "File &Organizer".
void AddOrganizeWindows(WindowProviders& providers);

}  // namespace sonarchive::gui
