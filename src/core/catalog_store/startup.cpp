#include "catalog_store/startup.h"

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "catalog_store/salvage.h"
#include "catalog_store/schema.h"
#include "catalog_store/sql_text.h"
#include "interaction/scopes.h"
#include "text/path_bytes.h"
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
// Its report is cut to its first lines: a damaged file can give hundreds.
void CheckStructure(Database& database) {
    Query check(database, "pragma quick_check");
    std::vector<std::string> problems;
    for (; !check.AtEnd(); check.Next()) {
        const std::string report = check[0].AsText();
        if (report == "ok") {
            continue;
        }
        std::size_t start = 0;
        while (start <= report.size()) {
            const std::size_t end = std::min(report.find('\n', start), report.size());
            if (end > start) {
                problems.push_back(report.substr(start, end - start));
            }
            start = end + 1;
        }
    }
    if (!problems.empty()) {
        std::string text = LimitedLines(problems);
        text.pop_back();
        throw EngineError(SQLITE_CORRUPT, text);
    }
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string SalvageQuestion(const std::string& damagedPath) {
    return "The database is still damaged. Sonarchive can copy every entry that can still be "
           "read into a new database and keep the damaged database as \"" +
           FileNameOf(damagedPath) + "\". Do you wish to salvage the database now?";
}

std::string SalvageReportText(const SalvageReport& report, const std::string& damagedPath) {
    std::string text = "The database has been salvaged. Entries saved:";
    for (const auto& table : report.tables) {
        text += " " + table.name + " " + std::to_string(table.saved) + ",";
    }
    text.back() = '.';
    text += "\n";
    if (!report.problems.empty()) {
        text += "\n" + LimitedLines(report.problems) + "\n";
    }
    return text + "The damaged database is kept as \"" + damagedPath + "\".";
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
        outcome.endProgram = !OfferSalvage();
        outcome.salvaged = !outcome.endProgram;
    }
    return outcome;
}

bool CatalogStartup::OfferSalvage() {
    Database& database = catalog_.Engine();
    database.Disconnect();
    const std::string damagedPath = text::PathFromSystem(
        DamagedFileName(text::PathToSystem(catalog_.DatabasePath()), std::time(nullptr)));
    if (!interaction_.AskYesNo(SalvageQuestion(damagedPath))) {
        interaction_.ShowError(kStillErrorsText);
        return false;
    }
    try {
        const BusyScope busy(interaction_);
        const NoticeScope notice(interaction_, "Salvaging database");
        const SalvageReport report = SalvageDatabase(text::PathToSystem(catalog_.DatabasePath()),
                                                     text::PathToSystem(damagedPath));
        interaction_.ShowInformation(SalvageReportText(report, damagedPath));
        return true;
    } catch (const EngineError& error) {
        interaction_.ShowError("The database could not be salvaged: " + error.Message());
        return false;
    }
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
