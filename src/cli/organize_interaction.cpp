#include "cli/organize_interaction.h"

#include <unistd.h>

#include <iostream>

namespace sonarchive::cli {

OrganizeInteraction::OrganizeInteraction(Interaction& user, bool overwrite)
    : ForwardingInteraction(user),
      prompts_(std::cin, std::cout, std::cerr, false, ::isatty(STDIN_FILENO) == 1),
      overwrite_(overwrite) {}

ReplaceAnswer OrganizeInteraction::AskReplace(const ReplaceQuestion& question) {
    return overwrite_ ? ReplaceAnswer::YesToAll : prompts_.AskReplace(question);
}

}  // namespace sonarchive::cli
