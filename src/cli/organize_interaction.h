// How the file-changing verbs talk to the user: like every verb, except that --yes answers
// only the "Confirm" question. Replacing a file is asked at the terminal and answered No
// without one, unless --overwrite answers "Yes to all".
#pragma once

#include <memory>

#include "cli/terminal_interaction.h"

namespace sonarchive::cli {

class OrganizeInteraction final : public Interaction {
public:
    OrganizeInteraction(Interaction& user, bool overwrite);

    void ShowInformation(const std::string& text) override { user_.ShowInformation(text); }
    void ShowError(const std::string& text) override { user_.ShowError(text); }
    bool AskYesNo(const std::string& text) override { return prompts_.AskYesNo(text); }
    ConfirmAnswer Confirm(const std::string& text, int helpTopic) override {
        return user_.Confirm(text, helpTopic);
    }
    ReplaceAnswer AskReplace(const ReplaceQuestion& question) override;
    void SetBusy(bool busy) override { user_.SetBusy(busy); }
    void BeginNotice(const std::string& text) override { user_.BeginNotice(text); }
    void EndNotice() override { user_.EndNotice(); }
    void SetProgressMaximum(int maximum) override { user_.SetProgressMaximum(maximum); }
    void SetProgressPosition(int position) override { user_.SetProgressPosition(position); }
    void SetTaskText(const std::string& text) override { user_.SetTaskText(text); }
    void SetCounterText(const std::string& text) override { user_.SetCounterText(text); }
    bool CancelRequested() override { return user_.CancelRequested(); }
    void ProcessPendingEvents() override { user_.ProcessPendingEvents(); }

private:
    Interaction& user_;
    TerminalInteraction prompts_;  // the same terminal, without --yes
    bool overwrite_;
};

}  // namespace sonarchive::cli
