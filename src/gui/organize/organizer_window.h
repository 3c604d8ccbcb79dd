// "File Organizer": copies or moves the files of a list's selection, or of the whole archive,
// into a folder tree below a base folder, named from their tags. Every change of a control is
// kept in the settings at once.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "catalog_store/sql_text.h"
#include "organize/disk_organizer.h"
#include "organize/organizer_settings.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace sonarchive::gui {

class OrganizerMessagePanel;
class TFDiskOrgPreview;
class TFEditFileFormat;
class TFMain;

class TFDiskOrgMain : public QDialog {
    Q_OBJECT
public:
    using Selection = std::function<std::optional<catalog::IdList>()>;

    static TFDiskOrgMain& Of(TFMain& main);
    explicit TFDiskOrgMain(TFMain& main);

    // Shows the window modally on the selection of a list (none: no list); true when a real
    // run took place.
    bool ShowModal(Selection selection);

    // Runs as "&Preview" and "&Organize now" do (the preview window included).
    void Preview();
    void OrganizeNow();

private:
    void ReadSettings();
    void WriteSettings();
    void UpdateControls();
    void SetCustomFormat();
    organize::OrganizeOutcome RunOnce(organize::OrganizeMode mode, OrganizerMessagePanel& messages);

    TFMain& main_;
    organize::OrganizerSettings settings_;
    Selection selection_;
    bool realRunDone_ = false;
    bool loading_ = false;
    QButtonGroup* action_;
    QCheckBox* removeEmpty_;
    QLineEdit* base_;
    QButtonGroup* folders_;
    QButtonGroup* names_;
    QRadioButton* custom_;
    QButtonGroup* range_;
    OrganizerMessagePanel* messages_;
    TFDiskOrgPreview* preview_;
    TFEditFileFormat* formatEditor_;
};

}  // namespace sonarchive::gui
