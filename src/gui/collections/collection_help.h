// The help topics and brief-help texts of the collection and playlist windows.
#pragma once

#include "gui/shell/tips_window.h"

namespace sonarchive::gui {

constexpr int kCollectionsHelpTopic = 20;
constexpr int kPlaylistHelpTopic = 9;

// Shown when a collection window opens.
Tip CollectionOpeningTip();
// Behind the collection window's "Add files..." button.
Tip CollectionAddFilesTip();
// Shown when the collections window opens.
Tip CollectionsTip();
// Shown when a playlist window opens, and behind its "Hint" button.
Tip PlaylistTip();

}  // namespace sonarchive::gui
