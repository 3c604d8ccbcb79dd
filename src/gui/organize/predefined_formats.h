// "Select predefined formats": the list of formats the user keeps, to pick one for renaming.
// Whatever is added, changed or deleted is kept however the dialog is closed.
#pragma once

#include <QDialog>

#include "catalog_store/settings.h"
#include "interaction/interaction.h"

class QTreeWidget;

namespace sonarchive::gui {

class HelpWindow;
class TFEditFileFormat;

class TfPredefined : public QDialog {
    Q_OBJECT
public:
    TfPredefined(catalog::Registry& registry, Interaction& user, HelpWindow* help,
                 QWidget* parent = nullptr);

    // Shows the list modally; the chosen format, empty when none was chosen.
    QString Choose();

protected:
    void done(int result) override;

private:
    void AddFormat();
    void ModifyFormat();
    void DeleteFormats();
    void ChooseCurrent();
    void ShowContextMenu(const QPoint& at);
    void AppendEntry(const QString& format);

    catalog::Registry& registry_;
    Interaction& user_;
    QTreeWidget* list_;
    TFEditFileFormat* editor_;
    QString result_;
};

}  // namespace sonarchive::gui
