// "Sonarchive system message": a small window that says what the program is doing while a
// step that blocks the window runs (packing, updating the database structure).
#pragma once

#include <QDialog>

class QLabel;

namespace sonarchive::gui {

class TFMessage : public QDialog {
    Q_OBJECT
public:
    explicit TFMessage(QWidget* parent = nullptr);

    // Shows the text and paints it at once, before the blocking step starts.
    void ShowText(const QString& text);
    QString Text() const;

private:
    QLabel* panel_;
};

}  // namespace sonarchive::gui
