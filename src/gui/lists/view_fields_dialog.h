// "Set visible fields": one box per column a list lets the user show or hide, and "Use as
// default" to keep the choice for every list made from now on.
#pragma once

#include <QDialog>
#include <vector>

#include "lists/result_columns.h"

class QCheckBox;

namespace sonarchive::gui {

class TFViewFields : public QDialog {
    Q_OBJECT
public:
    // Lists the first 21 columns: each box checked when its column is visible, disabled when
    // the user may not toggle it.
    explicit TFViewFields(const lists::ResultColumns& columns, QWidget* parent = nullptr);

    // Modal. On "&Close" the listed columns take the state of their boxes; true when they
    // did. Closing the dialog otherwise changes nothing.
    bool Edit(lists::ResultColumns& columns);
    bool UseAsDefault() const;

private:
    std::vector<QCheckBox*> boxes_;
    QCheckBox* useAsDefault_;
};

}  // namespace sonarchive::gui
