// The rows of a result list as Qt's views see them: file rows held compactly by the core's row
// store, with their cell texts made only when a view asks for them, and (in the browse window)
// group rows whose file rows are loaded while the group is expanded.
//
// The model's columns are the list's columns in their built order; the view may show them in
// another order (moved headers) or hide them. A sort is a permutation over the stored rows, so
// 200 000 rows sort and recolour without copying a record.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalog_store/engine.h"
#include "lists/date_format.h"
#include "lists/list_texts.h"
#include "lists/result_columns.h"
#include "lists/result_rows.h"
#include "lists/row_availability.h"

namespace sonarchive::gui {

// A group row of the browse window: what it shows, and the upper-cased value its files share.
struct GroupRow {
    std::string text;
    std::string key;
};

// A file row of the duplicate finder: the catalog row and the number of its group.
struct GroupedId {
    std::int64_t id = 0;
    int group = 0;
};

class ResultListModel : public QAbstractItemModel {
    Q_OBJECT
public:
    ResultListModel(const lists::DateFormat& dates, bool checkBoxes, QObject* parent = nullptr);

    // New columns; every row goes.
    void SetColumns(lists::ResultColumns columns);
    const lists::ResultColumns& Columns() const { return columns_; }
    void SetColumnVisible(int section, bool visible);

    // Appends a file row at the top level for each row of the query; answers how many. The
    // new rows are unmarked until the next MarkAvailability.
    std::size_t AppendFiles(catalog::Query& query, std::int32_t collectionId);
    // Replaces every row by these group rows, none of them expanded.
    void SetGroups(std::vector<GroupRow> groups);
    // Loads the file rows of the group row at that top-level position, marked as the pass
    // finds them; answers how many.
    std::size_t FillGroup(int groupRow, catalog::Query& query, lists::AvailabilityPass& pass);
    // Removes the file rows of the group row, as its collapse does.
    void EmptyGroup(int groupRow);
    void Clear();

    // Colours every row and sets its drive letter, as the drives and hosts are now.
    void MarkAvailability(lists::AvailabilityPass& pass);
    // From now on rows take the colour of their duplicate group (odd white, even light blue,
    // black text) instead of the colour of their reachability.
    void ColourByGroup() { groupColours_ = true; }
    // Puts the top-level file rows in the order of `rows` and gives each the group of its id;
    // rows whose id is not among them go last, in the order they had.
    void PlaceInGroups(const std::vector<GroupedId>& rows);

    // Sorts by the column at that section, expanded groups' files included. Group rows follow
    // their text when the first column is sorted and keep their order otherwise.
    void SortBySection(int section, bool ascending);
    int SortedSection() const { return sortSection_; }
    bool SortedAscending() const { return sortAscending_; }

    // What a row is: a group row, or a file row of a store.
    bool IsGroup(const QModelIndex& index) const;
    // The store and position of a file row; null for group rows and invalid indexes.
    const lists::ResultRows* RowsOf(const QModelIndex& index, std::size_t& position) const;
    lists::ResultRows* RowsOf(const QModelIndex& index, std::size_t& position);
    const catalog::TMainDataRec* Record(const QModelIndex& index) const;
    const GroupRow* Group(const QModelIndex& index) const;
    bool GroupLoaded(const QModelIndex& index) const;

    // The check box of a top-level file row.
    bool Checked(const QModelIndex& index) const;

    // Every row in list order: top-level rows, each followed by its loaded file rows.
    std::vector<QModelIndex> RowsInListOrder() const;
    // The texts of rows in list order, for finding and measuring.
    std::unique_ptr<lists::ListTexts> TextsInListOrder() const;

    // Removes top-level rows and file rows of groups; indexes of the first column.
    void RemoveRows(const std::vector<QModelIndex>& rows);
    // The cell texts of a file row changed (the tag editor wrote it back).
    void RowTextsChanged(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct GroupEntry {
        GroupRow row;
        std::unique_ptr<lists::ResultRows> files;  // while expanded
        std::vector<std::uint32_t> order;          // shown position -> store position
    };
    class ListOrderTexts;

    static constexpr quintptr kTopLevel = 0;
    // The group of a child index (its store position + 1 is the index's internal id).
    const GroupEntry* GroupOf(const QModelIndex& child) const;
    QString CellText(const lists::ResultRows& rows, std::size_t position, int section) const;
    QIcon DriveIcon(std::int32_t driveType) const;
    void SortFiles(const lists::ResultRows& rows, std::vector<std::uint32_t>& order) const;
    void SortGroups();
    void AnnounceAllRowsChanged(const QList<int>& roles);

    const lists::DateFormat& dates_;
    bool checkBoxes_;
    bool groupColours_ = false;
    lists::ResultColumns columns_;
    lists::ResultRows files_{false};
    std::vector<std::uint32_t> order_;   // shown position -> files_ position
    std::vector<std::uint8_t> checked_;  // by files_ position
    std::vector<GroupEntry> groups_;
    std::vector<std::uint32_t> groupOrder_;  // shown position -> groups_ position
    std::vector<std::uint32_t> groupShown_;  // groups_ position -> shown position
    int sortSection_ = -1;
    bool sortAscending_ = true;
    mutable std::array<QIcon, 7> driveIcons_;
};

}  // namespace sonarchive::gui
