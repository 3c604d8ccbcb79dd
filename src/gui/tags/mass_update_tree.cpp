#include "gui/tags/mass_update_tree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>

namespace sonarchive::gui {
namespace {

constexpr int kIdRole = Qt::UserRole;

class Row : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem& other) const override {
        const auto* tree = qobject_cast<const MassUpdateTree*>(treeWidget());
        const int column = tree != nullptr ? tree->sortColumn() : 0;
        if (column == 0 && tree != nullptr && tree->NumericValues()) {
            return text(0).toLongLong() < other.text(0).toLongLong();
        }
        return QTreeWidgetItem::operator<(other);
    }
};

}  // namespace

const QString MassUpdateTree::kValueFormat = QStringLiteral("application/x-sonarchive-row-value");

MassUpdateTree::MassUpdateTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(2);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The rows keep the order they were loaded in until a column header is clicked.
    header()->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(true);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
}

void MassUpdateTree::SetNumericValues(bool numeric) {
    numeric_ = numeric;
}

QTreeWidgetItem* MassUpdateTree::AddRow(std::int64_t id, const QString& value,
                                        const QString& path) {
    auto* row = new Row(this, QStringList{value, path});
    row->setData(0, kIdRole, QVariant::fromValue<qlonglong>(id));
    row->setTextAlignment(0, numeric_ ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    return row;
}

std::int64_t MassUpdateTree::IdOf(const QTreeWidgetItem& item) {
    return item.data(0, kIdRole).toLongLong();
}

void MassUpdateTree::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        emit deletePressed();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

QMimeData* MassUpdateTree::mimeData(const QList<QTreeWidgetItem*>& items) const {
    const QTreeWidgetItem* row = currentItem() != nullptr ? currentItem()
                                 : items.isEmpty()        ? nullptr
                                                          : items.front();
    if (row == nullptr) {
        return nullptr;
    }
    auto* dragged = new QMimeData;
    dragged->setData(kValueFormat, row->text(0).toUtf8());
    dragged->setText(row->text(0));
    return dragged;
}

}  // namespace sonarchive::gui
