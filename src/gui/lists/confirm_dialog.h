// The shared "Confirm" dialog that every question governed by a CONFIRM_ setting goes through.
#pragma once

#include <QDialog>

#include "interaction/interaction.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace sonarchive::gui {

class HelpWindow;

class TfConfirm : public QDialog {
    Q_OBJECT
public:
    TfConfirm(HelpWindow& help, QWidget* parent = nullptr);

    // Shows the message modally. "&Help" is enabled only for a topic of 0 or more; the
    // "Don't show this message anymore" box starts unticked on every call.
    ConfirmAnswer Ask(const QString& message, int helpTopic);

private:
    HelpWindow& help_;
    QLabel* message_;
    QCheckBox* dontShow_;
    QPushButton* helpButton_;
    int helpTopic_ = -1;
};

}  // namespace sonarchive::gui
