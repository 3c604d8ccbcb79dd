// How core operations talk to the user in the desktop program: message boxes, questions, the
// shared "Confirm" dialog, the replace question, the hourglass, the system message window and
// progress windows.
#pragma once

#include <QPointer>
#include <QWidget>

#include "gui/catalog_store/message_window.h"
#include "gui/lists/confirm_dialog.h"
#include "gui/shell/progress_window.h"
#include "interaction/interaction.h"

namespace sonarchive::gui {

class GuiInteraction : public Interaction {
public:
    GuiInteraction() = default;
    ~GuiInteraction() override;
    GuiInteraction(const GuiInteraction&) = delete;
    GuiInteraction& operator=(const GuiInteraction&) = delete;

    // The windows are made after the interaction (the main window needs it first).
    void SetWindows(QWidget* owner, TFMessage* message, TfConfirm* confirm);
    void AttachProgress(ProgressWindow* window) { progress_ = window; }
    ProgressWindow* Progress() const { return progress_; }

    void ShowInformation(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    ConfirmAnswer Confirm(const std::string& text, int helpTopic) override;
    ReplaceAnswer AskReplace(const ReplaceQuestion& question) override;
    void SetBusy(bool busy) override;
    void BeginNotice(const std::string& text) override;
    void EndNotice() override;
    void SetProgressMaximum(int maximum) override;
    void SetProgressPosition(int position) override;
    void SetTaskText(const std::string& text) override;
    void SetCounterText(const std::string& text) override;
    bool CancelRequested() override;
    void ProcessPendingEvents() override;

private:
    QPointer<QWidget> owner_;
    QPointer<TFMessage> message_;
    QPointer<TfConfirm> confirm_;
    ProgressWindow* progress_ = nullptr;  // while a ProgressScope runs
    int busyDepth_ = 0;
};

}  // namespace sonarchive::gui
