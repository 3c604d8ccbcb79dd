// An Interaction that answers questions from a script and records every text it was shown,
// so tests can assert the exact texts and their order.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "interaction/interaction.h"

namespace sonarchive::testing {

class ScriptedInteraction : public Interaction {
public:
    // One recorded event: "info: ...", "error: ...", "question: ...", "confirm: ...",
    // "notice: ...", "notice end", "busy", "idle", "task: ...", "counter: ...".
    std::vector<std::string> log;

    // Answers for the next questions, in order.
    void AnswerYes(int times = 1) { yesNo_.insert(yesNo_.end(), times, true); }
    void AnswerNo(int times = 1) { yesNo_.insert(yesNo_.end(), times, false); }
    void AnswerConfirm(ConfirmAnswer answer) { confirms_.push_back(answer); }
    void AnswerReplace(ReplaceAnswer answer) { replaces_.push_back(answer); }
    // CancelRequested answers true from the n-th call on (1-based).
    void CancelAfterChecks(int n) { cancelAfter_ = n; }

    // Only the entries of one kind ("info", "error", "question", ...), without their prefix.
    std::vector<std::string> Texts(const std::string& kind) const;
    bool UnansweredQuestionsLeft() const;

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
    void ProcessPendingEvents() override {}

    int progressMaximum = 0;
    int progressPosition = 0;
    int cancelChecks = 0;

private:
    std::deque<bool> yesNo_;
    std::deque<ConfirmAnswer> confirms_;
    std::deque<ReplaceAnswer> replaces_;
    int cancelAfter_ = -1;
};

}  // namespace sonarchive::testing
