// "Modify tags": one field set to one value in the tags and catalog rows of many files. The
// program has one such window for its whole run, shown modally for the rows it is given.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>

#include "catalog_store/path_rules.h"
#include "catalog_store/sql_text.h"
#include "tags/mass_update.h"

class QComboBox;
class QFrame;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QRadioButton;
class QSpinBox;
class QTreeWidgetItem;

namespace sonarchive::gui {

class AppContext;
class HelpWindow;
class MassUpdateTree;

// The manual's section on this window.
inline constexpr const char* kMassUpdateHelpAnchor = "mass-update";

class TFMassUpdateTag : public QDialog {
    Q_OBJECT
public:
    TFMassUpdateTag(AppContext& app, const catalog::PathRules& rules, HelpWindow& help,
                    QWidget* parent = nullptr);
    ~TFMassUpdateTag() override;

    // Loads the rows of the ids and readies the window for showing: the messages panel hidden
    // and emptied.
    void Load(catalog::IdList ids);
    // Load, then shown modally; true when a Modify changed a tag or a row.
    bool Run(catalog::IdList ids);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildPopupMenu();
    std::optional<std::size_t> SelectedField() const;
    void FieldChanged();
    void FillRows();
    void RemoveSelectedRows();
    void TakeValue(const QString& value);
    void CopySelectedRows();
    void Modify();
    void AddMessage(const QString& line);
    void SaveSyncChoice();

    AppContext& app_;
    const catalog::PathRules& rules_;
    HelpWindow& help_;
    std::unique_ptr<tags::TagMassUpdate> update_;
    bool changed_ = false;

    QComboBox* field_;
    QLineEdit* newText_;
    QSpinBox* newNumber_;
    QRadioButton* updateIfPossible_;
    QRadioButton* sync_;
    MassUpdateTree* rows_;
    QMenu* popup_;
    QAction* removeRows_;
    QProgressBar* progress_;
    QFrame* messages_;
    QPlainTextEdit* memo_;
};

}  // namespace sonarchive::gui
