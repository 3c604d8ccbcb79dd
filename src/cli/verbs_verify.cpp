// verify: SQLite's own consistency checks on the catalog file. The catalog's case-mapping
// indexes are built on the program's Unicode upper(), which other tools do not have, so only a
// connection of the program's engine can check them.
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

#include "catalog_store/catalog.h"
#include "cli/verbs.h"

namespace sonarchive::cli {
namespace {

// The lines SQLite reports other than its single "ok"; the damage itself when the file
// cannot be read far enough to check it.
std::vector<std::string> CheckProblems(const std::string& databasePath, bool quick) {
    std::vector<std::string> problems;
    try {
        catalog::Database database(databasePath);
        catalog::Query check(database, quick ? "pragma quick_check" : "pragma integrity_check");
        for (; !check.AtEnd(); check.Next()) {
            const std::string line = check[0].AsText();
            if (line != "ok") {
                problems.push_back(line);
            }
        }
    } catch (const catalog::EngineError& error) {
        if (error.PrimaryCode() != SQLITE_CORRUPT && error.PrimaryCode() != SQLITE_NOTADB) {
            throw;
        }
        problems.push_back(error.Message());
    }
    return problems;
}

int Verify(Arguments& arguments, CliContext& context) {
    const bool json = arguments.TakeFlag("--json");
    const bool quick = arguments.TakeFlag("--quick");
    if (!arguments.Rest().empty()) {
        throw UsageError{"verify takes no arguments"};
    }
    // Checking must not make a catalog where there is none, nor repair one before looking.
    const std::string path =
        (std::filesystem::path(context.DataDirectory()) / catalog::Catalog::kDatabaseFileName)
            .string();
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        context.User().ShowError("There is no catalog in " + context.DataDirectory());
        return kExitFailure;
    }
    const std::vector<std::string> problems = CheckProblems(path, quick);
    if (json) {
        const nlohmann::json report = {{"ok", problems.empty()}, {"problems", problems}};
        std::cout << report.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    } else if (problems.empty()) {
        std::cout << "ok\n";
    } else {
        for (const std::string& line : problems) {
            std::cout << line << '\n';
        }
    }
    return problems.empty() ? kExitSuccess : kExitFailure;
}

}  // namespace

void AddVerifyVerb(std::vector<Verb>& verbs) {
    verbs.push_back(
        {"verify", "check the catalog file for damage",
         "Usage: sonarchive-cli [--data-dir DIR] verify [--quick] [--json]\n\n"
         "Runs SQLite's integrity check on the catalog, with the program's Unicode case\n"
         "mapping that its indexes are built on, and prints \"ok\" or one line per problem.\n"
         "--quick runs the faster check that does not compare the indexes with their\n"
         "tables. With --json prints {\"ok\":true|false,\"problems\":[lines]}. Nothing is\n"
         "changed or repaired. Exit status 1 when there is a problem or no catalog.\n",
         Verify});
}

}  // namespace sonarchive::cli
