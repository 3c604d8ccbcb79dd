// An interaction that hands every call on to another one. A window that shows part of an
// operation itself (its own progress bar, its own cancel button) derives from it and takes over
// just those calls, while messages and questions still reach the user the usual way.
#pragma once

#include "interaction/interaction.h"

namespace sonarchive {

class ForwardingInteraction : public Interaction {
public:
    explicit ForwardingInteraction(Interaction& target) : target_(target) {}

    void ShowInformation(const std::string& text) override { target_.ShowInformation(text); }
    void ShowError(const std::string& text) override { target_.ShowError(text); }
    bool AskYesNo(const std::string& text) override { return target_.AskYesNo(text); }
    ConfirmAnswer Confirm(const std::string& text, int helpTopic) override {
        return target_.Confirm(text, helpTopic);
    }
    ReplaceAnswer AskReplace(const ReplaceQuestion& question) override {
        return target_.AskReplace(question);
    }
    void SetBusy(bool busy) override { target_.SetBusy(busy); }
    void BeginNotice(const std::string& text) override { target_.BeginNotice(text); }
    void EndNotice() override { target_.EndNotice(); }
    void SetProgressMaximum(int maximum) override { target_.SetProgressMaximum(maximum); }
    void SetProgressPosition(int position) override { target_.SetProgressPosition(position); }
    void SetTaskText(const std::string& text) override { target_.SetTaskText(text); }
    void SetCounterText(const std::string& text) override { target_.SetCounterText(text); }
    bool CancelRequested() override { return target_.CancelRequested(); }
    void ProcessPendingEvents() override { target_.ProcessPendingEvents(); }

private:
    Interaction& target_;
};

}  // namespace sonarchive
