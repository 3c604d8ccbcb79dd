// "Collection - NAME": the members of one collection as a result list, with its totals. A
// collection that keeps positions always shows its own order, which the user changes by moving
// members up and down or by shuffling; a sortable one is sorted by header clicks. Files come in
// by drops from the other list windows; removing members leaves the files and their catalog
// rows alone.
#pragma once

#include <QString>
#include <cstdint>
#include <random>
#include <string>

#include "gui/lists/result_window.h"

class QLabel;

namespace sonarchive::gui {

class TFCollection : public ResultWindow {
    Q_OBJECT
public:
    // Reads the collection's name and kind and lists its members; with `writeTotals` the
    // totals are written back to the collection after this first load.
    TFCollection(TFMain& main, std::int64_t collectionId, bool writeTotals,
                 QWidget* parent = nullptr);

    std::int64_t CollectionId() const { return collectionId_; }
    const std::string& Name() const { return name_; }
    bool UsesPositions() const { return usesPositions_; }

    // Lists the members again in position order, then shows the totals (and writes them back
    // when asked).
    void LoadMembers(bool writeTotals);
    void ReloadRows() override { LoadMembers(false); }

    // The totals of the listed members; written back to the collection when asked.
    void UpdateTotals(bool writeBack);
    // Asks first (CONFIRM_DELETE_IF_IN_COLLECTIONS), then removes the selected members.
    void RemoveSelectedMembers();
    // Moves the selected members up or down by one as a block; in a sortable collection a
    // message line says why nothing moves.
    void MoveSelected(bool up);
    void RandomizePositions();
    // "Collection properties": the name and the kind.
    void EditProperties();
    // Asks, then deletes the collection and closes the window.
    void DeleteThisCollection();
    // Every reachable member, in list order, to the player.
    void PlayCollection();
    // Asks for a file, then writes the members the tag editor could open as a playlist.
    void SaveAsPlaylist();
    // Writes that playlist to the file (program form); false after telling the user why not.
    bool WritePlaylistFile(const std::string& file);

    void BuildPopup(QMenu& menu) override;

protected:
    void TakeDroppedFiles(const std::vector<std::string>& paths) override;
    void DeleteKeyPressed(bool withShift) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolButtons();
    void BuildTotalsPanel();
    void ApplyKind();
    void SortByPosition();
    void SavePositions();
    // The list window whose rows are being dragged onto this one; null for drags from
    // anywhere else, this window's own included.
    ListWindow* DropSourceWindow();

    std::int64_t collectionId_;
    std::string name_;
    bool usesPositions_ = true;
    QToolButton* randomize_ = nullptr;
    QLabel* files_ = nullptr;
    QLabel* totalSize_ = nullptr;
    QLabel* totalLength_ = nullptr;
    std::mt19937 random_{std::random_device{}()};
};

}  // namespace sonarchive::gui
