// The windows of file organisation that the lists and the main window's commands open.
#pragma once

#include "gui/shell/child_window.h"

namespace sonarchive::gui {

// "Rename files (selected items)...", "File &Organizer" and "Find duplicates".
void AddOrganizeWindows(WindowProviders& providers);

}  // namespace sonarchive::gui
