// The command-line program's way of talking to the user: messages on the terminal, questions
// answered at a prompt, by --yes, or No when nobody can answer.
#pragma once

#include <iosfwd>

#include "interaction/interaction.h"

namespace sonarchive::cli {

class TerminalInteraction final : public Interaction {
public:
    // `assumeYes` answers Yes to every question; without it and without a terminal on the
    // standard input, every question is answered No.
    TerminalInteraction(std::istream& in, std::ostream& out, std::ostream& err, bool assumeYes,
                        bool interactive);

    void ShowInformation(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    ConfirmAnswer Confirm(const std::string& text, int helpTopic) override;
    ReplaceAnswer AskReplace(const ReplaceQuestion& question) override;
    void SetBusy(bool) override {}
    void BeginNotice(const std::string& text) override;
    void EndNotice() override {}
    void SetProgressMaximum(int maximum) override;
    void SetProgressPosition(int position) override;
    void SetTaskText(const std::string&) override {}
    void SetCounterText(const std::string&) override {}
    bool CancelRequested() override;
    void ProcessPendingEvents() override {}

    // Set from the SIGINT handler: Ctrl+C cancels a long operation between items.
    static void RequestCancel();

private:
    char Ask(const std::string& question, const std::string& answers, char whenUnanswered);
    void DrawProgress();

    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    bool assumeYes_;
    bool interactive_;
    int progressMaximum_ = 0;
    int progressPosition_ = 0;
};

}  // namespace sonarchive::cli
