// The child windows of the main window: their kinds, what the main window's commands ask of
// the active list window, and the windows that later parts of the program plug in.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalog_store/records.h"
#include "catalog_store/sql_text.h"

class QMenu;
class QWidget;

namespace sonarchive::gui {

class TFMain;
class TFMiniPlayer;

enum class ChildKind {
    Browse,
    Search,    // the plain search window
    AddFiles,  // a search window in one of its modes for adding files
    Collections,
    Collection,
    Playlist,
    Summary,
    Duplicates,
};

// Implemented by the windows that list files (browse, search, collection, duplicates and
// playlist windows); the main window's Edit, view-fields, preview and player commands reach
// the active one through it.
class ListWindow {
public:
    virtual ~ListWindow() = default;

    virtual void SelectAllRows() = 0;
    virtual void FindText() = 0;
    virtual void FindNext() = 0;
    // "Set fields to show" and its drop-down menu.
    virtual void ShowVisibleFieldsDialog() = 0;
    virtual void BuildViewColumnsMenu(QMenu& menu) = 0;
    // Plays the current row in the mini player ("Preview songs").
    virtual void PreviewCurrent(TFMiniPlayer& player) = 0;
    // Hands the selected files to the audio player ("Open in player"), or enqueues them.
    virtual void OpenInPlayer(bool enqueue) = 0;
    // "Export": every row, or the selected ones.
    virtual void ExportRows(bool selectionOnly) = 0;
    // The catalog ids of the selected rows in list order, each file once (a group row gives
    // every file of its group).
    virtual catalog::IdList SelectedIds() = 0;
    // Reads the listed rows again from the catalog, after a tool changed files.
    virtual void ReloadRows() {}
};

// What the tag editor wrote into a file, read back from it; the row's catalog entry already
// holds it.
struct EditedTags {
    int tagType = -1;  // 0 ID3v2, 1 Ogg tag, 2 ID3v1, 3 APE
    catalog::TCommentInfoType values;
};

// The windows and tools that other parts of the program provide. A command whose provider is
// empty stays disabled.
struct WindowProviders {
    // Single-instance children: each makes a new window's contents.
    std::function<QWidget*(TFMain&)> browse;
    std::function<QWidget*(TFMain&)> search;
    std::function<QWidget*(TFMain&)> collections;
    std::function<QWidget*(TFMain&)> summary;
    std::function<QWidget*(TFMain&)> duplicates;
    // Opens a collection's window, or refreshes the one already open.
    std::function<void(TFMain&, std::int64_t collectionId)> openCollection;
    // Opens a playlist window on a file; `create` makes the file first.
    std::function<void(TFMain&, const QString& file, bool create)> openPlaylist;
    // The folder dialog of "Search for and add MP3 files to the archive".
    std::function<void(TFMain&)> addFiles;
    // A search window adding the files of every local drive (the first-start offer).
    std::function<void(TFMain&)> addFromAllDrives;
    // A search window adding the files dropped on the main window (paths as the program holds
    // them).
    std::function<void(TFMain&, const std::vector<std::string>& paths)> addDroppedFiles;
    // Loads a search-history entry into the plain search window.
    std::function<void(TFMain&, std::size_t entry)> applyHistoryEntry;
    // The modal tools.
    std::function<void(TFMain&)> checkArchive;
    std::function<void(TFMain&)> rereadTags;
    // The disk organizer on the selection of a list window, or on none; true after a real run.
    std::function<bool(TFMain&, ListWindow* source)> fileOrganizer;

    // What the result lists hand to the tools of other parts of the program.
    // The tag editor, modal, on one file row; nothing when no tag was written.
    std::function<std::optional<EditedTags>(TFMain&, std::int64_t id, const std::string& fullPath)>
        editRowTags;
    // Mass tag update and renaming, modal, on rows by id; true when they changed files.
    std::function<bool(TFMain&, catalog::IdList ids)> massUpdate;
    std::function<bool(TFMain&, catalog::IdList ids)> renameFiles;
    // Adds the rows to a collection, in order.
    std::function<void(TFMain&, std::int64_t collectionId, catalog::IdList ids)> addToCollection;
    // The "New collection" dialog; the new collection's id, nothing when cancelled.
    std::function<std::optional<std::int64_t>(TFMain&)> newCollection;
    // Hands full paths to the audio player: one file directly, several as a playlist.
    std::function<void(TFMain&, const std::vector<std::string>& fullPaths, bool enqueue)> playFiles;
    // The export dialog on every row of a list window, or on its selection.
    std::function<void(TFMain&, ListWindow& source, bool selectionOnly)> exportRows;
};

}  // namespace sonarchive::gui
