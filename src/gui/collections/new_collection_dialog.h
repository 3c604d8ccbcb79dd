// "New collection", also "Collection properties": the name of a collection and whether its list
// is sortable. One dialog serves the whole run, so the check box keeps its last state.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;

namespace sonarchive::gui {

class HelpWindow;
class TFMain;

class TFNewCollection : public QDialog {
    Q_OBJECT
public:
    TFNewCollection(HelpWindow* help, QWidget* parent = nullptr);

    struct Choice {
        std::string name;
        bool sortable = false;
    };
    // Shows the dialog modally with that caption and name (selected and focused); the check
    // box shows `sortable` when given and keeps its last state otherwise. Only "&Ok" answers.
    std::optional<Choice> Ask(const QString& caption, const QString& name,
                              std::optional<bool> sortable = std::nullopt);

private:
    QLineEdit* name_;
    QCheckBox* sortable_;
};

// The dialog of the run, made on first use.
TFNewCollection& NewCollectionDialogOf(TFMain& main);

}  // namespace sonarchive::gui
