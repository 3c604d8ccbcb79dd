// The collection and playlist windows as the rest of the program reaches them: the providers
// they fill in, opening a collection's window, creating a collection, and the arrangement of a
// new collection window beside the browse window.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "collections/player.h"
#include "gui/shell/child_window.h"

class QMdiSubWindow;

namespace sonarchive::gui {

class TFCollection;

// `defaultApplication` opens files with the desktop's default application; tests give a fake.
void AddCollectionWindows(WindowProviders& providers,
                          std::shared_ptr<collections::PlayerLauncher> defaultApplication = {});

// The open window of the collection is brought to the front (and reloaded with its totals
// written back when `refreshIfOpen`); otherwise a new one lists it, writing the totals back
// after its first load when `writeTotals`.
TFCollection* OpenCollection(TFMain& main, std::int64_t collectionId, bool writeTotals,
                             bool refreshIfOpen);
// Closes every window of the collection.
void CloseCollectionWindows(TFMain& main, std::int64_t collectionId);

// "New collection": asks for the name and kind and appends the collection; with `openWindow`
// its window opens beside the browse window. The new id, nothing when cancelled.
std::optional<std::int64_t> CreateCollection(TFMain& main, bool openWindow);

// The collection window takes the right half of the area, the browse window the left, and the
// foremost search window (when one is open) the lower left quarter.
void ArrangeBesideBrowse(TFMain& main, QMdiSubWindow& collection);

// Opens a playlist window on a file (a name as Qt gives it); a file that cannot be read, or a
// new one that cannot be made, opens no window.
void OpenPlaylistWindow(TFMain& main, const QString& file, bool create);

}  // namespace sonarchive::gui
