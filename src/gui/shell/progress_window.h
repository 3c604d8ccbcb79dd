// A window that shows the progress of a long operation with a cancel button, and the scope
// that shows it for the life of the operation.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace sonarchive::gui {

class GuiInteraction;

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(const QString& caption, QWidget* parent = nullptr);

    void SetMaximum(int maximum);
    void SetPosition(int position);
    void SetTask(const QString& text);
    void SetCounter(const QString& text);
    bool CancelRequested() const { return cancelled_; }

protected:
    // Closing the window asks the operation to stop, as the button does.
    void reject() override;

private:
    QLabel* task_;
    QLabel* counter_;
    QProgressBar* bar_;
    bool cancelled_ = false;
};

// Shows a progress window and routes the interaction's progress to it until the scope ends.
class ProgressScope {
public:
    ProgressScope(GuiInteraction& interaction, const QString& caption, QWidget* parent);
    ~ProgressScope();
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    ProgressWindow& Window() { return *window_; }

private:
    GuiInteraction& interaction_;
    ProgressWindow* window_;
    ProgressWindow* previous_;
};

}  // namespace sonarchive::gui
