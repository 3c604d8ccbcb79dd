#include "catalog_store/startup.h"

#include <filesystem>

#include "catalog_store/schema.h"
#include "catalog_store/sql_text.h"
#include "interaction/scopes.h"
#include "text/text.h"

namespace sonarchive::catalog {
namespace {

constexpr const char* kRecreateIndexesText =
    "The database error reported, may occur if you have upgraded Windows or changed its active "
    "language. Sonarchive will recreate the index files. Make sure no other instances of "
    "Sonarchive is running.";
constexpr const char* kStillErrorsText =
    "There are still errors reported. Try to delete index files manually (\".adi\" and \".ai\" "
    "files and restart Sonarchive.";
constexpr int kRequiredPathWidth = 230;
constexpr int kSmallestGoodPageSize = 512;
constexpr int kRebuiltPageSize = 1024;

bool IsDamage(const EngineError& error) {
    return error.PrimaryCode() == SQLITE_CORRUPT || error.PrimaryCode() == SQLITE_NOTADB;
}

// The structure check SQLite offers besides the count: every page of every table and index.
void CheckStructure(Database& database) {
    Query check(database, "pragma quick_check");
    std::string problems;
    for (; !check.AtEnd(); check.Next()) {
        const std::string line = check[0].AsText();
        if (line != "ok") {
            problems += (problems.empty() ? "" : "; ") + line;
        }
    }
    if (!problems.empty()) {
        throw EngineError(SQLITE_CORRUPT, problems);
    }
}

bool TableExists(Database& database, const std::string& table) {
    Query found(database, "select 1 from sqlite_master where type = 'table' and name = '" +
                              SqlQuote(table) + "' collate nocase");
    return !found.AtEnd();
}

}  // namespace

CatalogStartup::CatalogStartup(Catalog& catalog, Registry& registry, Interaction& interaction)
    : catalog_(catalog), registry_(registry), interaction_(interaction) {}

StartupOutcome CatalogStartup::Run() {
    StartupOutcome outcome;
    if (IndexCheck(true)) {
        EnsureCatalogIndexes(catalog_.Engine());
        UpgradePageSize();
        UpgradePathWidth();
        outcome.rereadRequested = AddFileDateColumn();
        outcome.schemaStepsRun = true;
    } else if (!IndexCheck(false)) {
        interaction_.ShowError(kStillErrorsText);
        outcome.endProgram = true;
    }
    return outcome;
}

bool CatalogStartup::IndexCheck(bool reporting) {
    Database& database = catalog_.Engine();
    try {
        Query count(database, "select count(*) from maindata");
        count.Next();
        CheckStructure(database);
        return true;
    } catch (const EngineError& error) {
        if (!IsDamage(error)) {
            return true;
        }
        if (reporting) {
            interaction_.ShowError(std::string(Catalog::kDatabaseFileName) + ":" +
                                   error.Message() + "\n\n" + kRecreateIndexesText);
        }
    }
    RecreateIndexes();
    return false;
}

void CatalogStartup::RecreateIndexes() {
    Database& database = catalog_.Engine();
    database.Disconnect();
    try {
        database.Reindex();
        CheckStructure(database);
        return;
    } catch (const EngineError&) {
        // A damaged index page cannot always be rebuilt in place; build the file anew from its
        // tables below.
    }
    try {
        database.RebuildFromTables();
    } catch (const EngineError&) {
        // What could not be repaired shows in the next check.
    }
}

void CatalogStartup::UpgradePageSize() {
    if (registry_.ReadRegInteger("INDEX_PAGE_SIZE") > 0) {
        return;
    }
    Database& database = catalog_.Engine();
    if (!TableExists(database, "maindata")) {
        return;
    }
    const int pageSize = database.PageSize();
    if (pageSize > kSmallestGoodPageSize) {
        registry_.WriteRegInteger("INDEX_PAGE_SIZE", pageSize);
        return;
    }
    try {
        database.Disconnect();
        database.RebuildWithPageSize(kRebuiltPageSize);
    } catch (const EngineError& error) {
        interaction_.ShowError("Error opening the table exclusive:" + std::to_string(error.Code()) +
                               "\r\n" + error.Message());
        return;
    }
    registry_.WriteRegInteger("INDEX_PAGE_SIZE", kRebuiltPageSize);
}

void CatalogStartup::UpgradePathWidth() {
    Database& database = catalog_.Engine();
    database.Disconnect();
    BusyScope busy(interaction_);
    int width = 0;
    {
        Query path(database, "select dpath from maindata where id = 0");
        width = path.DeclaredWidth(0);
    }
    if (width < kRequiredPathWidth) {
        NoticeScope notice(interaction_, "Updating database structure");
        database.Execute("alter table maindata alter column dpath dpath char(230)");
    }
}

bool CatalogStartup::AddFileDateColumn() {
    Database& database = catalog_.Engine();
    database.Disconnect();
    BusyScope busy(interaction_);
    bool hasFileDate = false;
    {
        Query columns(database, "select * from maindata where id = 0");
        for (const auto& name : columns.ColumnNames()) {
            hasFileDate = hasFileDate || text::UpperCase(name) == "DFILEDATE";
        }
    }
    if (hasFileDate) {
        return false;
    }
    NoticeScope notice(interaction_, "Updating database structure, adding field \"dFileDate\"...");
    database.Execute("alter table maindata ADD dFileDate DATE");
    return interaction_.AskYesNo(
        "You need to reread tags to update the \"file date\" field. Do you wish to do this now?");
}

bool TakeFirstTimeUsage(Registry& registry, GeneralSettings& settings) {
    if (!settings.FirstTimeUsage) {
        return false;
    }
    settings.FirstTimeUsage = false;
    SaveGeneralSettings(registry, settings);
    return true;
}

}  // namespace sonarchive::catalog
