// "Playlist "FILE"": one M3U file being edited. Every change (added, moved, removed or shuffled
// entries) is written to the file at once; there is no separate save. Entries come in through
// "Add files...", drops from the result lists and the desktop, and drags from other playlist
// windows; dragging inside the list reorders it.
#pragma once

#include <QTreeWidget>
#include <QWidget>
#include <random>
#include <string>
#include <vector>

#include "collections/playlist_document.h"
#include "gui/shell/child_window.h"

class QLabel;
class QMenu;

namespace sonarchive::gui {

class TFFindText;

// The list of entries: one "Filename" column, light text on black.
class PlaylistView : public QTreeWidget {
    Q_OBJECT
public:
    explicit PlaylistView(TFMain& main, QWidget* parent = nullptr);

    // Selected rows, top to bottom.
    std::vector<std::size_t> SelectedIndexes() const;
    void SelectRange(std::size_t first, std::size_t count);

signals:
    // Entries of this list dropped at `target` (past the last entry: at the end).
    void moveRequested(std::size_t target);
    // Entries of another playlist window dropped here.
    void copyRequested(std::vector<collections::PlaylistEntry> copies, std::size_t target);
    // Files from anywhere else.
    void filesDropped(std::vector<std::string> paths);
    void deleteRequested();
    void playRequested(bool enqueue);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    bool Accepts(const QMimeData& offered) const;

    TFMain& main_;
};

class TFPlayList : public QWidget, public ListWindow {
    Q_OBJECT
public:
    // `file` in the program's form; nothing is read before Open or Create.
    TFPlayList(TFMain& main, std::string file, QWidget* parent = nullptr);

    // Reads the file; false when it cannot be read.
    bool Open();
    // Makes the file with no entries; false (after telling the user) when it cannot be written.
    bool Create();

    const collections::PlaylistDocument& Document() const { return document_; }
    PlaylistView& View() { return *view_; }
    // Shows the brief help unless the user ticked it away (HINT_HIDE_PLAYLIST).
    void ShowHintUnlessHidden();

    // Adds paths (program form) at the end by their extensions, then saves.
    void AddPaths(const std::vector<std::string>& paths);
    void AddFilesFromDialog();
    void MoveSelectedTo(std::size_t target);
    void InsertCopies(const std::vector<collections::PlaylistEntry>& copies, std::size_t target);
    void DeleteSelected();
    void Randomize();
    void PlaySelected(bool enqueue);
    void PlayPlaylist();
    void BuildPopup(QMenu& menu);
    // Finds the text from the first entry, and on from the last hit.
    void FindFrom(const QString& text, std::size_t from);

    // The main window's commands.
    void SelectAllRows() override;
    void FindText() override;
    void FindNext() override;
    // A playlist has one column and no catalog rows: the field choice, the export and the
    // catalog ids do not apply to it.
    void ShowVisibleFieldsDialog() override {}
    void BuildViewColumnsMenu(QMenu&) override {}
    void ExportRows(bool) override {}
    catalog::IdList SelectedIds() override { return {}; }
    void PreviewCurrent(TFMiniPlayer& player) override;
    void OpenInPlayer(bool enqueue) override { PlaySelected(enqueue); }

private:
    void BuildToolBar();
    void ShowEntries();
    // Writes the file; tells the user when that fails.
    bool Save();
    void PreviewSelection();
    std::vector<std::string> SelectedPaths() const;

    TFMain& main_;
    collections::PlaylistDocument document_;
    PlaylistView* view_;
    TFFindText* findDialog_ = nullptr;
    QString findText_;
    std::optional<std::size_t> found_;
    std::mt19937 random_{std::random_device{}()};
};

}  // namespace sonarchive::gui
