#include "gui/shell/collections_box.h"

namespace sonarchive::gui {

CollectionsBox::CollectionsBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("CBCollections"));
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(18);
    connect(this, &QComboBox::activated, this, &CollectionsBox::Choose);
}

void CollectionsBox::Fill(const std::vector<collections::CollectionName>& collections) {
    clear();
    ids_.clear();
    for (const auto& collection : collections) {
        addItem(QString::fromStdString(collection.Name));
        ids_.push_back(collection.Id);
    }
    setCurrentIndex(-1);
}

void CollectionsBox::Choose(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= ids_.size()) {
        return;
    }
    const qint64 id = ids_[static_cast<std::size_t>(index)];
    setCurrentIndex(-1);
    emit collectionChosen(id);
}

}  // namespace sonarchive::gui
