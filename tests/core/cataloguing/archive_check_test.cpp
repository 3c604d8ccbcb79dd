#include "cataloguing/archive_check.h"

#include <gtest/gtest.h>

#include "cataloguing_fixture.h"

namespace sonarchive::cataloguing {
namespace {

using testing::CataloguingTest;

class ArchiveCheckTest : public CataloguingTest {
protected:
    void AddRow(const std::string& serial, int type, const std::string& path) {
        catalog.Engine().Execute(
            "insert into maindata (dDriveSerialNumber, dDriveType, dPath) values ('" + serial +
            "', " + std::to_string(type) + ", '" + path + "')");
    }

    void Run(const CheckOptions& options, const platform::LocalDriveList& drives,
             const std::vector<std::string>& hosts) {
        ArchiveCheck check(
            catalog, rules, user, [this](const std::string& line) { log.push_back(line); },
            [this] { return attached; });
        check.Run(options, drives, hosts);
    }

    std::vector<std::string> log;
    std::vector<std::string> attached;  // the serials of devices attached but not mounted
};

TEST(QuotedList, PrefixesAndQuotesEveryText) {
    EXPECT_EQ(QuotedList({"A1", "B2"}, ""), "('A1','B2')");
    EXPECT_EQ(QuotedList({"nas", "srv"}, "//"), "('//nas','//srv')");
    EXPECT_EQ(QuotedList({"o'host"}, "//"), "('//o''host')");
    EXPECT_EQ(QuotedList({}, "//"), "");
}

TEST_F(ArchiveCheckTest, WithNoDrivesEveryFixedRowIsOfferedButNoOtherKind) {
    AddRow("11111111", 3, "/a.mp3");
    AddRow("22222222", 3, "/b.mp3");
    AddRow("33333333", 2, "/stick.mp3");
    AddRow("44444444", 5, "/cd.mp3");
    std::vector<catalog::CatalogChange> changes;
    catalog.Events().Subscribe([&](catalog::CatalogChange change) { changes.push_back(change); });
    user.AnswerYes();
    Run({true, false, false}, {}, {});
    // The file counter and the open lists follow the deletion.
    EXPECT_EQ(changes,
              (std::vector<catalog::CatalogChange>{catalog::CatalogChange::FileCountChanged,
                                                   catalog::CatalogChange::RowsChanged}));
    EXPECT_EQ(log,
              (std::vector<std::string>{"References to files where fixed drives no longer exists:",
                                        "2 records found", "2 records deleted"}));
    EXPECT_EQ(user.Texts("question"),
              std::vector<std::string>{"Delete 2 invalid file references in the database?"});
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(Count("dDriveType = 3"), 0);
}

TEST_F(ArchiveCheckTest, FixedRowsOfPresentDrivesStayAndNoKeepsTheRest) {
    AddRow("11111111", 3, "/a.mp3");
    AddRow("22222222", 3, "/b.mp3");
    user.AnswerNo();
    Run({true, false, false}, {{"/", "11111111"}, {"/media/x", "99999999"}}, {});
    EXPECT_EQ(log,
              (std::vector<std::string>{"References to files where fixed drives no longer exists:",
                                        "1 records found"}));
    EXPECT_EQ(Count(), 2);
}

TEST_F(ArchiveCheckTest, FixedRowsOfAttachedButUnmountedVolumesStay) {
    AddRow("11111111", 3, "/internal-data.mp3");
    AddRow("22222222", 3, "/detached.mp3");
    AddRow("33333333", 3, "/mounted.mp3");
    attached = {"11111111", "33333333"};
    std::vector<std::string> statements;
    catalog.Engine().SetStatementObserver(
        [&](const std::string& sql) { statements.push_back(sql); });
    user.AnswerYes();
    Run({true, false, false}, {{"/", "33333333"}}, {});
    EXPECT_EQ(statements.front(),
              "select count(id) from maindata where dDriveType = 3 and dDriveSerialNumber not in "
              "('33333333','11111111')");
    EXPECT_EQ(log,
              (std::vector<std::string>{"References to files where fixed drives no longer exists:",
                                        "1 records found", "1 records deleted"}));
    EXPECT_EQ(Count("dDriveSerialNumber = '22222222'"), 0);
    EXPECT_EQ(Count(), 2);
}

TEST_F(ArchiveCheckTest, NetworkRowsOfHostsThatAnsweredAreKeptWhateverTheirCase) {
    AddRow("//nas", 4, "//nas/music/a.mp3");
    AddRow("//NAS", 4, "//NAS/music/b.mp3");
    AddRow("//old", 4, "//old/music/c.mp3");
    user.AnswerYes();
    Run({false, true, false}, {}, {"nas"});
    EXPECT_EQ(log, (std::vector<std::string>{
                       "Files seated on a network where the computer referenced is not accessible:",
                       "1 records found", "1 records deleted"}));
    EXPECT_EQ(user.Texts("question"),
              std::vector<std::string>{
                  "The computer(s) hosting these files might just be temporary unavailable. Are "
                  "you sure you want to remove them from the archive? Delete 1 records in the "
                  "database?"});
    EXPECT_EQ(Count("dDriveSerialNumber = '//old'"), 0);
    EXPECT_EQ(Count(), 2);

    log.clear();
    user.AnswerNo();
    Run({false, true, false}, {}, {});  // nobody answered: every network row is offered
    EXPECT_EQ(log[1], "2 records found");
}

TEST_F(ArchiveCheckTest, IndividualFilesAreTestedOnlyWherePresent) {
    const std::string kept = MakeFile("vol/kept.mp3");
    MakeFile("nas/here.mp3");
    mounts.drives.clear();
    mounts.Add(dir / "vol", "ABCD1234");
    mounts.AddNetwork(dir / "nas", "//nas/music");
    AddRow("ABCD1234", 2, "/kept.mp3");
    AddRow("ABCD1234", 2, "/deleted.mp3");
    AddRow("EEEE0000", 2, "/absent-volume.mp3");
    AddRow("//nas", 4, "//nas/music/here.mp3");
    AddRow("//nas", 4, "//nas/music/gone.mp3");
    AddRow("//far", 4, "//far/music/unreachable.mp3");
    user.AnswerYes();
    Run({false, false, true}, {{dir / "vol", "ABCD1234"}}, {"nas"});
    EXPECT_EQ(log, (std::vector<std::string>{"References to files no longer existing:",
                                             "2 records found", "2 records deleted"}));
    EXPECT_EQ(user.Texts("question"),
              std::vector<std::string>{"Delete 2 records in the database?"});
    EXPECT_EQ(Count("dPath in ('/deleted.mp3', '//nas/music/gone.mp3')"), 0);
    EXPECT_EQ(Count(), 4);
    EXPECT_EQ(user.progressMaximum, 4);
    // The notice spans the test alone; the question comes after it.
    EXPECT_EQ(user.log, (std::vector<std::string>{
                            "notice: Checking individual files", "counter: Files found: 0",
                            "counter: Files found: 1", "counter: Files found: 2", "notice end",
                            "question: Delete 2 records in the database?"}));
    (void)kept;
}

TEST_F(ArchiveCheckTest, CancellingTheFileTestDeletesNothing) {
    AddRow("0A1B2C3D", 3, dir / "missing.mp3");
    user.CancelAfterChecks(1);
    Run({false, false, true}, {{"/", "0A1B2C3D"}}, {});
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(user.log.back(), "notice end");
}

TEST_F(ArchiveCheckTest, AlwaysRemovesOrphanMembers) {
    AddRow("0A1B2C3D", 3, "/a.mp3");
    catalog.Engine().Execute("insert into SubCollD (dDataId, dSubCollectionId) values (1, 1)");
    catalog.Engine().Execute("insert into SubCollD (dDataId, dSubCollectionId) values (77, 1)");
    Run({false, false, false}, {}, {});
    EXPECT_EQ(log, std::vector<std::string>{"Removed invalid collection references: 1"});
    log.clear();
    Run({false, false, false}, {}, {});
    EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace sonarchive::cataloguing
