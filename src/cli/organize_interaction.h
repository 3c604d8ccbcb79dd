// How the file-changing verbs talk to the user: like every verb, except that --yes answers
// only the "Confirm" question. Replacing a file is asked at the terminal and answered No
// without one, unless --overwrite answers "Yes to all".
#pragma once

#include "cli/terminal_interaction.h"
#include "interaction/forwarding_interaction.h"

namespace sonarchive::cli {

class OrganizeInteraction final : public ForwardingInteraction {
public:
    OrganizeInteraction(Interaction& user, bool overwrite);

    bool AskYesNo(const std::string& text) override { return prompts_.AskYesNo(text); }
    ReplaceAnswer AskReplace(const ReplaceQuestion& question) override;

private:
    TerminalInteraction prompts_;  // the same terminal, without --yes
    bool overwrite_;
};

}  // namespace sonarchive::cli
