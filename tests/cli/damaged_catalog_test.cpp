// A catalog whose table pages are damaged, opened from the command line.
#include <gtest/gtest.h>

#include <filesystem>

#include "catalog_files.h"
#include "catalog_store/catalog.h"
#include "cli_support.h"

namespace sonarchive::cli {
namespace {

using sonarchive::testing::CliRun;

TEST(DamagedCatalog, IsSalvagedWhenYesAnswersTheQuestion) {
    CliRun cli;
    {
        catalog::Catalog catalog(cli.DataDir());
        catalog.Engine().BeginTransaction();
        for (int i = 1; i <= 3000; ++i) {
            catalog.Engine().Execute("insert into maindata (dTitle, dPath) values ('Song " +
                                     std::to_string(i) + "', '/" + std::to_string(i) + ".mp3')");
        }
        catalog.Engine().Commit();
    }
    const std::string database = cli.DataDir() + "/sonarchv.db";
    catalog::testfiles::DamageThreeTablePages(database);

    // Nobody at a terminal: the question is answered No and the program ends as it did.
    const auto refused = cli.Run("count");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.output.find("Do you wish to salvage the database now? [y/n] (no terminal; "
                                  "--yes answers Yes)"),
              std::string::npos)
        << refused.output;
    EXPECT_NE(refused.output.find("There are still errors reported."), std::string::npos);

    const auto salvaged = cli.Run("--yes count");
    EXPECT_EQ(salvaged.exitCode, 0) << salvaged.output;
    EXPECT_NE(salvaged.output.find("The database has been salvaged. Entries saved: maindata "),
              std::string::npos)
        << salvaged.output;
    EXPECT_NE(salvaged.output.find("The damaged database is kept as \"" + database + ".damaged-"),
              std::string::npos);
    const auto counted = cli.RunStdout("count");
    EXPECT_EQ(counted.exitCode, 0);
    const int saved = std::stoi(counted.output.substr(std::string("Files in archive: ").size()));
    EXPECT_GT(saved, 2500);
    EXPECT_LT(saved, 3000);
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(cli.DataDir())) {
        files += entry.path().filename().string().rfind("sonarchv.db", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(files, 2u);  // the catalog and the damaged one kept beside it
}

}  // namespace
}  // namespace sonarchive::cli
