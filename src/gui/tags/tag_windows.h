// The tag editor and mass update as the result lists reach them.
#pragma once

#include "gui/shell/child_window.h"

namespace sonarchive::gui {

// Fills the hand-overs editRowTags and massUpdate.
void AddTagWindows(WindowProviders& providers);

}  // namespace sonarchive::gui
