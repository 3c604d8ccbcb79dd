// "Find text": asks for the text to look for in a list. The edit keeps the text entered last
// and shows it selected, so typing replaces it and Enter finds it again.
#pragma once

#include <QDialog>
#include <optional>

class QLineEdit;

namespace sonarchive::gui {

class TFFindText : public QDialog {
    Q_OBJECT
public:
    explicit TFFindText(QWidget* parent = nullptr);

    // The text when "&Find" was pressed; nothing for "&Cancel".
    std::optional<QString> Ask();

private:
    QLineEdit* edit_;
};

}  // namespace sonarchive::gui
