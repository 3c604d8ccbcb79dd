// "Sonarchive - initializing": shown while the start-up collects the drives, checks the
// network hosts and reads the catalog, with one status line.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace sonarchive::gui {

class TFInit : public QDialog {
    Q_OBJECT
public:
    explicit TFInit(QWidget* parent = nullptr);

    // Shows the window centred with its animation running.
    void Start();
    // Sets the status line and paints it at once.
    void SetStatus(const QString& text);
    QString Status() const;
    // Stops the animation and closes the window.
    void Finish();

signals:
    void statusChanged(const QString& text);

private:
    QLabel* status_;
    QProgressBar* animation_;
};

}  // namespace sonarchive::gui
