// "Welcome to Sonarchive": offered once, at the first start, to fill the new catalog.
#pragma once

#include <QDialog>

namespace sonarchive::gui {

class TfWelcome : public QDialog {
    Q_OBJECT
public:
    explicit TfWelcome(QWidget* parent = nullptr);

    // Modal; true when "Search" was pressed.
    bool AskToSearch();
};

}  // namespace sonarchive::gui
