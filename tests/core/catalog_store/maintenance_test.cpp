#include "catalog_store/maintenance.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace sonarchive::catalog {
namespace {

using sonarchive::testing::ScriptedInteraction;
using sonarchive::testing::TempDir;

class MaintenanceTest : public ::testing::Test {
protected:
    MaintenanceTest() {
        Database& db = catalog.Engine();
        db.BeginTransaction();
        for (int i = 0; i < 1500; ++i) {
            TableAppender row(db, "maindata");
            row.SetText("dComment", std::string(240, 'x'));
            row.SetText("dPath", "/" + std::to_string(i) + ".mp3");
            row.Post();
        }
        db.Execute("insert into SubColl (dName) values ('Road trip')");
        db.Execute("insert into SubColl (dName) values ('Kitchen')");
        for (int i = 1; i <= 10; ++i) {
            db.Execute("insert into SubCollD (dDataId, dSubCollectionId, dPosition) values (" +
                       std::to_string(i) + ", " + std::to_string(1 + i % 2) + ", " +
                       std::to_string(i) + ")");
        }
        db.Commit();
    }

    std::int64_t Count(const std::string& table) {
        Query q(catalog.Engine(), "select count(*) from " + table);
        return q[0].AsInteger();
    }

    TempDir dir;
    Catalog catalog{dir.Path()};
    ScriptedInteraction user;
};

TEST_F(MaintenanceTest, PackShrinksTheFileAfterDeletes) {
    catalog.Engine().Execute("delete from maindata where id > 100");
    catalog.Engine().Disconnect();
    const auto before = std::filesystem::file_size(catalog.DatabasePath());
    EXPECT_TRUE(PackDatabase(catalog, user));
    EXPECT_EQ(user.log, (std::vector<std::string>{"notice: Packing database", "notice end",
                                                  "info: Database packed successfully."}));
    catalog.Engine().Disconnect();
    EXPECT_LT(std::filesystem::file_size(catalog.DatabasePath()), before / 2);
    EXPECT_EQ(Count("maindata"), 100);
}

TEST_F(MaintenanceTest, PackIsRefusedWhileAnotherProgramReads) {
    catalog.Engine().Execute("delete from maindata where id > 100");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(catalog.DatabasePath().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin; select count(*) from maindata;", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    const auto pagesBefore = [&] {
        Query q(catalog.Engine(), "pragma page_count");
        return q[0].AsInteger();
    }();
    EXPECT_FALSE(PackDatabase(catalog, user));
    EXPECT_EQ(user.Texts("error"),
              std::vector<std::string>{"Sonarchive: Exclusive rights to the database is needed. "
                                       "Are there more instances of Sonarchive running?"});
    EXPECT_TRUE(user.Texts("info").empty());
    EXPECT_EQ(user.log.back(), "notice end");
    sqlite3_exec(other, "commit", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    Query pages(catalog.Engine(), "pragma page_count");
    EXPECT_EQ(pages[0].AsInteger(), pagesBefore);
    EXPECT_EQ(Count("maindata"), 100);
}

TEST_F(MaintenanceTest, EmptyAsksTwiceAndKeepsCollectionsEmpty) {
    int countChanges = 0;
    catalog.Events().Subscribe([&](CatalogChange change) {
        countChanges += change == CatalogChange::FileCountChanged ? 1 : 0;
    });
    user.AnswerNo();
    EXPECT_FALSE(EmptyDatabase(catalog, user));
    user.AnswerYes();
    user.AnswerNo();
    EXPECT_FALSE(EmptyDatabase(catalog, user));
    EXPECT_EQ(Count("maindata"), 1500);
    EXPECT_EQ(countChanges, 0);

    user.AnswerYes(2);
    EXPECT_TRUE(EmptyDatabase(catalog, user));
    EXPECT_EQ(Count("maindata"), 0);
    EXPECT_EQ(Count("SubCollD"), 0);
    EXPECT_EQ(Count("SubColl"), 2);
    EXPECT_EQ(countChanges, 1);
    EXPECT_EQ(user.Texts("question"),
              (std::vector<std::string>{
                  "Delete every entry in the database (Collections will also be deleted) ?",
                  "Delete every entry in the database (Collections will also be deleted) ?",
                  "Empty database, Are you sure?",
                  "Delete every entry in the database (Collections will also be deleted) ?",
                  "Empty database, Are you sure?"}));
    EXPECT_FALSE(user.UnansweredQuestionsLeft());
}

TEST_F(MaintenanceTest, OrphanMembersAreRemovedFiftyAtATime) {
    Database& db = catalog.Engine();
    db.Execute("delete from SubCollD");
    for (int i = 0; i < 120; ++i) {
        db.Execute("insert into SubCollD (dDataId, dSubCollectionId) values (" +
                   std::to_string(5000 + i) + ", 1)");
    }
    db.Execute("insert into SubCollD (dDataId, dSubCollectionId) values (7, 1)");
    std::vector<std::string> deletes;
    db.SetStatementObserver([&](const std::string& sql) {
        if (sql.rfind("delete", 0) == 0) {
            deletes.push_back(sql);
        }
    });
    EXPECT_EQ(RemoveOrphanMembers(db), 120);
    ASSERT_EQ(deletes.size(), 3u);
    EXPECT_EQ(deletes[0].rfind("delete from subcolld where ddataid in(5000,5001,", 0), 0u);
    EXPECT_EQ(deletes[2].rfind("delete from subcolld where ddataid in(5100,", 0), 0u);
    EXPECT_EQ(Count("SubCollD"), 1);
    EXPECT_EQ(RemoveOrphanMembers(db), 0);
}

}  // namespace
}  // namespace sonarchive::catalog
