#include "catalog_store/case_functions.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "catalog_store/catalog.h"
#include "catalog_store/schema.h"
#include "catalog_store/startup.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"
#include "text/text.h"

namespace sonarchive::catalog {
namespace {

using sonarchive::testing::RunCommand;
using sonarchive::testing::ShellQuote;
using sonarchive::testing::TempDir;

TEST(MapCaseFunctions, RenamesCallsOutsideQuotesOnly) {
    EXPECT_EQ(MapCaseFunctions("select upper(dArtist), LOWER (dAlbum) from maindata"),
              "select unicode_upper(dArtist), unicode_lower (dAlbum) from maindata");
    EXPECT_EQ(MapCaseFunctions("where upper(dTitle) like upper('%upper(x)%')"),
              "where unicode_upper(dTitle) like unicode_upper('%upper(x)%')");
    // Literals with doubled quotes, quoted names, and names that merely end in "upper".
    EXPECT_EQ(MapCaseFunctions("select 'it''s lower(' , \"upper(\", [lower(], dupper(x), "
                               "t.upper(x), unicode_upper(y), upper"),
              "select 'it''s lower(' , \"upper(\", [lower(], dupper(x), t.upper(x), "
              "unicode_upper(y), upper");
    EXPECT_EQ(MapCaseFunctions("select 'unclosed upper("), "select 'unclosed upper(");
    EXPECT_EQ(MapCaseFunctions(""), "");
}

// SQLite words it "no such function: unicode_upper"; the shell of some versions "unknown
// function: unicode_upper()".
bool RefusedForWantOfTheFunction(const std::string& message) {
    return message.find("function: unicode_upper") != std::string::npos;
}

// A catalog whose artists are not all ASCII, as other SQLite tools find it.
class OtherTools : public ::testing::Test {
protected:
    OtherTools() {
        Catalog catalog(dir / "data");
        for (int i = 1; i <= 60; ++i) {
            TableAppender row(catalog.Engine(), "maindata");
            row.SetText("dArtist", i % 2 == 0 ? "Motörhead" : "Björk");
            row.SetText("dAlbum", "Ace of Spades");
            row.SetText("dGenre", "Métal");
            row.Post();
        }
    }

    std::string DatabasePath() const {
        return dir / (std::string("data/") + Catalog::kDatabaseFileName);
    }

    // The sqlite3 shell on the catalog; standard output and error together.
    testing::CommandResult Shell(const std::string& sql) const {
        return RunCommand("sqlite3 " + ShellQuote(DatabasePath()) + " " + ShellQuote(sql) +
                          " 2>&1");
    }

    std::int64_t ProgramCount(const std::string& condition) {
        Catalog catalog(dir / "data");
        Query count(catalog.Engine(), "select count(*) from maindata where " + condition);
        return count[0].AsInteger();
    }

    TempDir dir;
};

TEST_F(OtherTools, TheSqliteShellReadsEveryRowAndCannotWriteTheIndexedColumns) {
    if (!testing::HaveProgram("sqlite3")) {
        GTEST_SKIP() << "no sqlite3 shell";
    }
    EXPECT_EQ(Shell("select count(*) from maindata").output, "60\n");
    EXPECT_EQ(Shell("select count(*) from maindata where dArtist = 'Motörhead'").output, "30\n");

    const auto deleted = Shell("delete from maindata where dArtist = 'Motörhead'");
    EXPECT_NE(deleted.exitCode, 0);
    EXPECT_TRUE(RefusedForWantOfTheFunction(deleted.output)) << deleted.output;
    const auto inserted = Shell("insert into maindata (dArtist) values ('Motörhead')");
    EXPECT_TRUE(RefusedForWantOfTheFunction(inserted.output)) << inserted.output;

    EXPECT_EQ(ProgramCount("1=1"), 60);
    EXPECT_EQ(ProgramCount("upper(dArtist) = 'MOTÖRHEAD'"), 30);
    EXPECT_EQ(ProgramCount("lower(dGenre) = 'métal'"), 60);
    Catalog catalog(dir / "data");
    Query check(catalog.Engine(), "pragma integrity_check");
    EXPECT_EQ(check[0].AsText(), "ok");
    Query plan(catalog.Engine(),
               "explain query plan select id from maindata where upper(dArtist) = 'MOTÖRHEAD'");
    EXPECT_NE(plan["detail"].AsText().find("maindata_upper_artist"), std::string::npos);
}

// The indexes of an older version: built on a function that took the name upper() itself.
void MakeOldCaseIndexes(const std::string& databasePath) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(databasePath.c_str(), &db), SQLITE_OK);
    const auto upper = [](sqlite3_context* context, int, sqlite3_value** arguments) {
        const std::string mapped =
            text::UpperCase(reinterpret_cast<const char*>(sqlite3_value_text(arguments[0])));
        sqlite3_result_text(context, mapped.c_str(), -1, SQLITE_TRANSIENT);
    };
    sqlite3_create_function_v2(db, "upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, upper,
                               nullptr, nullptr, nullptr);
    for (const char* sql : {"drop index maindata_upper_artist", "drop index maindata_upper_album",
                            "drop index maindata_upper_genre",
                            "create index maindata_upper_artist on maindata (upper(dArtist))",
                            "create index maindata_upper_album on maindata (upper(dAlbum))",
                            "create index maindata_upper_genre on maindata (upper(dGenre))"}) {
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    }
    sqlite3_close(db);
}

TEST_F(OtherTools, AnOlderCatalogsIndexesAreReplacedAtStart) {
    MakeOldCaseIndexes(DatabasePath());
    EXPECT_EQ(ProgramCount("upper(dArtist) = 'MOTÖRHEAD'"), 30);  // found before, unindexed

    platform::SettingsFile settings(dir / "settings.json");
    testing::ScriptedInteraction user;
    {
        Catalog catalog(dir / "data");
        Registry registry(settings, user);
        EXPECT_FALSE(CatalogStartup(catalog, registry, user).Run().endProgram);
        Query stored(catalog.Engine(),
                     "select count(*) from sqlite_master where type = 'index' "
                     "and sql like '%unicode_upper(d%'");
        EXPECT_EQ(stored[0].AsInteger(), 3);
        Query check(catalog.Engine(), "pragma integrity_check");
        EXPECT_EQ(check[0].AsText(), "ok");
    }
    EXPECT_TRUE(user.Texts("error").empty());
    EXPECT_EQ(ProgramCount("upper(dArtist) = 'MOTÖRHEAD' and upper(dAlbum) = 'ACE OF SPADES' "
                           "and upper(dGenre) = 'MÉTAL'"),
              30);
    if (testing::HaveProgram("sqlite3")) {
        EXPECT_TRUE(
            RefusedForWantOfTheFunction(Shell("delete from maindata where id > 30").output));
        EXPECT_EQ(ProgramCount("1=1"), 60);
    }
}

}  // namespace
}  // namespace sonarchive::catalog
