#include "catalog_store/startup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "catalog_files.h"
#include "catalog_store/schema.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace sonarchive::catalog {
namespace {

using sonarchive::testing::ScriptedInteraction;
using sonarchive::testing::TempDir;

constexpr const char* kFileDateQuestion =
    "You need to reread tags to update the \"file date\" field. Do you wish to do this now?";

class StartupTest : public ::testing::Test {
protected:
    std::string DatabasePath() const { return dir / Catalog::kDatabaseFileName; }

    StartupOutcome Start(ScriptedInteraction& user) {
        Catalog catalog(dir.Path());
        Registry registry(settings, user);
        CatalogStartup startup(catalog, registry, user);
        const StartupOutcome outcome = startup.Run();
        if (!outcome.endProgram) {
            fileCount = catalog.FileCount();
            pathType = catalog.Engine().DeclaredType("maindata", "dPath");
            fileDateType = catalog.Engine().DeclaredType("maindata", "dFileDate");
            pageSize = catalog.Engine().PageSize();
        }
        return outcome;
    }

    TempDir dir;
    platform::SettingsFile settings{dir / "settings.json"};
    std::int64_t fileCount = -1;
    std::string pathType;
    std::string fileDateType;
    int pageSize = 0;
};

TEST_F(StartupTest, UpgradesAnOlderCatalogOnceAndAsksAboutRereadingOnce) {
    testfiles::MakeOldCatalog(DatabasePath(), 300);

    ScriptedInteraction first;
    first.AnswerYes();
    const StartupOutcome outcome = Start(first);
    EXPECT_TRUE(outcome.schemaStepsRun);
    EXPECT_TRUE(outcome.rereadRequested);
    EXPECT_FALSE(outcome.endProgram);
    EXPECT_EQ(fileCount, 300);
    EXPECT_EQ(pathType, "char(230)");
    EXPECT_EQ(fileDateType, "DATE");
    EXPECT_EQ(pageSize, 1024);
    EXPECT_EQ(first.Texts("notice"),
              (std::vector<std::string>{
                  "Updating database structure",
                  "Updating database structure, adding field \"dFileDate\"..."}));
    EXPECT_EQ(first.Texts("question"), std::vector<std::string>{kFileDateQuestion});
    EXPECT_TRUE(first.Texts("error").empty());
    Registry registry(settings, first);
    EXPECT_EQ(registry.ReadRegInteger("INDEX_PAGE_SIZE"), 1024);

    ScriptedInteraction second;
    const StartupOutcome again = Start(second);
    EXPECT_FALSE(again.rereadRequested);
    EXPECT_TRUE(second.Texts("question").empty());
    EXPECT_TRUE(second.Texts("notice").empty());
    EXPECT_EQ(fileCount, 300);
}

TEST_F(StartupTest, AnsweringNoLeavesTheFileDateEmpty) {
    testfiles::MakeOldCatalog(DatabasePath(), 3);
    ScriptedInteraction user;
    user.AnswerNo();
    EXPECT_FALSE(Start(user).rereadRequested);
    Catalog catalog(dir.Path());
    Query row(catalog.Engine(), "select dFileDate from maindata where id = 1");
    EXPECT_TRUE(row[0].IsNull());
    EXPECT_DOUBLE_EQ(row[0].AsDateTime(), 0);
}

TEST_F(StartupTest, ANewCatalogRecordsItsPageSizeAndNeedsNoUpgrade) {
    ScriptedInteraction user;
    const StartupOutcome outcome = Start(user);
    EXPECT_TRUE(outcome.schemaStepsRun);
    EXPECT_TRUE(user.Texts("notice").empty());
    EXPECT_TRUE(user.Texts("question").empty());
    Registry registry(settings, user);
    EXPECT_EQ(registry.ReadRegInteger("INDEX_PAGE_SIZE"), pageSize);
    EXPECT_GT(pageSize, 512);
}

TEST_F(StartupTest, AKnownPageSizeOpensNoTable) {
    ScriptedInteraction user;
    Registry registry(settings, user);
    registry.WriteRegInteger("INDEX_PAGE_SIZE", 1024);
    Catalog catalog(dir.Path());
    std::vector<std::string> statements;
    catalog.Engine().SetStatementObserver([&](const std::string& sql) {
        statements.push_back(sql);
    });
    CatalogStartup(catalog, registry, user).UpgradePageSize();
    EXPECT_TRUE(statements.empty());
}

TEST_F(StartupTest, RecoversADamagedIndexAndSkipsTheUpgradeThisTime) {
    testfiles::MakeOldCatalog(DatabasePath(), 500);
    {
        Catalog catalog(dir.Path());
        EnsureCatalogIndexes(catalog.Engine());
    }
    testfiles::DamageRootPage(DatabasePath(), "maindata_drive_type");

    ScriptedInteraction user;
    const StartupOutcome outcome = Start(user);
    EXPECT_FALSE(outcome.endProgram);
    EXPECT_FALSE(outcome.schemaStepsRun);
    const auto errors = user.Texts("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("sonarchv.db:", 0), 0u);
    EXPECT_NE(errors[0].find(
                  "\n\nThe database error reported, may occur if you have upgraded Windows or "
                  "changed its active language. Sonarchive will recreate the index files. Make "
                  "sure no other instances of Sonarchive is running."),
              std::string::npos);
    EXPECT_EQ(fileCount, 500);
    EXPECT_EQ(fileDateType, "");  // the upgrade waits for the next start
    {
        Catalog catalog(dir.Path());
        Query byType(catalog.Engine(), "select count(*) from maindata where dDriveType = 3");
        EXPECT_EQ(byType[0].AsInteger(), 500);
        Query byArtist(catalog.Engine(),
                       "select count(*) from maindata where upper(dArtist) = 'BJÖRK'");
        EXPECT_EQ(byArtist[0].AsInteger(), 500);
        catalog.Engine().Execute("insert into maindata (dPath) values ('/new.mp3')");
        EXPECT_EQ(catalog.Engine().LastInsertId(), 501);
    }

    ScriptedInteraction next;
    next.AnswerNo();
    EXPECT_TRUE(Start(next).schemaStepsRun);
    EXPECT_TRUE(next.Texts("error").empty());
    EXPECT_EQ(fileDateType, "DATE");
}

TEST_F(StartupTest, TheCheckReportsTenProblemsAtMost) {
    testfiles::MakeOldCatalog(DatabasePath(), 2000);
    {
        Catalog catalog(dir.Path());
        EnsureCatalogIndexes(catalog.Engine());
    }
    testfiles::ScrambleRootPageCells(DatabasePath(), "maindata_drive_type");
    ScriptedInteraction user;
    EXPECT_FALSE(Start(user).endProgram);
    const auto errors = user.Texts("error");
    ASSERT_EQ(errors.size(), 1u);
    const std::string& report = errors[0];
    const auto more = report.find(" more)\n\nThe database error reported");
    ASSERT_NE(more, std::string::npos) << report;
    const auto opening = report.rfind("\n(", more);
    ASSERT_NE(opening, std::string::npos);
    EXPECT_EQ(
        std::count(report.begin(), report.begin() + static_cast<std::ptrdiff_t>(opening), '\n'),
        9)  // ten lines
        << report;
    EXPECT_EQ(fileCount, 2000);
}

TEST_F(StartupTest, EndsTheProgramWhenTheRepairDoesNotHelp) {
    testfiles::MakeOldCatalog(DatabasePath(), 500);
    testfiles::DamageRootPage(DatabasePath(), "maindata");
    ScriptedInteraction user;
    user.AnswerNo();  // to the offer to salvage the catalog
    const StartupOutcome outcome = Start(user);
    EXPECT_TRUE(outcome.endProgram);
    const auto errors = user.Texts("error");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[1],
              "There are still errors reported. Try to delete index files manually (\".adi\" and "
              "\".ai\" files and restart Sonarchive.");
}

TEST(FirstTimeUsage, IsTakenOnceAndSavedAtOnce) {
    TempDir dir;
    platform::SettingsFile file(dir / "settings.json");
    ScriptedInteraction user;
    Registry registry(file, user);
    GeneralSettings general = BuiltInGeneralSettings();
    LoadGeneralSettings(registry, general);
    EXPECT_TRUE(TakeFirstTimeUsage(registry, general));
    EXPECT_EQ(registry.ReadRegInteger("FIRST_TIME_USAGE"), 0);
    GeneralSettings later = BuiltInGeneralSettings();
    LoadGeneralSettings(registry, later);
    EXPECT_FALSE(TakeFirstTimeUsage(registry, later));
}

}  // namespace
}  // namespace sonarchive::catalog
