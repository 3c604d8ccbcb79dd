// The main window's menu bar and the commands behind its items, tool bar and shortcuts.
#pragma once

#include <QString>

class QAction;
class QMainWindow;
class QMenu;

namespace sonarchive::gui {

struct MainActions {
    // "&File"
    QAction* exportWindow;
    QAction* exportSelection;
    QAction* preferences;
    QAction* exit;
    // "&Edit"
    QAction* cut;
    QAction* copy;
    QAction* paste;
    QAction* selectAll;
    QAction* find;
    QAction* findNext;
    // "&Archive"
    QAction* addFiles;
    QAction* browse;
    QAction* search;
    QAction* manageCollections;
    // "Tools"
    QAction* summary;
    QAction* newPlaylist;
    QAction* openPlaylist;
    QAction* checkArchive;
    QAction* rereadTags;
    QAction* packDatabase;
    QAction* emptyDatabase;
    QAction* fileOrganizer;
    QAction* findDuplicates;
    // "&Window"
    QAction* cascade;
    QAction* tileHorizontally;
    QAction* tileVertically;
    QAction* minimizeAll;
    QAction* arrangeAll;
    QAction* closeAll;
    // "&Help"
    QAction* contents;
    QAction* about;
    // Without menu items.
    QAction* openInPlayer;
    QAction* enqueue;
    QAction* setFields;
    QAction* previewSongs;
    // Menus whose items change while the program runs.
    QMenu* playlistMenu;
    QMenu* windowMenu;
};

// Builds the menu bar of the window and answers its commands.
MainActions BuildMainMenus(QMainWindow& window);

// Sets an action's hint: the part before "|" is its tool tip, the part after it is shown in
// the status bar (the whole text for both when there is no "|").
void SetHint(QAction& action, const QString& hint);

}  // namespace sonarchive::gui
