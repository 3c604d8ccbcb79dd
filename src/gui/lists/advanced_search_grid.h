// The advanced search of the search window: five rows of field, condition, value and combine,
// which the user may drag into another order. The grid is repaired whenever it is entered and
// after every edit, and the label under it reads the search as text.
#pragma once

#include <QWidget>

#include "lists/search_statements.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace sonarchive::gui {

class AdvancedSearchGrid : public QWidget {
    Q_OBJECT
public:
    explicit AdvancedSearchGrid(QWidget* parent = nullptr);

    // The rows in the order shown.
    lists::SearchGrid Grid() const;
    // Writes the rows as they are, without repairing them (a history entry).
    void SetGrid(const lists::SearchGrid& grid);
    // Repairs the rows and shows the readable text of the search.
    void Validate();
    // "Clear": every cell of the five rows empty.
    void Clear();
    QString ReadableText() const;

    QTableWidget& Table() { return *table_; }
    QPushButton& SearchButton() { return *search_; }
    QPushButton& AdvancedToggle() { return *advanced_; }

signals:
    void searchRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowReadableText();

    QTableWidget* table_;
    QLabel* readable_;
    QPushButton* search_;
    QPushButton* advanced_;
    bool validating_ = false;
};

}  // namespace sonarchive::gui
