// The list of rows mass update works on: a value column that sorts as numbers for Track and
// Year, rows that can be dragged onto the value editors, and the Del key.
#pragma once

#include <QTreeWidget>

namespace sonarchive::gui {

class MassUpdateTree : public QTreeWidget {
    Q_OBJECT
public:
    // What a dragged row carries: the value of the row being dragged.
    static const QString kValueFormat;

    explicit MassUpdateTree(QWidget* parent = nullptr);

    // The value column holds numbers (Track, Year): centred and sorted as numbers.
    void SetNumericValues(bool numeric);
    bool NumericValues() const { return numeric_; }
    // A row for a catalog row.
    QTreeWidgetItem* AddRow(std::int64_t id, const QString& value, const QString& path);
    static std::int64_t IdOf(const QTreeWidgetItem& item);

signals:
    void deletePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;

private:
    bool numeric_ = false;
};

}  // namespace sonarchive::gui
