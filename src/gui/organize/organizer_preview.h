// "File Organizer - Preview": every new and old path of a preview run, its messages, and the
// choice to organize now with the same settings.
#pragma once

#include <QDialog>
#include <vector>

#include "organize/disk_organizer.h"

class QLabel;
class QTreeWidget;

namespace sonarchive::gui {

class HelpWindow;
class OrganizerMessagePanel;

class TFDiskOrgPreview : public QDialog {
    Q_OBJECT
public:
    TFDiskOrgPreview(HelpWindow* help, QWidget* parent = nullptr);

    // Empties the list and the messages for a new preview of a copy or a move.
    void Begin(bool moving);
    void AddLines(const std::vector<organize::PreviewLine>& lines);
    OrganizerMessagePanel& Messages() { return *messages_; }
    // Shows the window modally; true when "&Organize!" was pressed.
    bool Ask();

private:
    QTreeWidget* list_;
    QLabel* sentence_;
    OrganizerMessagePanel* messages_;
    bool organize_ = false;
};

}  // namespace sonarchive::gui
