// The main window's tool bar, left to right: adding files, browse, search with the search
// history, the fields to show, the window arrangement, "Preview songs", the collections box
// and the file counter.
#pragma once

class QLabel;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace sonarchive::gui {

class CollectionsBox;
struct MainActions;

struct MainToolBar {
    QToolBar* bar;
    QMenu* historyMenu;  // rebuilt each time it opens
    QMenu* fieldsMenu;   // the active list window's fields
    CollectionsBox* collections;
    QToolButton* manageCollections;  // "..."
    QLabel* fileCounter;             // PNoOfFiles
};

MainToolBar BuildMainToolBar(QMainWindow& window, const MainActions& actions);

}  // namespace sonarchive::gui
