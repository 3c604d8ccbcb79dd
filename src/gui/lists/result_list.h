// The result list: the multi-column tree in which the browse, search, collection and duplicate
// windows show catalog rows. One class for all of them, built with the options of its window:
//
//   ResultListOptions options;
//   options.layout = lists::kLayoutArtist;  // first columns Artist, Album, Title
//   options.positionColumn = true;          // "POS", for collection members
//   options.checkBoxes = true;              // a box before every file row
//   options.collectionId = id;              // the rows are members of this collection
//   options.ascendingOnlySort = true;       // header clicks never reverse the order
//   options.groupColours = true;            // duplicate groups in alternating colours
//   auto* list = new TResultList(main, options, parent);
//   list->Fill(statement);                  // or SetGroups(...) with SetGroupStatement(...)
//
// What it does by itself: the columns with the user's FIELD_ choice, captions, widths and
// drive-type icons; the light green and light red of reachable and unreachable rows, redone
// with the drive letters whenever the main window's drives change; movable headers and
// sorting by a header click; "Find text" and "Find next"; "Set visible fields" and the
// "View columns" menu; expanding group rows (their files are loaded) and collapsing them
// (their files go). What it asks its window to do, by signals: the keys Delete, Shift+Delete
// and F11, a double-click on a file row, the context menu, a change of the current row, and
// files dropped on it from other programs (drops of its own drags are ignored).
#pragma once

#include <QTreeView>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/lists/result_list_model.h"
#include "lists/result_columns.h"
#include "lists/selected_rows.h"

class QMenu;
class QMimeData;

namespace sonarchive::gui {

class TFFindText;
class TFMain;

struct ResultListOptions {
    int layout = lists::kLayoutPlain;  // -1 plain, 1 artist, 3 album, 8 genre
    bool positionColumn = false;       // the "POS" column of collection lists
    bool checkBoxes = false;           // an unticked check box before every file row
    std::int32_t collectionId = -1;    // the collection whose members are listed, else -1
    bool ascendingOnlySort = false;    // a header click always sorts ascending
    bool groupColours = false;         // rows coloured by duplicate group, not reachability
};

class TResultList : public QTreeView {
    Q_OBJECT
public:
    TResultList(TFMain& main, const ResultListOptions& options, QWidget* parent = nullptr);
    ~TResultList() override;

    TFMain& Main() { return main_; }
    const ResultListOptions& Options() const { return options_; }
    ResultListModel& Rows() { return *model_; }
    const ResultListModel& Rows() const { return *model_; }
    const lists::ResultColumns& Columns() const { return model_->Columns(); }

    // Builds the columns of a layout anew from the stored FIELD_ values; every row goes.
    void BuildColumns(int layout);
    void SetColumnVisible(int section, bool visible);

    // Appends one file row per row of the statement (the busy cursor shows meanwhile);
    // answers how many.
    std::size_t Fill(const std::string& statement);
    // The same for several statements, one after the other (ids 50 at a time).
    std::size_t Fill(const std::vector<std::string>& statements);
    // Replaces every row by group rows; expanding one runs the statement the function gives
    // for it.
    void SetGroups(std::vector<GroupRow> groups);
    void SetGroupStatement(std::function<std::string(const GroupRow&)> statement);
    // Collapses and expands a group row, which reads its files again.
    void ReloadGroup(const QModelIndex& group);
    void ClearRows();

    // Colours every row and writes its drive letter, as the drives and hosts are now.
    void MarkAvailabilityAll();
    // A click on the header of that column: sorts ascending, or reverses a column sorted
    // ascending (always ascending with the ascending-only option).
    void SortByColumn(int section);

    // "Find text": asks for a text and selects the first row holding it; "Find next" goes on
    // from the row found last. Neither wraps around; a miss changes nothing.
    void FindText();
    void FindNext();
    void FindFrom(const QString& text, int after);

    // "Set visible fields", and the "View columns" menu (a change there lasts as long as the
    // window).
    void ShowVisibleFieldsDialog();
    void BuildViewColumnsMenu(QMenu& menu);

    // The row with the focus, and the selected rows in list order (indexes of the first
    // column).
    QModelIndex FocusedRow() const;
    std::vector<QModelIndex> SelectedRows() const;
    const catalog::TMainDataRec* FocusedRecord() const;
    // The core's references of rows: a group row by its grouping and key, a file row by its
    // id, serial and stored path.
    lists::ListRowRef RowRef(const QModelIndex& row) const;
    std::vector<lists::ListRowRef> SelectedRowRefs() const;
    // Where a file row's file can be opened now; empty for group rows and unreachable files.
    std::string FullPath(const QModelIndex& row) const;

    // What a drag of the selection carries: the files that can be opened now (a group row
    // gives every file of its group), as file URLs; null when there is none.
    std::unique_ptr<QMimeData> DragData() const;

    // The longest text of a column over every row (section 0 is the main text).
    std::size_t LongestText(int section) const;

signals:
    void deleteRequested(bool fromDisk);
    void editTagsRequested();
    void playRequested();
    void popupRequested(const QPoint& globalPosition);
    void currentRowChanged();
    // Files dropped on the list from other programs (paths as the program holds them).
    void filesDropped(const std::vector<std::string>& paths);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    // While the drag runs the main window knows this list as its source.
    void startDrag(Qt::DropActions supportedActions) override;

private:
    void ApplyColumnLayout();
    void FitAutomaticColumns();
    bool AcceptsDrop(const QMimeData& offered) const;
    void Expand(const QModelIndex& group);
    void Collapse(const QModelIndex& group);
    void SelectFound(int position);

    TFMain& main_;
    ResultListOptions options_;
    ResultListModel* model_;
    std::function<std::string(const GroupRow&)> groupStatement_;
    TFFindText* findDialog_ = nullptr;
    QString findText_;
    int findPosition_ = -1;
    bool widthsFitted_ = false;
};

}  // namespace sonarchive::gui
