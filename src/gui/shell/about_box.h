// "About Sonarchive": the program's name and version.
#pragma once

#include <QDialog>

namespace sonarchive::gui {

// "Version " and the program's four-part version number.
QString VersionText();

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace sonarchive::gui
