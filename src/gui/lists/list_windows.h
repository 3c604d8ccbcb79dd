// The windows of the result lists: browse, search, the add modes and the search history.
#pragma once

#include "gui/shell/child_window.h"

namespace sonarchive::gui {

class TFSelDir2;

void AddListWindows(WindowProviders& providers);

// The add dialog of the run, made on first use; its choices are saved when the main window
// closes.
TFSelDir2& AddFilesDialogOf(TFMain& main);

}  // namespace sonarchive::gui
