// What a verb takes, read from the usage lines of its help text. The help texts are the one
// description of every verb's options, so the shell completion and the manual pages follow a
// new verb or option without being told.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sonarchive::cli {

struct OptionForm {
    std::string name;   // "--formats"
    std::string value;  // its placeholder ("LIST|all"); empty for a flag
};

// One usage statement: "sonarchive-cli [--data-dir DIR] collection add ID FILEID...".
struct UsageForm {
    std::string subVerb;  // "add"; empty when the verb has none
    std::vector<OptionForm> options;
    // Placeholders of the words that are no options, in order; one ending in "..." repeats.
    std::vector<std::string> positionals;
};

// The statements of the usage block (from "Usage:" to the first empty line) of a verb's help.
// The program's own options ([--data-dir DIR], [--yes]) before the verb are left out.
std::vector<UsageForm> ReadUsageForms(std::string_view verb, std::string_view help);

// The lines of the usage block, and the text after it.
struct HelpParts {
    std::vector<std::string> usage;  // without "Usage: ", each statement's lines joined
    std::string body;
};
HelpParts SplitHelp(std::string_view help);

// The lower-case words a placeholder offers: "artist|album|genre" gives all three, "LIST|all"
// gives "all"; words that are lists ("a,b") or name a placeholder are left out.
std::vector<std::string> PlaceholderChoices(std::string_view placeholder);

}  // namespace sonarchive::cli
