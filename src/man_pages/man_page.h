// Manual pages made from the programs' --help texts, so that a verb or option appears in its
// page as soon as its help describes it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sonarchive::man {

// Text made literal for roff: backslashes and hyphens escaped, a leading dot or quote
// neutralised.
std::string RoffText(std::string_view text);

// One entry of a help section such as "Options:": "  --data-dir DIR  the catalog's folder".
struct HelpEntry {
    std::string term;
    std::string description;
};

// A help text's parts after its usage lines: plain paragraphs, lists under a heading, and the
// paragraph that begins "Exit status".
struct HelpBody {
    std::vector<std::string> paragraphs;  // lines joined with '\n'
    struct Section {
        std::string heading;  // "Options", without the colon
        std::vector<HelpEntry> entries;
    };
    std::vector<Section> sections;
    std::string exitStatus;
};
HelpBody ReadHelpBody(std::string_view body);

struct VerbHelp {
    std::string name;
    std::string summary;
    std::string help;  // the verb's own --help
};

struct ManPageSource {
    std::string name;     // "sonarchive-cli"
    std::string summary;  // the NAME line after the dash
    std::string version;
    std::string help;  // the program's --help
    std::vector<VerbHelp> verbs;
    std::string includedRoff;  // sections added as they are (files, environment)
    std::vector<std::string> seeAlso;
};

std::string WriteManPage(const ManPageSource& source);

}  // namespace sonarchive::man
