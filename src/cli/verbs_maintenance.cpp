// count, pack, empty: the catalog's maintenance from the command line.
#include "catalog_store/maintenance.h"
#include "cli/verbs.h"

#include <iostream>

namespace sonarchive::cli {
namespace {

int Count(Arguments& arguments, CliContext& context) {
    if (!arguments.Rest().empty()) {
        throw UsageError{"count takes no arguments"};
    }
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    std::cout << "Files in archive: " << catalog->FileCount() << "\n";
    return kExitSuccess;
}

int Pack(Arguments& arguments, CliContext& context) {
    if (!arguments.Rest().empty()) {
        throw UsageError{"pack takes no arguments"};
    }
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    return catalog::PackDatabase(*catalog, context.User()) ? kExitSuccess : kExitFailure;
}

int Empty(Arguments& arguments, CliContext& context) {
    if (!arguments.Rest().empty()) {
        throw UsageError{"empty takes no arguments"};
    }
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    return catalog::EmptyDatabase(*catalog, context.User()) ? kExitSuccess : kExitFailure;
}

}  // namespace

void AddMaintenanceVerbs(std::vector<Verb>& verbs) {
    verbs.push_back({"count", "print the number of files in the archive",
                     "Usage: sonarchive-cli [--data-dir DIR] count\n\n"
                     "Prints \"Files in archive: N\".\n",
                     Count});
    verbs.push_back({"pack", "remove deleted rows from the catalog file",
                     "Usage: sonarchive-cli [--data-dir DIR] pack\n\n"
                     "Packs the catalog. Fails when another program is using it.\n",
                     Pack});
    verbs.push_back({"empty", "delete every entry of the archive (collections stay, empty)",
                     "Usage: sonarchive-cli [--data-dir DIR] empty [--yes]\n\n"
                     "Asks twice before deleting every entry; --yes answers Yes to both.\n"
                     "Without a terminal and without --yes nothing is deleted.\n",
                     Empty});
}

}  // namespace sonarchive::cli
