// "Edit File Format": writing one format for the predefined list or the organizer's custom
// names. A format holds at most 200 characters and never a ";" (the list's separator).
#pragma once

#include <QDialog>
#include <optional>

#include "interaction/interaction.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace sonarchive::gui {

class TFEditFileFormat : public QDialog {
    Q_OBJECT
public:
    TFEditFileFormat(Interaction& user, QWidget* parent = nullptr);

    // Shows the dialog modally on the text; the accepted text, nothing when cancelled.
    std::optional<QString> Edit(const QString& text);

private:
    // Explains the text, and removes a ";" with the message that it cannot be used.
    void TextChanged();
    bool Acceptable() const;

    Interaction& user_;
    QLineEdit* edit_;
    QLabel* explained_;
    QPushButton* ok_;
    bool accepted_ = false;
};

}  // namespace sonarchive::gui
