// The maintenance commands of the main window's "Tools" menu that work on the catalog file.
#pragma once

namespace sonarchive::gui {

class AppContext;
class ChildWindows;

// "&Pack database": asks first, closes every child window, then packs.
void RunPackDatabase(AppContext& app, ChildWindows& children);
// "&Empty database": asks twice, then deletes every row; the collections stay, empty.
void RunEmptyDatabase(AppContext& app);

}  // namespace sonarchive::gui
