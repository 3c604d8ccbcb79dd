#include "gui/shell/main_menus.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>

namespace sonarchive::gui {
namespace {

// The desktop theme's icon, else the program's own.
QIcon ThemeIcon(const char* name, const char* bundled) {
    return QIcon::fromTheme(QString::fromLatin1(name),
                            QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(bundled))));
}

QAction* Item(QMenu& menu, const QString& text, const char* name,
              const QKeySequence& shortcut = {}) {
    QAction* action = menu.addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

// A command that also stands on the tool bar: its picture and its hint.
QAction* ForToolBar(QAction* action, const char* themeIcon, const char* bundledIcon,
                    const QString& hint) {
    action->setIcon(ThemeIcon(themeIcon, bundledIcon));
    SetHint(*action, hint);
    return action;
}

// A command of the tool bar without a menu item; its hint is its text.
QAction* ToolBarOnly(QMainWindow& window, const QString& text, const char* name,
                     const char* themeIcon, const char* bundledIcon) {
    auto* action = new QAction(text, &window);
    action->setObjectName(QString::fromLatin1(name));
    return ForToolBar(action, themeIcon, bundledIcon, text);
}

// A command of the window that has no menu item, only a shortcut.
QAction* Hidden(QMainWindow& window, const QString& text, const char* name,
                const QKeySequence& shortcut) {
    auto* action = new QAction(text, &window);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    window.addAction(action);
    return action;
}

void BuildFileMenu(QMenu& menu, MainActions& a) {
    QMenu* exportMenu = menu.addMenu(QObject::tr("Export"));
    exportMenu->setObjectName(QStringLiteral("MExport"));
    a.exportWindow = Item(*exportMenu, QObject::tr("&Window"), "actExportWindow");
    a.exportSelection = Item(*exportMenu, QObject::tr("&Selection"), "actExportSelection");
    a.preferences = Item(menu, QObject::tr("Preferences..."), "actPreferences");
    menu.addSeparator();
    a.exit = Item(menu, QObject::tr("E&xit"), "actExit");
}

void BuildEditMenu(QMenu& menu, MainActions& a) {
    a.cut = Item(menu, QObject::tr("Cu&t"), "actCut", QKeySequence(Qt::CTRL | Qt::Key_X));
    a.copy = Item(menu, QObject::tr("&Copy"), "actCopy", QKeySequence(Qt::CTRL | Qt::Key_C));
    a.paste = Item(menu, QObject::tr("&Paste"), "actPaste", QKeySequence(Qt::CTRL | Qt::Key_V));
    menu.addSeparator();
    a.selectAll =
        Item(menu, QObject::tr("Select all"), "actSelectAll", QKeySequence(Qt::CTRL | Qt::Key_A));
    a.find =
        Item(menu, QObject::tr("Find (Ctrl-f)"), "actFind", QKeySequence(Qt::CTRL | Qt::Key_F));
    a.findNext = Item(menu, QObject::tr("Find &Next"), "actFindNext", QKeySequence(Qt::Key_F3));
}

void BuildArchiveMenu(QMenu& menu, MainActions& a) {
    a.addFiles = ForToolBar(
        Item(menu, QObject::tr("&Search for and add MP3 files to the archive"), "actAddFiles"),
        "list-add", "add-files", QObject::tr("Search for and add MP3 files to the archive"));
    a.browse = ForToolBar(Item(menu, QObject::tr("&Browse MP3 archive"), "actBrowse"),
                          "folder-open", "browse", QObject::tr("Browse the MP3 archive"));
    a.search = ForToolBar(Item(menu, QObject::tr("&Search in MP3 archive"), "actSearch"),
                          "edit-find", "search", QObject::tr("Search the MP3 archive"));
    menu.addSeparator();
    a.manageCollections = Item(menu, QObject::tr("Manage &collections..."), "actCollections");
    SetHint(*a.manageCollections, QObject::tr("Manage collections"));
}

void BuildToolsMenu(QMenu& menu, MainActions& a) {
    a.summary = Item(menu, QObject::tr("&Summary"), "actSummary");
    a.playlistMenu = menu.addMenu(QObject::tr("&Playlist"));
    a.playlistMenu->setObjectName(QStringLiteral("MPlaylist"));
    a.newPlaylist = Item(*a.playlistMenu, QObject::tr("&New playlist"), "actNewPlaylist");
    a.openPlaylist = Item(*a.playlistMenu, QObject::tr("&Open playlist"), "actOpenPlaylist");
    QMenu* maintenance = menu.addMenu(QObject::tr("&Maintenance"));
    maintenance->setObjectName(QStringLiteral("MMaintenance"));
    a.checkArchive = Item(*maintenance, QObject::tr("&Check archive"), "actCheckArchive");
    a.rereadTags = Item(*maintenance, QObject::tr("&Re-read tags"), "actRereadTags");
    maintenance->addSeparator();
    a.packDatabase = Item(*maintenance, QObject::tr("&Pack database"), "actPackDatabase");
    a.emptyDatabase = Item(*maintenance, QObject::tr("&Empty database"), "actEmptyDatabase");
    a.fileOrganizer = Item(menu, QObject::tr("File &Organizer"), "actFileOrganizer");
    a.findDuplicates = Item(menu, QObject::tr("Find duplicates"), "actFindDuplicates");
    SetHint(*a.findDuplicates, QObject::tr("Search for duplicate files"));
}

void BuildWindowMenu(QMenu& menu, MainActions& a) {
    a.windowMenu = &menu;
    a.cascade = ForToolBar(Item(menu, QObject::tr("&Cascade"), "actCascade"), "window-cascade",
                           "cascade", QObject::tr("Cascade"));
    a.tileHorizontally =
        ForToolBar(Item(menu, QObject::tr("Tile &Horizontally"), "actTileHorizontally"),
                   "view-split-top-bottom", "tile-horizontal", QObject::tr("Tile Horizontally"));
    a.tileVertically =
        ForToolBar(Item(menu, QObject::tr("Tile &Vertically"), "actTileVertically"),
                   "view-split-left-right", "tile-vertical", QObject::tr("Tile Vertically"));
    a.minimizeAll = Item(menu, QObject::tr("&Minimize All"), "actMinimizeAll");
    a.arrangeAll = Item(menu, QObject::tr("&Arrange All"), "actArrangeAll");
    menu.addSeparator();
    a.closeAll = Item(menu, QObject::tr("Close &all"), "actCloseAll");
}

void BuildHelpMenu(QMenu& menu, MainActions& a) {
    a.contents = Item(menu, QObject::tr("&Contents"), "actContents");
    a.about = Item(menu, QObject::tr("&About..."), "actAbout");
}

}  // namespace

void SetHint(QAction& action, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action.setToolTip(bar < 0 ? hint : hint.left(bar));
    action.setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

MainActions BuildMainMenus(QMainWindow& window) {
    MainActions a{};
    QMenuBar* bar = window.menuBar();
    BuildFileMenu(*bar->addMenu(QObject::tr("&File")), a);
    BuildEditMenu(*bar->addMenu(QObject::tr("&Edit")), a);
    BuildArchiveMenu(*bar->addMenu(QObject::tr("&Archive")), a);
    BuildToolsMenu(*bar->addMenu(QObject::tr("Tools")), a);
    BuildWindowMenu(*bar->addMenu(QObject::tr("&Window")), a);
    BuildHelpMenu(*bar->addMenu(QObject::tr("&Help")), a);

    a.openInPlayer = Hidden(window, QObject::tr("Open in player"), "actOpenInPlayer",
                            QKeySequence(Qt::CTRL | Qt::Key_O));
    a.enqueue = Hidden(window, QObject::tr("Enqueue in player"), "actEnqueue",
                       QKeySequence(Qt::CTRL | Qt::Key_Q));
    a.setFields = ToolBarOnly(window, QObject::tr("Set fields to show"), "actSetFields",
                              "view-list-details", "fields");
    a.previewSongs = ToolBarOnly(window, QObject::tr("Preview songs"), "actPreviewSongs",
                                 "media-playback-start", "preview");
    a.previewSongs->setCheckable(true);
    return a;
}

}  // namespace sonarchive::gui
