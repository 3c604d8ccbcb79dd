#include "cli/terminal_interaction.h"

#include <atomic>
#include <cctype>
#include <iostream>
#include <string>

#include "text/path_bytes.h"

namespace sonarchive::cli {
namespace {

std::atomic<bool> cancelRequested{false};

}  // namespace

TerminalInteraction::TerminalInteraction(std::istream& in, std::ostream& out, std::ostream& err,
                                         bool assumeYes, bool interactive)
    : in_(in), out_(out), err_(err), assumeYes_(assumeYes), interactive_(interactive) {}

void TerminalInteraction::RequestCancel() { cancelRequested = true; }

// Texts may name files: a name's bytes that are not UTF-8 show as ISO-8859-1 characters.
void TerminalInteraction::ShowInformation(const std::string& text) {
    out_ << text::PathForDisplay(text) << "\n";
}

void TerminalInteraction::ShowError(const std::string& text) {
    err_ << text::PathForDisplay(text) << "\n";
}

char TerminalInteraction::Ask(const std::string& question, const std::string& answers,
                              char whenUnanswered) {
    if (assumeYes_) {
        return answers.front();
    }
    const std::string prompt = text::PathForDisplay(question);
    if (!interactive_) {
        // Nobody can answer: say what was asked and what the answer was.
        err_ << prompt << "(no terminal; --yes answers Yes)\n";
        return whenUnanswered;
    }
    out_ << prompt << std::flush;
    std::string line;
    while (std::getline(in_, line)) {
        if (!line.empty()) {
            const char answer = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
            if (answers.find(answer) != std::string::npos) {
                return answer;
            }
        }
        out_ << prompt << std::flush;
    }
    return whenUnanswered;
}

bool TerminalInteraction::AskYesNo(const std::string& text) {
    return Ask(text + " [y/n] ", "yn", 'n') == 'y';
}

ConfirmAnswer TerminalInteraction::Confirm(const std::string& text, int) {
    return {Ask(text + " [o(k)/c(ancel)] ", "oc", 'c') == 'o', false};
}

ReplaceAnswer TerminalInteraction::AskReplace(const ReplaceQuestion& question) {
    const std::string prompt = "This folder already contains a file named '" +
                               question.targetName + "'. Replace " + question.existingPath +
                               " with " + question.newPath +
                               "? [y(es)/a(ll)/n(o)/l (no to all)/c(ancel)] ";
    switch (Ask(prompt, "yanlc", 'n')) {
        case 'y':
            return ReplaceAnswer::Yes;
        case 'a':
            return ReplaceAnswer::YesToAll;
        case 'l':
            return ReplaceAnswer::NoToAll;
        case 'c':
            return ReplaceAnswer::Cancel;
        default:
            return ReplaceAnswer::No;
    }
}

void TerminalInteraction::BeginNotice(const std::string& text) {
    if (interactive_) {
        err_ << text::PathForDisplay(text) << "\n";
    }
}

void TerminalInteraction::SetProgressMaximum(int maximum) {
    progressMaximum_ = maximum;
    progressPosition_ = 0;
}

void TerminalInteraction::SetProgressPosition(int position) {
    progressPosition_ = position;
    DrawProgress();
}

void TerminalInteraction::DrawProgress() {
    if (!interactive_ || progressMaximum_ <= 0) {
        return;
    }
    err_ << "\r" << progressPosition_ << "/" << progressMaximum_
         << (progressPosition_ >= progressMaximum_ ? "\n" : "") << std::flush;
}

bool TerminalInteraction::CancelRequested() { return cancelRequested; }

}  // namespace sonarchive::cli
