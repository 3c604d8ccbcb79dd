#include "gui/lists/result_list.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

#include "gui/lists/find_text_dialog.h"
#include "gui/lists/short_date.h"
#include "gui/lists/view_fields_dialog.h"
#include "gui/shell/app_context.h"
#include "gui/shell/file_drops.h"
#include "gui/shell/main_window.h"
#include "interaction/scopes.h"
#include "lists/row_order.h"

namespace sonarchive::gui {
namespace {

// Automatic columns take the width of their texts over the first rows, as far as this.
constexpr int kSampledRows = 200;
constexpr int kMaximumAutomaticWidth = 480;
constexpr int kCellPadding = 14;

}  // namespace

TResultList::TResultList(TFMain& main, const ResultListOptions& options, QWidget* parent)
    : QTreeView(parent),
      main_(main),
      options_(options),
      model_(new ResultListModel(ShortDateFormat(), options.checkBoxes, this)) {
    setObjectName(QStringLiteral("ListView1"));
    if (options.groupColours) {
        model_->ColourByGroup();
    }
    setModel(model_);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    header()->setSectionsMovable(true);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this, &TResultList::SortByColumn);
    connect(this, &QTreeView::expanded, this, &TResultList::Expand);
    connect(this, &QTreeView::collapsed, this, &TResultList::Collapse);
    connect(&main_.Drives(), &ShellDrives::drivesChanged, this, &TResultList::MarkAvailabilityAll);
    BuildColumns(options_.layout);
}

TResultList::~TResultList() = default;

void TResultList::BuildColumns(int layout) {
    options_.layout = layout;
    model_->SetColumns(
        lists::BuildResultColumns(layout, options_.positionColumn, main_.App().Registry()));
    setRootIsDecorated(false);
    widthsFitted_ = false;
    ApplyColumnLayout();
}

void TResultList::ApplyColumnLayout() {
    const lists::ResultColumns& columns = Columns();
    for (int section = 0; section < static_cast<int>(columns.size()); ++section) {
        const lists::ResultColumn& column = columns[static_cast<std::size_t>(section)];
        setColumnHidden(section, !column.visible);
        const int width = column.definition->width;
        header()->resizeSection(section, width > 0 ? width : header()->sectionSizeHint(section));
    }
    header()->setSortIndicatorShown(false);
}

void TResultList::FitAutomaticColumns() {
    const QFontMetrics metrics(font());
    const lists::ResultColumns& columns = Columns();
    const int rows = std::min(model_->rowCount(), kSampledRows);
    for (int section = 0; section < static_cast<int>(columns.size()); ++section) {
        if (columns[static_cast<std::size_t>(section)].definition->width > 0) {
            continue;
        }
        int width = header()->sectionSizeHint(section);
        for (int row = 0; row < rows; ++row) {
            const QString text = model_->index(row, section).data().toString();
            width = std::max(width, metrics.horizontalAdvance(text) + kCellPadding);
        }
        if (section == 0) {
            width += iconSize().width() > 0 ? iconSize().width() : 16;
            width += indentation();
        }
        header()->resizeSection(section, std::min(width, kMaximumAutomaticWidth));
    }
    widthsFitted_ = rows > 0;
}

void TResultList::SetColumnVisible(int section, bool visible) {
    model_->SetColumnVisible(section, visible);
    setColumnHidden(section, !visible);
}

std::size_t TResultList::Fill(const std::string& statement) {
    return Fill(std::vector<std::string>{statement});
}

std::size_t TResultList::Fill(const std::vector<std::string>& statements) {
    BusyScope busy(main_.App().User());
    std::size_t added = 0;
    for (const std::string& statement : statements) {
        catalog::Query query(main_.App().Catalog().Engine(), statement);
        added += model_->AppendFiles(query, options_.collectionId);
    }
    MarkAvailabilityAll();
    if (!widthsFitted_) {
        FitAutomaticColumns();
    }
    return added;
}

void TResultList::SetGroups(std::vector<GroupRow> groups) {
    model_->SetGroups(std::move(groups));
    setRootIsDecorated(true);
    if (!widthsFitted_) {
        FitAutomaticColumns();
    }
}

void TResultList::SetGroupStatement(std::function<std::string(const GroupRow&)> statement) {
    groupStatement_ = std::move(statement);
}

void TResultList::ClearRows() {
    model_->Clear();
    setRootIsDecorated(false);
    widthsFitted_ = false;
}

void TResultList::Expand(const QModelIndex& group) {
    const GroupRow* row = model_->Group(group);
    if (row == nullptr || !groupStatement_) {
        return;
    }
    BusyScope busy(main_.App().User());
    setUpdatesEnabled(false);
    catalog::Query query(main_.App().Catalog().Engine(), groupStatement_(*row));
    lists::AvailabilityPass pass(main_.Drives().PathRules(), main_.Drives().LocalDrives(),
                                 main_.Drives().Hosts());
    model_->FillGroup(group.row(), query, pass);
    setUpdatesEnabled(true);
}

void TResultList::Collapse(const QModelIndex& group) {
    model_->EmptyGroup(group.row());
}

void TResultList::ReloadGroup(const QModelIndex& group) {
    collapse(group);
    expand(group);
}

void TResultList::MarkAvailabilityAll() {
    lists::AvailabilityPass pass(main_.Drives().PathRules(), main_.Drives().LocalDrives(),
                                 main_.Drives().Hosts());
    setUpdatesEnabled(false);
    model_->MarkAvailability(pass);
    setUpdatesEnabled(true);
}

void TResultList::SortByColumn(int section) {
    const bool ascending =
        options_.ascendingOnlySort ||
        lists::NextSortAscending(section, model_->SortedSection(), model_->SortedAscending());
    BusyScope busy(main_.App().User());
    model_->SortBySection(section, ascending);
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(section, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void TResultList::FindText() {
    if (findDialog_ == nullptr) {
        findDialog_ = new TFFindText(this);
    }
    if (const std::optional<QString> text = findDialog_->Ask()) {
        FindFrom(*text, -1);
    }
}

void TResultList::FindNext() {
    if (findPosition_ >= 0) {
        FindFrom(findText_, findPosition_);
    }
}

void TResultList::FindFrom(const QString& text, int after) {
    const int found =
        lists::FindRowContaining(*model_->TextsInListOrder(), Columns(), text.toStdString(), after);
    if (found < 0) {
        return;
    }
    findText_ = text;
    findPosition_ = found;
    SelectFound(found);
}

void TResultList::SelectFound(int position) {
    const std::vector<QModelIndex> rows = model_->RowsInListOrder();
    const QModelIndex row = rows[static_cast<std::size_t>(position)];
    clearSelection();
    selectionModel()->setCurrentIndex(
        row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(row);
}

void TResultList::ShowVisibleFieldsDialog() {
    TFViewFields dialog(Columns(), this);
    lists::ResultColumns columns = Columns();
    if (!dialog.Edit(columns)) {
        return;
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
        SetColumnVisible(static_cast<int>(i), columns[i].visible);
    }
    if (dialog.UseAsDefault()) {
        lists::SaveVisibleFields(main_.App().Registry(), Columns());
    }
}

void TResultList::BuildViewColumnsMenu(QMenu& menu) {
    menu.clear();
    connect(menu.addAction(tr("Set...")), &QAction::triggered, this,
            &TResultList::ShowVisibleFieldsDialog);
    menu.addSeparator();
    const lists::ResultColumns& columns = Columns();
    const std::size_t listed = std::min(columns.size(), lists::kListedColumns);
    for (std::size_t i = 0; i < listed; ++i) {
        const lists::ColumnDefinition& definition = *columns[i].definition;
        QAction* item = menu.addAction(QString::fromUtf8(
            definition.caption.data(), static_cast<qsizetype>(definition.caption.size())));
        item->setCheckable(true);
        item->setChecked(columns[i].visible);
        item->setEnabled(definition.toggle);
        const int section = static_cast<int>(i);
        connect(item, &QAction::toggled, this,
                [this, section](bool visible) { SetColumnVisible(section, visible); });
    }
}

QModelIndex TResultList::FocusedRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.siblingAtColumn(0) : QModelIndex();
}

std::vector<QModelIndex> TResultList::SelectedRows() const {
    const QModelIndexList selected = selectionModel()->selectedRows(0);
    std::vector<QModelIndex> rows(selected.begin(), selected.end());
    const auto listOrder = [](const QModelIndex& index) {
        const QModelIndex parent = index.parent();
        return parent.isValid() ? std::pair(parent.row(), index.row() + 1)
                                : std::pair(index.row(), 0);
    };
    std::sort(rows.begin(), rows.end(), [&listOrder](const QModelIndex& a, const QModelIndex& b) {
        return listOrder(a) < listOrder(b);
    });
    return rows;
}

const catalog::TMainDataRec* TResultList::FocusedRecord() const {
    return model_->Record(FocusedRow());
}

lists::ListRowRef TResultList::RowRef(const QModelIndex& row) const {
    if (const GroupRow* group = model_->Group(row)) {
        return lists::ListRowRef::Group(options_.layout, group->key);
    }
    std::size_t position = 0;
    const lists::ResultRows* rows = model_->RowsOf(row, position);
    return rows != nullptr ? lists::FileRowRefOf(*rows, position) : lists::ListRowRef{};
}

std::vector<lists::ListRowRef> TResultList::SelectedRowRefs() const {
    std::vector<lists::ListRowRef> refs;
    for (const QModelIndex& row : SelectedRows()) {
        refs.push_back(RowRef(row));
    }
    return refs;
}

std::string TResultList::FullPath(const QModelIndex& row) const {
    std::size_t position = 0;
    const lists::ResultRows* rows = model_->RowsOf(row, position);
    if (rows == nullptr) {
        return {};
    }
    return lists::RowFullPath(main_.Drives().PathRules(),
                              rows->Text(position, lists::RowText::DriveSerialNumber),
                              rows->Text(position, lists::RowText::Path));
}

std::unique_ptr<QMimeData> TResultList::DragData() const {
    // Only files that can be opened now: another program can do nothing with a stored path
    // whose volume is not mounted.
    const std::vector<std::string> paths = lists::SelectedPaths(
        main_.App().Catalog().Engine(), main_.Drives().PathRules(), SelectedRowRefs(), false);
    return paths.empty() ? nullptr : FileUrlsMimeData(paths);
}

void TResultList::startDrag(Qt::DropActions) {
    std::unique_ptr<QMimeData> files = DragData();
    if (!files) {
        return;
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(files.release());
    main_.SetDragSource(this);
    drag->exec(Qt::CopyAction);
    main_.SetDragSource(nullptr);
}

std::size_t TResultList::LongestText(int section) const {
    return lists::LongestText(*model_->TextsInListOrder(), Columns(), section);
}

void TResultList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete &&
        (event->modifiers() & ~Qt::KeypadModifier & ~Qt::ShiftModifier) == Qt::NoModifier) {
        emit deleteRequested((event->modifiers() & Qt::ShiftModifier) != 0);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F11 && event->modifiers() == Qt::NoModifier) {
        emit editTagsRequested();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TResultList::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex row = indexAt(event->position().toPoint());
    if (row.isValid() && !model_->IsGroup(row)) {
        setCurrentIndex(row);
        emit playRequested();
        event->accept();
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);  // a group row opens or closes
}

void TResultList::contextMenuEvent(QContextMenuEvent* event) {
    emit popupRequested(event->globalPos());
    event->accept();
}

bool TResultList::AcceptsDrop(const QMimeData& offered) const {
    // Rows of this very list dropped back on it are not files to add.
    return main_.DragSource() != this && OffersLocalFiles(offered);
}

void TResultList::dragEnterEvent(QDragEnterEvent* event) {
    if (AcceptsDrop(*event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TResultList::dragMoveEvent(QDragMoveEvent* event) {
    if (AcceptsDrop(*event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TResultList::dropEvent(QDropEvent* event) {
    if (!AcceptsDrop(*event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit filesDropped(DroppedFilePaths(*event->mimeData()));
}

void TResultList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeView::currentChanged(current, previous);
    emit currentRowChanged();
}

}  // namespace sonarchive::gui
