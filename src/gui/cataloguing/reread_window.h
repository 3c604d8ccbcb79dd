// "Re-read tags": reads every reachable file of the archive again. While it runs the window
// shows a bar and "&Cancel" instead of "&Close" and cannot be closed; files it could not reach
// or read are listed in its messages panel, and without any it closes itself at the end.
#pragma once

#include <QDialog>
#include <string>

class QCloseEvent;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace sonarchive::gui {

class TFMain;

class TfReRead : public QDialog {
    Q_OBJECT
public:
    explicit TfReRead(TFMain& main);

    bool Running() const { return running_; }
    // "&Re-Read": ignored while a run is in progress.
    void Start();
    // "&Cancel": asks "Cancel rereading tags?" and stops at the next file on Yes.
    void AskToCancel();
    // Escape closes the window only when no run is in progress.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowRunning(bool running);
    void AddMessage(const std::string& line);

    TFMain& main_;
    QPushButton* start_;
    QPushButton* close_;
    QPushButton* cancel_;
    QProgressBar* bar_;
    QWidget* messages_;
    QPlainTextEdit* memo_;
    bool running_ = false;
    bool cancelled_ = false;
    bool messageAdded_ = false;
};

}  // namespace sonarchive::gui
