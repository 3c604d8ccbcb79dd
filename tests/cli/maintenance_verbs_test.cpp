#include <gtest/gtest.h>
#include <sqlite3.h>

#include "catalog_store/catalog.h"
#include "cli_support.h"

namespace sonarchive::cli {
namespace {

using sonarchive::testing::CliRun;

void AddRows(const std::string& dataDir, int rows) {
    catalog::Catalog catalog(dataDir);
    for (int i = 0; i < rows; ++i) {
        catalog.Engine().Execute("insert into maindata (dPath) values ('/" + std::to_string(i) +
                                 ".mp3')");
    }
    catalog.Engine().Execute("insert into SubColl (dName) values ('Mix')");
    catalog.Engine().Execute("insert into SubCollD (dDataId, dSubCollectionId) values (1, 1)");
}

TEST(CliProgram, AnswersHelpAndRefusesBadUsage) {
    CliRun cli;
    const auto help = cli.Run("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("Usage: sonarchive-cli"), std::string::npos);
    EXPECT_NE(help.output.find("  count "), std::string::npos);
    EXPECT_NE(help.output.find("  empty "), std::string::npos);
    for (const char* verb : {"count", "pack", "empty"}) {
        const auto verbHelp = cli.Run(std::string(verb) + " --help");
        EXPECT_EQ(verbHelp.exitCode, 0);
        EXPECT_NE(verbHelp.output.find(std::string("Usage: sonarchive-cli [--data-dir DIR] ") +
                                       verb),
                  std::string::npos);
    }
    EXPECT_EQ(cli.Run("").exitCode, 2);
    EXPECT_EQ(cli.Run("frobnicate").exitCode, 2);
    EXPECT_EQ(cli.Run("count surplus").exitCode, 2);
    EXPECT_EQ(cli.Run("count --bogus").exitCode, 2);
    EXPECT_EQ(cli.Run("count --data-dir").exitCode, 2);
}

TEST(CliProgram, CountsTheFilesOfTheChosenCatalog) {
    CliRun cli;
    EXPECT_EQ(cli.RunStdout("count").output, "Files in archive: 0\n");
    AddRows(cli.DataDir(), 3);
    const auto count = cli.RunStdout("count");
    EXPECT_EQ(count.exitCode, 0);
    EXPECT_EQ(count.output, "Files in archive: 3\n");
}

TEST(CliProgram, EmptiesOnlyWhenBothQuestionsAreAnsweredYes) {
    CliRun cli;
    AddRows(cli.DataDir(), 3);
    const auto refused = cli.Run("empty");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.output.find(
                  "Delete every entry in the database (Collections will also be deleted) ?"),
              std::string::npos);
    EXPECT_EQ(cli.RunStdout("count").output, "Files in archive: 3\n");

    const auto emptied = cli.Run("empty --yes");
    EXPECT_EQ(emptied.exitCode, 0) << emptied.output;
    EXPECT_EQ(cli.RunStdout("count").output, "Files in archive: 0\n");
    catalog::Catalog catalog(cli.DataDir());
    catalog::Query collections(catalog.Engine(), "select count(*) from SubColl");
    EXPECT_EQ(collections[0].AsInteger(), 1);
    catalog::Query members(catalog.Engine(), "select count(*) from SubCollD");
    EXPECT_EQ(members[0].AsInteger(), 0);
}

TEST(CliProgram, PacksUnlessAnotherProgramHoldsTheCatalog) {
    CliRun cli;
    AddRows(cli.DataDir(), 3);
    const auto packed = cli.Run("pack");
    EXPECT_EQ(packed.exitCode, 0);
    EXPECT_NE(packed.output.find("Database packed successfully."), std::string::npos);

    sqlite3* other = nullptr;
    const std::string path = cli.DataDir() + "/sonarchv.db";
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    sqlite3_exec(other, "begin; select count(*) from maindata;", nullptr, nullptr, nullptr);
    const auto refused = cli.Run("pack");
    sqlite3_exec(other, "commit", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.output.find("Sonarchive: Exclusive rights to the database is needed. Are "
                                  "there more instances of Sonarchive running?"),
              std::string::npos);
}

}  // namespace
}  // namespace sonarchive::cli
