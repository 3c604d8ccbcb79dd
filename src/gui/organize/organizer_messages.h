// The File Organizer's messages: a panel of rich-text lines (a plain lead, the path in dark red
// bold, a green " Description" link, red status lines), and the window that explains them.
#pragma once

#include <QDialog>
#include <QFrame>

#include "organize/disk_organizer.h"

class QTextBrowser;

namespace sonarchive::gui {

// "File Organizer - error messages".
class TfRichViewMessages : public QDialog {
    Q_OBJECT
public:
    explicit TfRichViewMessages(QWidget* parent = nullptr);
};

class OrganizerMessagePanel : public QFrame {
    Q_OBJECT
public:
    explicit OrganizerMessagePanel(QWidget* parent = nullptr);

    // Starts a new line and shows the panel.
    void Append(const organize::OrganizerMessage& message);
    void Clear();
    // The lines as plain text, the links reading " Description".
    QStringList Lines() const;

signals:
    // The panel was shown or hidden: the window around it changes its height.
    void visibilityChanged();

private:
    QTextBrowser* view_;
};

}  // namespace sonarchive::gui
