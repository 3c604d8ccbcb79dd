// The verbs of the command-line program.
#pragma once

#include <functional>
#include <span>
#include <string>

#include "cli/cli_context.h"

namespace sonarchive::cli {

struct Verb {
    std::string name;
    std::string summary;  // one line for the program's --help
    std::string help;     // the verb's own --help text
    std::function<int(Arguments&, CliContext&)> run;
};

// Every verb, in the order the program's help lists them.
std::span<const Verb> AllVerbs();

// The verbs of each area; AllVerbs joins them.
void AddMaintenanceVerbs(std::vector<Verb>& verbs);
void AddCataloguingVerbs(std::vector<Verb>& verbs);
void AddInspectVerb(std::vector<Verb>& verbs);
void AddVolumeVerbs(std::vector<Verb>& verbs);
void AddListVerbs(std::vector<Verb>& verbs);
void AddOrganizeVerbs(std::vector<Verb>& verbs);
void AddCollectionVerbs(std::vector<Verb>& verbs);
void AddTagVerbs(std::vector<Verb>& verbs);
void AddReportVerbs(std::vector<Verb>& verbs);
void AddVerifyVerb(std::vector<Verb>& verbs);

}  // namespace sonarchive::cli
