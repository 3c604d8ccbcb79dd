#include "gui/lists/result_list_model.h"

#include <QBrush>
#include <QColor>
#include <algorithm>
#include <functional>
#include <map>
#include <numeric>
#include <unordered_map>

#include "gui/shell/drive_icons.h"
#include "lists/row_order.h"

namespace sonarchive::gui {
namespace {

QColor Colour(lists::Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

constexpr lists::Rgb kOddGroupColour{255, 255, 255};
constexpr lists::Rgb kEvenGroupColour{202, 228, 255};

Qt::Alignment AlignmentOf(lists::Alignment alignment) {
    return alignment == lists::Alignment::Center ? Qt::AlignCenter
                                                 : Qt::AlignLeft | Qt::AlignVCenter;
}

std::vector<std::uint32_t> Identity(std::size_t count, std::size_t from = 0) {
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), static_cast<std::uint32_t>(from));
    return order;
}

// shown position -> store position, turned around.
std::vector<std::uint32_t> Inverse(const std::vector<std::uint32_t>& order, std::size_t size) {
    std::vector<std::uint32_t> shown(size, 0);
    for (std::size_t i = 0; i < order.size(); ++i) {
        shown[order[i]] = static_cast<std::uint32_t>(i);
    }
    return shown;
}

// After store positions were removed, the remaining ones move up by the number removed before
// them. `removed` is sorted.
void RenumberAfterRemoval(std::vector<std::uint32_t>& order,
                          const std::vector<std::size_t>& removed) {
    for (std::uint32_t& position : order) {
        const auto before = std::lower_bound(removed.begin(), removed.end(), position);
        position -= static_cast<std::uint32_t>(before - removed.begin());
    }
}

}  // namespace

// The rows in list order as the core's find and measure see them.
class ResultListModel::ListOrderTexts final : public lists::ListTexts {
public:
    explicit ListOrderTexts(const ResultListModel& model) : model_(model) {
        for (const QModelIndex& index : model.RowsInListOrder()) {
            Entry entry;
            entry.group = model.Group(index);
            entry.rows = model.RowsOf(index, entry.position);
            entries_.push_back(entry);
        }
    }
    std::size_t RowCount() const override { return entries_.size(); }
    std::string MainText(std::size_t row) const override {
        const Entry& entry = entries_[row];
        return entry.rows != nullptr ? std::string(entry.rows->MainText(entry.position))
                                     : entry.group->text;
    }
    std::string ColumnText(std::size_t row, int code) const override {
        const Entry& entry = entries_[row];
        return entry.rows != nullptr
                   ? lists::CellText(*entry.rows, entry.position, code, model_.dates_)
                   : std::string();
    }

private:
    struct Entry {
        const GroupRow* group = nullptr;
        const lists::ResultRows* rows = nullptr;
        std::size_t position = 0;
    };
    const ResultListModel& model_;
    std::vector<Entry> entries_;
};

ResultListModel::ResultListModel(const lists::DateFormat& dates, bool checkBoxes, QObject* parent)
    : QAbstractItemModel(parent), dates_(dates), checkBoxes_(checkBoxes) {}

void ResultListModel::SetColumns(lists::ResultColumns columns) {
    beginResetModel();
    columns_ = std::move(columns);
    files_.Clear();
    order_.clear();
    checked_.clear();
    groups_.clear();
    groupOrder_.clear();
    groupShown_.clear();
    sortSection_ = -1;
    sortAscending_ = true;
    endResetModel();
}

void ResultListModel::SetColumnVisible(int section, bool visible) {
    if (section >= 0 && static_cast<std::size_t>(section) < columns_.size()) {
        columns_[static_cast<std::size_t>(section)].visible = visible;
    }
}

void ResultListModel::Clear() {
    SetColumns(std::move(columns_));
}

std::size_t ResultListModel::AppendFiles(catalog::Query& query, std::int32_t collectionId) {
    const std::size_t before = files_.Size();
    const std::size_t added = files_.Fill(query, collectionId);
    if (added == 0) {
        return 0;
    }
    const int first = static_cast<int>(order_.size());
    beginInsertRows({}, first, first + static_cast<int>(added) - 1);
    const std::vector<std::uint32_t> appended = Identity(added, before);
    order_.insert(order_.end(), appended.begin(), appended.end());
    checked_.resize(files_.Size(), 0);
    endInsertRows();
    return added;
}

void ResultListModel::SetGroups(std::vector<GroupRow> groups) {
    beginResetModel();
    files_.Clear();
    order_.clear();
    checked_.clear();
    groups_.clear();
    for (GroupRow& row : groups) {
        groups_.push_back(GroupEntry{std::move(row), nullptr, {}});
    }
    groupOrder_ = Identity(groups_.size());
    groupShown_ = groupOrder_;
    endResetModel();
}

std::size_t ResultListModel::FillGroup(int groupRow, catalog::Query& query,
                                       lists::AvailabilityPass& pass) {
    EmptyGroup(groupRow);
    const QModelIndex parent = index(groupRow, 0);
    GroupEntry& group = groups_[groupOrder_[static_cast<std::size_t>(groupRow)]];
    auto files = std::make_unique<lists::ResultRows>(true);
    const std::size_t added = files->Fill(query, -1);
    lists::MarkAvailabilityAll(*files, pass);
    if (added == 0) {
        group.files = std::move(files);
        return 0;
    }
    std::vector<std::uint32_t> order = Identity(added);
    SortFiles(*files, order);
    beginInsertRows(parent, 0, static_cast<int>(added) - 1);
    group.files = std::move(files);
    group.order = std::move(order);
    endInsertRows();
    return added;
}

void ResultListModel::EmptyGroup(int groupRow) {
    if (groupRow < 0 || static_cast<std::size_t>(groupRow) >= groupOrder_.size()) {
        return;
    }
    GroupEntry& group = groups_[groupOrder_[static_cast<std::size_t>(groupRow)]];
    if (!group.order.empty()) {
        beginRemoveRows(index(groupRow, 0), 0, static_cast<int>(group.order.size()) - 1);
        group.order.clear();
        group.files.reset();
        endRemoveRows();
    }
    group.files.reset();
}

void ResultListModel::MarkAvailability(lists::AvailabilityPass& pass) {
    lists::MarkAvailabilityAll(files_, pass);
    for (GroupEntry& group : groups_) {
        if (group.files) {
            lists::MarkAvailabilityAll(*group.files, pass);
        }
    }
    AnnounceAllRowsChanged({Qt::BackgroundRole, Qt::DisplayRole});
}

void ResultListModel::PlaceInGroups(const std::vector<GroupedId>& rows) {
    std::unordered_map<std::int64_t, std::pair<std::size_t, int>> wanted;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        wanted.emplace(rows[i].id, std::pair(i, rows[i].group));
    }
    beginResetModel();
    std::vector<std::size_t> rank(files_.Size(), rows.size());
    for (std::size_t position = 0; position < files_.Size(); ++position) {
        catalog::TMainDataRec& record = files_.Record(position);
        if (const auto found = wanted.find(record.Id); found != wanted.end()) {
            rank[position] = found->second.first;
            record.DuplicateGroup = found->second.second;
        }
    }
    std::stable_sort(order_.begin(), order_.end(),
                     [&rank](std::uint32_t a, std::uint32_t b) { return rank[a] < rank[b]; });
    sortSection_ = -1;
    endResetModel();
}

void ResultListModel::AnnounceAllRowsChanged(const QList<int>& roles) {
    const int lastColumn = columnCount() - 1;
    const int top = rowCount();
    if (top == 0 || lastColumn < 0) {
        return;
    }
    emit dataChanged(index(0, 0), index(top - 1, lastColumn), roles);
    for (int row = 0; row < top && !groups_.empty(); ++row) {
        const QModelIndex parent = index(row, 0);
        const int children = rowCount(parent);
        if (children > 0) {
            emit dataChanged(index(0, 0, parent), index(children - 1, lastColumn, parent), roles);
        }
    }
}

void ResultListModel::SortFiles(const lists::ResultRows& rows,
                                std::vector<std::uint32_t>& order) const {
    if (sortSection_ < 0 || order.empty()) {
        return;
    }
    const int code = columns_[static_cast<std::size_t>(sortSection_)].Code();
    order = lists::SortOrder(rows, code, sortSection_ == 0, sortAscending_, dates_);
}

void ResultListModel::SortGroups() {
    if (sortSection_ != 0) {
        return;  // group rows have no text but their first column's
    }
    const bool ascending = sortAscending_;
    std::stable_sort(groupOrder_.begin(), groupOrder_.end(),
                     [this, ascending](std::uint32_t a, std::uint32_t b) {
                         const int order =
                             lists::CompareCellTexts(lists::SortKind::Text, groups_[a].row.text,
                                                     groups_[b].row.text, dates_);
                         return ascending ? order < 0 : order > 0;
                     });
    groupShown_ = Inverse(groupOrder_, groups_.size());
}

void ResultListModel::SortBySection(int section, bool ascending) {
    if (section < 0 || section >= columnCount()) {
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Persistent indexes (the selection, the expanded groups) follow their rows.
    struct Held {
        quintptr parent;
        std::uint32_t stored;
        int column;
    };
    const QModelIndexList before = persistentIndexList();
    std::vector<Held> held;
    held.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) {
        const auto row = static_cast<std::size_t>(index.row());
        const quintptr parent = index.internalId();
        const std::uint32_t stored = parent != kTopLevel ? groups_[parent - 1].order[row]
                                     : groups_.empty()   ? order_[row]
                                                         : groupOrder_[row];
        held.push_back({parent, stored, index.column()});
    }

    sortSection_ = section;
    sortAscending_ = ascending;
    SortFiles(files_, order_);
    SortGroups();
    for (GroupEntry& group : groups_) {
        if (group.files) {
            SortFiles(*group.files, group.order);
        }
    }

    QModelIndexList after;
    after.reserve(before.size());
    std::map<quintptr, std::vector<std::uint32_t>> shown;  // by parent, made when first needed
    const auto shownOf = [this, &shown](quintptr parent) -> const std::vector<std::uint32_t>& {
        auto found = shown.find(parent);
        if (found == shown.end()) {
            const GroupEntry* group = parent != kTopLevel ? &groups_[parent - 1] : nullptr;
            found =
                shown
                    .emplace(parent, group != nullptr  ? Inverse(group->order, group->order.size())
                                     : groups_.empty() ? Inverse(order_, files_.Size())
                                                       : groupShown_)
                    .first;
        }
        return found->second;
    };
    for (const Held& h : held) {
        after.append(
            createIndex(static_cast<int>(shownOf(h.parent)[h.stored]), h.column, h.parent));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

const ResultListModel::GroupEntry* ResultListModel::GroupOf(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kTopLevel) {
        return nullptr;
    }
    return &groups_[child.internalId() - 1];
}

bool ResultListModel::IsGroup(const QModelIndex& index) const {
    return index.isValid() && index.internalId() == kTopLevel && !groups_.empty();
}

const lists::ResultRows* ResultListModel::RowsOf(const QModelIndex& index,
                                                 std::size_t& position) const {
    if (!index.isValid() || IsGroup(index)) {
        return nullptr;
    }
    const auto row = static_cast<std::size_t>(index.row());
    if (const GroupEntry* group = GroupOf(index)) {
        position = group->order[row];
        return group->files.get();
    }
    position = order_[row];
    return &files_;
}

lists::ResultRows* ResultListModel::RowsOf(const QModelIndex& index, std::size_t& position) {
    return const_cast<lists::ResultRows*>(std::as_const(*this).RowsOf(index, position));
}

const catalog::TMainDataRec* ResultListModel::Record(const QModelIndex& index) const {
    std::size_t position = 0;
    const lists::ResultRows* rows = RowsOf(index, position);
    return rows != nullptr ? &rows->Record(position) : nullptr;
}

const GroupRow* ResultListModel::Group(const QModelIndex& index) const {
    return IsGroup(index) ? &groups_[groupOrder_[static_cast<std::size_t>(index.row())]].row
                          : nullptr;
}

bool ResultListModel::GroupLoaded(const QModelIndex& index) const {
    return IsGroup(index) &&
           groups_[groupOrder_[static_cast<std::size_t>(index.row())]].files != nullptr;
}

bool ResultListModel::Checked(const QModelIndex& index) const {
    if (!checkBoxes_ || !index.isValid() || index.internalId() != kTopLevel || IsGroup(index)) {
        return false;
    }
    return checked_[order_[static_cast<std::size_t>(index.row())]] != 0;
}

std::vector<QModelIndex> ResultListModel::RowsInListOrder() const {
    std::vector<QModelIndex> rows;
    const int top = rowCount();
    rows.reserve(static_cast<std::size_t>(top));
    for (int row = 0; row < top; ++row) {
        const QModelIndex item = index(row, 0);
        rows.push_back(item);
        const int children = rowCount(item);
        for (int child = 0; child < children; ++child) {
            rows.push_back(index(child, 0, item));
        }
    }
    return rows;
}

std::unique_ptr<lists::ListTexts> ResultListModel::TextsInListOrder() const {
    return std::make_unique<ListOrderTexts>(*this);
}

namespace {

// Removes the rows at these shown positions from `order`, in runs the view is told about;
// answers the store positions they held, sorted.
std::vector<std::size_t> TakeShownRows(std::vector<std::uint32_t>& order, std::vector<int> shown,
                                       const std::function<void(int, int)>& begin,
                                       const std::function<void()>& end) {
    std::sort(shown.begin(), shown.end());
    shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
    std::vector<std::size_t> stored;
    for (auto last = shown.rbegin(); last != shown.rend();) {
        auto first = last;
        while (std::next(first) != shown.rend() && *std::next(first) == *first - 1) {
            ++first;
        }
        begin(*first, *last);
        for (int row = *first; row <= *last; ++row) {
            stored.push_back(order[static_cast<std::size_t>(row)]);
        }
        order.erase(order.begin() + *first, order.begin() + *last + 1);
        end();
        last = std::next(first);
    }
    std::sort(stored.begin(), stored.end());
    return stored;
}

}  // namespace

void ResultListModel::RemoveRows(const std::vector<QModelIndex>& rows) {
    std::vector<int> topShown;
    std::map<quintptr, std::vector<int>> childShown;
    for (const QModelIndex& row : rows) {
        if (!row.isValid()) {
            continue;
        }
        if (row.internalId() == kTopLevel) {
            topShown.push_back(row.row());
        } else {
            childShown[row.internalId()].push_back(row.row());
        }
    }
    for (auto& [id, shown] : childShown) {
        GroupEntry& group = groups_[id - 1];
        const QModelIndex parent = index(static_cast<int>(groupShown_[id - 1]), 0);
        const std::vector<std::size_t> stored = TakeShownRows(
            group.order, shown,
            [this, &parent](int first, int last) { beginRemoveRows(parent, first, last); },
            [this] { endRemoveRows(); });
        group.files->Remove(stored);
        RenumberAfterRemoval(group.order, stored);
    }
    const auto begin = [this](int first, int last) { beginRemoveRows({}, first, last); };
    const auto end = [this] { endRemoveRows(); };
    if (groups_.empty()) {
        const std::vector<std::size_t> stored = TakeShownRows(order_, topShown, begin, end);
        files_.Remove(stored);
        for (auto it = stored.rbegin(); it != stored.rend(); ++it) {
            checked_.erase(checked_.begin() + static_cast<std::ptrdiff_t>(*it));
        }
        RenumberAfterRemoval(order_, stored);
        return;
    }
    // A removed group keeps its place in the store, so the indexes of the others stay valid.
    for (const std::size_t stored : TakeShownRows(groupOrder_, topShown, begin, end)) {
        groups_[stored].files.reset();
        groups_[stored].order.clear();
    }
    groupShown_ = Inverse(groupOrder_, groups_.size());
}

void ResultListModel::RowTextsChanged(const QModelIndex& index) {
    if (index.isValid()) {
        emit dataChanged(this->index(index.row(), 0, index.parent()),
                         this->index(index.row(), columnCount() - 1, index.parent()));
    }
}

QModelIndex ResultListModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= columnCount() || row >= rowCount(parent)) {
        return {};
    }
    if (!parent.isValid()) {
        return createIndex(row, column, kTopLevel);
    }
    const std::uint32_t group = groupOrder_[static_cast<std::size_t>(parent.row())];
    return createIndex(row, column, static_cast<quintptr>(group) + 1);
}

QModelIndex ResultListModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kTopLevel) {
        return {};
    }
    return createIndex(static_cast<int>(groupShown_[child.internalId() - 1]), 0, kTopLevel);
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return static_cast<int>(groups_.empty() ? order_.size() : groupOrder_.size());
    }
    if (parent.column() != 0 || !IsGroup(parent)) {
        return 0;
    }
    return static_cast<int>(
        groups_[groupOrder_[static_cast<std::size_t>(parent.row())]].order.size());
}

int ResultListModel::columnCount(const QModelIndex&) const {
    return static_cast<int>(columns_.size());
}

bool ResultListModel::hasChildren(const QModelIndex& parent) const {
    // A group row always offers to expand; its files are loaded when it does.
    return !parent.isValid() || (parent.column() == 0 && IsGroup(parent));
}

QString ResultListModel::CellText(const lists::ResultRows& rows, std::size_t position,
                                  int section) const {
    if (section == 0) {
        return QString::fromStdString(std::string(rows.MainText(position)));
    }
    const int code = columns_[static_cast<std::size_t>(section)].Code();
    return QString::fromStdString(lists::CellText(rows, position, code, dates_));
}

QIcon ResultListModel::DriveIcon(std::int32_t driveType) const {
    const std::size_t slot =
        driveType >= 0 && static_cast<std::size_t>(driveType) < driveIcons_.size()
            ? static_cast<std::size_t>(driveType)
            : 0;
    QIcon& icon = driveIcons_[slot];
    if (icon.isNull()) {
        icon = DriveTypeIcon(static_cast<std::int32_t>(slot));
    }
    return icon;
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const int section = index.column();
    const lists::ColumnDefinition& definition =
        *columns_[static_cast<std::size_t>(section)].definition;
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(AlignmentOf(definition.alignment));
    }
    std::size_t position = 0;
    const lists::ResultRows* rows = RowsOf(index, position);
    if (rows == nullptr) {
        const GroupRow* group = Group(index);
        if (role == Qt::DisplayRole && section == 0 && group != nullptr) {
            return QString::fromStdString(group->text);
        }
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return CellText(*rows, position, section);
        case Qt::BackgroundRole:
            if (groupColours_) {
                return QBrush(Colour(rows->Record(position).DuplicateGroup % 2 == 0
                                         ? kEvenGroupColour
                                         : kOddGroupColour));
            }
            return QBrush(Colour(rows->Reachable(position) ? lists::kReachableColour
                                                           : lists::kUnreachableColour));
        case Qt::ForegroundRole:
            // Dark themes must not put light text on the fixed group colours.
            return groupColours_ ? QVariant(QBrush(Qt::black)) : QVariant();
        case Qt::DecorationRole:
            return section == 0 ? QVariant(DriveIcon(rows->DriveType(position))) : QVariant();
        case Qt::CheckStateRole:
            if (checkBoxes_ && section == 0 && index.internalId() == kTopLevel) {
                return checked_[position] != 0 ? Qt::Checked : Qt::Unchecked;
            }
            return {};
        default:
            return {};
    }
}

bool ResultListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !checkBoxes_ || index.column() != 0 ||
        index.internalId() != kTopLevel || IsGroup(index)) {
        return false;
    }
    checked_[order_[static_cast<std::size_t>(index.row())]] = value.toInt() == Qt::Checked ? 1 : 0;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return {};
    }
    const lists::ColumnDefinition& definition =
        *columns_[static_cast<std::size_t>(section)].definition;
    if (role == Qt::DisplayRole) {
        return QString::fromUtf8(definition.caption.data(),
                                 static_cast<qsizetype>(definition.caption.size()));
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(AlignmentOf(definition.alignment));
    }
    return {};
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (checkBoxes_ && index.column() == 0 && index.internalId() == kTopLevel && !IsGroup(index)) {
        flags |= Qt::ItemIsUserCheckable;
    }
    return flags;
}

}  // namespace sonarchive::gui
