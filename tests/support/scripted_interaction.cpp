#include "support/scripted_interaction.h"

#include <gtest/gtest.h>

namespace sonarchive::testing {

std::vector<std::string> ScriptedInteraction::Texts(const std::string& kind) const {
    std::vector<std::string> texts;
    const std::string prefix = kind + ": ";
    for (const auto& entry : log) {
        if (entry.rfind(prefix, 0) == 0) {
            texts.push_back(entry.substr(prefix.size()));
        }
    }
    return texts;
}

bool ScriptedInteraction::UnansweredQuestionsLeft() const {
    return !yesNo_.empty() || !confirms_.empty() || !replaces_.empty();
}

void ScriptedInteraction::ShowInformation(const std::string& text) { log.push_back("info: " + text); }

void ScriptedInteraction::ShowError(const std::string& text) { log.push_back("error: " + text); }

bool ScriptedInteraction::AskYesNo(const std::string& text) {
    log.push_back("question: " + text);
    if (yesNo_.empty()) {
        ADD_FAILURE() << "unscripted question: " << text;
        return false;
    }
    const bool answer = yesNo_.front();
    yesNo_.pop_front();
    return answer;
}

ConfirmAnswer ScriptedInteraction::Confirm(const std::string& text, int helpTopic) {
    log.push_back("confirm: " + text + " [help " + std::to_string(helpTopic) + "]");
    if (confirms_.empty()) {
        ADD_FAILURE() << "unscripted confirmation: " << text;
        return {};
    }
    const ConfirmAnswer answer = confirms_.front();
    confirms_.pop_front();
    return answer;
}

ReplaceAnswer ScriptedInteraction::AskReplace(const ReplaceQuestion& question) {
    log.push_back("replace: " + question.targetName);
    if (replaces_.empty()) {
        ADD_FAILURE() << "unscripted replace question: " << question.targetName;
        return ReplaceAnswer::Cancel;
    }
    const ReplaceAnswer answer = replaces_.front();
    replaces_.pop_front();
    return answer;
}

void ScriptedInteraction::SetBusy(bool busy) { log.push_back(busy ? "busy" : "idle"); }

void ScriptedInteraction::BeginNotice(const std::string& text) { log.push_back("notice: " + text); }

void ScriptedInteraction::EndNotice() { log.push_back("notice end"); }

void ScriptedInteraction::SetProgressMaximum(int maximum) { progressMaximum = maximum; }

void ScriptedInteraction::SetProgressPosition(int position) { progressPosition = position; }

void ScriptedInteraction::SetTaskText(const std::string& text) { log.push_back("task: " + text); }

void ScriptedInteraction::SetCounterText(const std::string& text) {
    log.push_back("counter: " + text);
}

bool ScriptedInteraction::CancelRequested() {
    ++cancelChecks;
    return cancelAfter_ >= 0 && cancelChecks >= cancelAfter_;
}

}  // namespace sonarchive::testing
