// The columns of an export: each can be ticked or not, and moved up and down to set the order
// the fields are written in.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace sonarchive::gui {

class ColumnPicker : public QWidget {
    Q_OBJECT
public:
    explicit ColumnPicker(QWidget* parent = nullptr);

    // Every column, ticked, in the order given.
    void SetColumns(const std::vector<std::string>& captions);
    // The chosen columns first, ticked, in their order; every other column after them,
    // unticked. Names that are no column are passed over.
    void Choose(const std::vector<std::string>& chosen);
    // The ticked columns, top to bottom.
    std::vector<std::string> Chosen() const;
    // Moves the current column one place up (-1) or down (+1).
    void MoveCurrent(int step);

signals:
    void changed();

private:
    void AddColumn(const std::string& caption, bool ticked);
    void UpdateButtons();

    QListWidget* list_;
    QPushButton* up_;
    QPushButton* down_;
};

}  // namespace sonarchive::gui
