// The main window's collections box: the user's collections by name. Choosing one opens it,
// and the box returns to showing no selection.
#pragma once

#include <QComboBox>
#include <vector>

#include "collections/collection_list.h"

namespace sonarchive::gui {

class CollectionsBox : public QComboBox {
    Q_OBJECT
public:
    explicit CollectionsBox(QWidget* parent = nullptr);

    void Fill(const std::vector<collections::CollectionName>& collections);
    // SubColl ids, parallel to the items.
    const std::vector<qint64>& Ids() const { return ids_; }

signals:
    void collectionChosen(qint64 id);

private:
    void Choose(int index);

    std::vector<qint64> ids_;
};

}  // namespace sonarchive::gui
