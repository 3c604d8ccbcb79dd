// The duplicate finder's two questions: which method, and for "Tag - Custom..." which fields.
#pragma once

#include <QDialog>
#include <optional>

#include "catalog_store/settings.h"
#include "interaction/interaction.h"
#include "organize/duplicates.h"

class QCheckBox;
class QComboBox;

namespace sonarchive::gui {

// "Find Duplicates": the method, chosen from the six entries.
class TFSelectDuplicateMethod : public QDialog {
    Q_OBJECT
public:
    TFSelectDuplicateMethod(catalog::Registry& registry, Interaction& user,
                            QWidget* parent = nullptr);

    // Shows the dialog modally with the last method selected; the method chosen (and stored),
    // nothing when cancelled.
    std::optional<organize::DuplicateMethod> Choose();

private:
    catalog::Registry& registry_;
    Interaction& user_;
    QComboBox* methods_;
};

// "Select which fields to evaluate": the boxes keep their state while the program runs.
class TFDuplicateSelectCustomFields : public QDialog {
    Q_OBJECT
public:
    explicit TFDuplicateSelectCustomFields(QWidget* parent = nullptr);

    // The ticked fields, nothing when cancelled.
    std::optional<organize::DuplicateFields> Choose();

private:
    QCheckBox* artist_;
    QCheckBox* title_;
    QCheckBox* album_;
    QCheckBox* track_;
    QCheckBox* size_;
};

}  // namespace sonarchive::gui
