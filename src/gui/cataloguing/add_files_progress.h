// "Adding files to the archive": the progress window of an add, and the interaction the add
// talks through while it shows.
#pragma once

#include <QDialog>

#include "cataloguing/add_files.h"
#include "interaction/interaction.h"

class QLabel;
class QProgressBar;

namespace sonarchive::gui {

class CounterFigures;
class VolumeFigures;

class TFAddFiles : public QDialog {
    Q_OBJECT
public:
    // 0 running, 1 asking whether to stop, 2 cancelled.
    enum CancelState { kRunning = 0, kAsking = 1, kCancelled = 2 };

    // The stop question goes to `user`.
    explicit TFAddFiles(Interaction& user, QWidget* parent = nullptr);

    void ShowVolume(const cataloguing::VolumeIdentity& volume);
    void ShowCounters(const cataloguing::AddCounters& counters);
    void SetTask(const QString& text);
    void SetMaximum(int maximum);
    void SetPosition(int position);
    int State() const { return state_; }

    // "&Cancel": asks "Do you wish to cancel the operation and stop adding files?"; Yes
    // cancels and closes the window, No goes on.
    void AskToCancel();

protected:
    // Closing the window is the same question as the button.
    void reject() override;

private:
    Interaction& user_;
    int state_ = kRunning;
    QLabel* task_;
    QProgressBar* bar_;
    VolumeFigures* volume_;
    CounterFigures* counters_;
};

// Questions and messages go to the user's interaction; progress, the task line and the
// cancel state to the progress window.
class AddInteraction : public Interaction {
public:
    AddInteraction(Interaction& user, TFAddFiles& window) : user_(user), window_(window) {}

    void ShowInformation(const std::string& text) override { user_.ShowInformation(text); }
    void ShowError(const std::string& text) override { user_.ShowError(text); }
    bool AskYesNo(const std::string& text) override { return user_.AskYesNo(text); }
    ConfirmAnswer Confirm(const std::string& text, int helpTopic) override {
        return user_.Confirm(text, helpTopic);
    }
    ReplaceAnswer AskReplace(const ReplaceQuestion& question) override {
        return user_.AskReplace(question);
    }
    void SetBusy(bool busy) override { user_.SetBusy(busy); }
    void BeginNotice(const std::string& text) override { user_.BeginNotice(text); }
    void EndNotice() override { user_.EndNotice(); }
    void SetProgressMaximum(int maximum) override { window_.SetMaximum(maximum); }
    void SetProgressPosition(int position) override { window_.SetPosition(position); }
    void SetTaskText(const std::string& text) override;
    void SetCounterText(const std::string&) override {}  // the counters have their own labels
    bool CancelRequested() override { return window_.State() == TFAddFiles::kCancelled; }
    void ProcessPendingEvents() override { user_.ProcessPendingEvents(); }

private:
    Interaction& user_;
    TFAddFiles& window_;
};

}  // namespace sonarchive::gui
