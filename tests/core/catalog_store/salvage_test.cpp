#include "catalog_store/salvage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "catalog_files.h"
#include "catalog_store/catalog.h"
#include "catalog_store/startup.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace sonarchive::catalog {
namespace {

using sonarchive::testing::ReadBytes;
using sonarchive::testing::ScriptedInteraction;
using sonarchive::testing::TempDir;

constexpr int kRows = 50000;

// Every row of a table as one text per row, by id.
std::map<std::int64_t, std::string> RowsOf(Database& database, const std::string& table) {
    std::map<std::int64_t, std::string> rows;
    for (Query query(database, "select * from " + table); !query.AtEnd(); query.Next()) {
        std::string text;
        for (std::size_t i = 0; i < query.ColumnNames().size(); ++i) {
            text += query[static_cast<int>(i)].AsText() + "|";
        }
        rows.emplace(query[0].AsInteger(), text);
    }
    return rows;
}

class Salvage : public ::testing::Test {
protected:
    // A catalog of 50 000 rows and three collections; the undamaged copy is kept beside it.
    void SetUp() override {
        {
            Catalog catalog(dir / "data");
            Database& db = catalog.Engine();
            db.BeginTransaction();
            for (int i = 1; i <= kRows; ++i) {
                TableAppender row(db, "maindata");
                row.SetText("dTitle", "Song " + std::to_string(i));
                row.SetText("dArtist", i % 3 == 0 ? "Motörhead" : "Björk");
                row.SetText("dComment", std::string(static_cast<std::size_t>(i % 90), 'c'));
                row.SetText("dPath", "/music/" + std::to_string(i) + ".mp3");
                row.SetText("dDriveSerialNumber", "ABCD1234");
                row.SetInteger("dDriveType", 3);
                row.Post();
            }
            for (int c = 1; c <= 3; ++c) {
                db.Execute("insert into SubColl (dName) values ('Collection " + std::to_string(c) +
                           "')");
                for (int m = 0; m < 40; ++m) {
                    db.Execute("insert into SubCollD (dDataId, dSubCollectionId) values (" +
                               std::to_string(m * 997 + c) + ", " + std::to_string(c) + ")");
                }
            }
            db.Commit();
        }
        std::filesystem::copy_file(DatabasePath(), dir / "undamaged.db");
    }

    std::string DatabasePath() const {
        return dir / (std::string("data/") + Catalog::kDatabaseFileName);
    }

    // Overwrites three pages of table rows with random bytes; answers the damaged file.
    std::string DamageThreeTablePages() {
        testfiles::DamageThreeTablePages(DatabasePath());
        return ReadBytes(DatabasePath());
    }

    StartupOutcome Start(ScriptedInteraction& user) {
        Catalog catalog(dir / "data");
        Registry registry(settings, user);
        return CatalogStartup(catalog, registry, user).Run();
    }

    std::set<std::string> FilesInDataDirectory() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir / "data")) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    TempDir dir;
    platform::SettingsFile settings{dir / "settings.json"};
};

std::size_t CountLines(const std::string& text, const std::string& prefix) {
    std::size_t count = 0;
    for (std::size_t at = text.find(prefix); at != std::string::npos;
         at = text.find(prefix, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(Salvage, KeepsEveryReadableRowAndTheDamagedFileUntouched) {
    const std::string damagedBytes = DamageThreeTablePages();
    ScriptedInteraction user;
    user.AnswerYes();
    const StartupOutcome outcome = Start(user);
    ASSERT_FALSE(outcome.endProgram) << ::testing::PrintToString(user.log);
    EXPECT_TRUE(outcome.salvaged);

    // The check's own report is cut to ten lines.
    const auto errors = user.Texts("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_LE(CountLines(errors[0], "\n"), 14u) << errors[0];
    const auto questions = user.Texts("question");
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].rfind("The database is still damaged. Sonarchive can copy every entry "
                                 "that can still be read into a new database and keep the "
                                 "damaged database as \"sonarchv.db.damaged-",
                                 0),
              0u)
        << questions[0];

    // The damaged file lies, byte for byte, under the name the question gave; nothing else of
    // the repair is left.
    const std::set<std::string> files = FilesInDataDirectory();
    ASSERT_EQ(files.size(), 2u) << ::testing::PrintToString(files);
    const std::string kept = *std::next(files.begin());
    EXPECT_EQ(*files.begin(), "sonarchv.db");
    EXPECT_EQ(kept.rfind("sonarchv.db.damaged-", 0), 0u);
    EXPECT_NE(questions[0].find("\"" + kept + "\""), std::string::npos);
    EXPECT_EQ(ReadBytes(dir / ("data/" + kept)), damagedBytes);

    // Every row not on the three pages, as it was; the lost ones in at most three runs.
    Database undamaged(dir / "undamaged.db");
    Catalog salvaged(dir / "data");
    const auto before = RowsOf(undamaged, "maindata");
    const auto after = RowsOf(salvaged.Engine(), "maindata");
    std::vector<std::int64_t> lost;
    for (const auto& [id, row] : before) {
        const auto found = after.find(id);
        if (found == after.end()) {
            lost.push_back(id);
        } else {
            EXPECT_EQ(found->second, row) << "row " << id;
        }
    }
    EXPECT_EQ(after.size() + lost.size(), before.size());
    std::size_t runs = 0;
    for (std::size_t i = 0; i < lost.size(); ++i) {
        runs += i == 0 || lost[i] != lost[i - 1] + 1 ? 1 : 0;
    }
    EXPECT_GE(runs, 1u);
    EXPECT_LE(runs, 3u);
    EXPECT_LT(lost.size(), 3u * 100u);
    EXPECT_EQ(RowsOf(salvaged.Engine(), "SubColl"), RowsOf(undamaged, "SubColl"));
    EXPECT_EQ(RowsOf(salvaged.Engine(), "SubCollD"), RowsOf(undamaged, "SubCollD"));

    const auto reports = user.Texts("info");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("The database has been salvaged. Entries saved: maindata " +
                              std::to_string(after.size()) + ", SubColl 3, SubCollD 120.\n"),
              std::string::npos)
        << reports[0];
    EXPECT_EQ(CountLines(reports[0], "could not be read"), runs);
    EXPECT_NE(
        reports[0].find("The damaged database is kept as \"" + (dir / "data") + "/" + kept + "\"."),
        std::string::npos);

    // The catalog is sound, its indexes work and no id is handed out again.
    Query check(salvaged.Engine(), "pragma integrity_check");
    EXPECT_EQ(check[0].AsText(), "ok");
    Query motorhead(salvaged.Engine(),
                    "select count(*) from maindata where upper(dArtist) = 'MOTÖRHEAD'");
    EXPECT_GT(motorhead[0].AsInteger(), kRows / 3 - 300);
    salvaged.Engine().Execute("insert into maindata (dPath) values ('/new.mp3')");
    EXPECT_EQ(salvaged.Engine().LastInsertId(), kRows + 1);
}

TEST_F(Salvage, NoEndsTheProgramAndLeavesTheFileAsItWas) {
    const std::string damagedBytes = DamageThreeTablePages();
    ScriptedInteraction user;
    user.AnswerNo();
    EXPECT_TRUE(Start(user).endProgram);
    EXPECT_EQ(user.Texts("error").back(),
              "There are still errors reported. Try to delete index files manually (\".adi\" and "
              "\".ai\" files and restart Sonarchive.");
    EXPECT_EQ(FilesInDataDirectory(), std::set<std::string>{"sonarchv.db"});
    EXPECT_EQ(ReadBytes(DatabasePath()), damagedBytes);
}

TEST(SalvageParts, LimitedLinesAndFreeDamagedNames) {
    EXPECT_EQ(LimitedLines({"a", "b"}, 10), "a\nb\n");
    std::vector<std::string> many(25, "x");
    std::string ten;
    for (int i = 0; i < 10; ++i) {
        ten += "x\n";
    }
    EXPECT_EQ(LimitedLines(many, 10), ten + "(15 more)\n");
    TempDir dir;
    const std::string base = dir / "sonarchv.db";
    const std::time_t when = 1796830879;  // a moment in December 2026, local time
    const std::string first = DamagedFileName(base, when);
    EXPECT_EQ(first.rfind(base + ".damaged-20", 0), 0u);
    EXPECT_EQ(first.size(), base.size() + std::string(".damaged-YYYYMMDD-HHMMSS").size());
    sonarchive::testing::WriteBytes(first, "taken");
    EXPECT_EQ(DamagedFileName(base, when), first + "-2");
}

}  // namespace
}  // namespace sonarchive::catalog
