#include "organize/rename_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "organize_fixture.h"

namespace sonarchive::organize {
namespace {

using testing::OrganizeTest;
using testing::RowTags;

class RenameFilesTest : public OrganizeTest {
protected:
    RenameOutcome Run(const std::string& format, catalog::IdList ids) {
        FileRenamer renamer(catalog, rules, registry, general, user);
        renamer.SetUpdateList(std::move(ids));
        const RenameOutcome outcome =
            renamer.Rename(format, [this](const std::string& line) { lines.push_back(line); });
        records = renamer.UpdateList();
        return outcome;
    }

    std::vector<std::string> lines;
    std::vector<catalog::TMainDataRecComplete> records;
};

TEST_F(RenameFilesTest, RenamesOnDiskAndStoresTheNewPathKeepingFolderAndExtension) {
    const std::string old = MakeFile("Music/track01.mp3", "bytes of the song");
    const auto id = AddRow(old, {"Ann", "Blue Sky"});
    general.ConfirmRenameFiles = false;
    const RenameOutcome outcome = Run("%0 - %1", {id});
    EXPECT_TRUE(outcome.ran);
    EXPECT_EQ(outcome.renamed, 1);
    const std::string renamed = dir / "Music/Ann - Blue Sky.mp3";
    EXPECT_FALSE(Exists(old));
    EXPECT_EQ(sonarchive::testing::ReadBytes(renamed), "bytes of the song");
    EXPECT_EQ(Column(id, "dPath"), renamed);
    EXPECT_EQ(records.at(0).dPath, renamed);
    EXPECT_TRUE(lines.empty());
}

TEST_F(RenameFilesTest, AsksFirstAndTheAnswerDecides) {
    const auto id = AddRow(MakeFile("a.mp3"), {"Ann", "One"});
    user.AnswerConfirm({false, true});  // Cancel with the box ticked changes nothing
    EXPECT_FALSE(Run("%1", {id}).ran);
    EXPECT_TRUE(general.ConfirmRenameFiles);
    EXPECT_TRUE(Exists(dir / "a.mp3"));

    user.AnswerConfirm({true, true});  // Ok with the box ticked renames and stops asking
    EXPECT_TRUE(Run("%1", {id}).ran);
    EXPECT_FALSE(general.ConfirmRenameFiles);
    EXPECT_EQ(registry.ReadRegInteger("CONFIRM_RENAME_FILES"), 0);
    EXPECT_TRUE(Exists(dir / "One.mp3"));
    EXPECT_EQ(user.Texts("confirm"),
              (std::vector<std::string>{"Rename 1 files? [help 19]", "Rename 1 files? [help 19]"}));
}

TEST_F(RenameFilesTest, AnEmptyFormatIsRefusedAndEmptyValuesAndAbsentVolumesAreSkipped) {
    const auto id = AddRow(MakeFile("a.mp3"), {"Ann", "One"});
    EXPECT_FALSE(Run("", {id}).ran);
    EXPECT_EQ(user.Texts("info"), std::vector<std::string>{"Select a format."});

    general.ConfirmRenameFiles = false;
    const auto absent = AddRow("/elsewhere/b.mp3", {"Bo", "Two"}, "DEADBEEF");
    const RenameOutcome outcome = Run("%5", {id, absent});  // no comment: nothing to rename
    EXPECT_EQ(outcome.renamed, 0);
    EXPECT_EQ(outcome.failed, 0);
    EXPECT_TRUE(Exists(dir / "a.mp3"));
    EXPECT_TRUE(lines.empty());
}

TEST_F(RenameFilesTest, AFileThatCannotBeRenamedGivesOneLineAndTheRestGoOn) {
    general.ConfirmRenameFiles = false;
    const auto blocked = AddRow(MakeFile("x1.mp3", "first"), {"Ann", "Same"});
    MakeFile("Same.mp3", "was here before");
    const auto slash = AddRow(MakeFile("x2.mp3"), {"Ann", "AC/DC"});
    const auto fine = AddRow(MakeFile("x3.mp3"), {"Ann", "Fine"});
    const RenameOutcome outcome = Run("%1", {blocked, slash, fine});
    EXPECT_EQ(outcome.renamed, 1);
    EXPECT_EQ(outcome.failed, 2);
    EXPECT_EQ(sonarchive::testing::ReadBytes(dir / "Same.mp3"), "was here before");
    EXPECT_EQ(sonarchive::testing::ReadBytes(dir / "x1.mp3"), "first");
    EXPECT_EQ(Column(blocked, "dPath"), dir / "x1.mp3");
    EXPECT_TRUE(Exists(dir / "x2.mp3"));
    EXPECT_EQ(Column(fine, "dPath"), dir / "Fine.mp3");
    EXPECT_EQ(lines, (std::vector<std::string>{"Couldn't rename file to: " + (dir / "Same.mp3"),
                                               "Couldn't rename file to: " + (dir / "AC/DC.mp3")}));
}

TEST_F(RenameFilesTest, ANameAlreadyRightOrDifferingOnlyInCaseCountsAsRenamed) {
    general.ConfirmRenameFiles = false;
    const auto same = AddRow(MakeFile("One.mp3", "one"), {"Ann", "One"});
    const auto caseOnly = AddRow(MakeFile("two.mp3", "two"), {"Ann", "Two"});
    const RenameOutcome outcome = Run("%1", {same, caseOnly});
    EXPECT_EQ(outcome.renamed, 2);
    EXPECT_EQ(sonarchive::testing::ReadBytes(dir / "One.mp3"), "one");
    EXPECT_EQ(sonarchive::testing::ReadBytes(dir / "Two.mp3"), "two");
    EXPECT_EQ(Column(caseOnly, "dPath"), dir / "Two.mp3");
    EXPECT_TRUE(lines.empty());
}

TEST_F(RenameFilesTest, AStoredPathTooLongForTheCatalogIsNotRenamed) {
    general.ConfirmRenameFiles = false;
    const auto id = AddRow(MakeFile("a.mp3"), {"Ann", std::string(240, 'x')});
    EXPECT_EQ(Run("%1", {id}).failed, 1);
    EXPECT_TRUE(Exists(dir / "a.mp3"));
    ASSERT_EQ(lines.size(), 1u);
}

TEST_F(RenameFilesTest, TheFormatStartsFromTheSettings) {
    EXPECT_EQ(StoredRenameFormat(registry), "%1 - %2");
    StoreRenameFormat(registry, "%0");
    EXPECT_EQ(StoredRenameFormat(registry), "%0");
    StoreRenameFormat(registry, "");
    EXPECT_EQ(StoredRenameFormat(registry), "%1 - %2");
}

TEST_F(RenameFilesTest, RemovingFromTheUpdateListTouchesNothing) {
    const auto a = AddRow(MakeFile("a.mp3"), {"Ann", "A"});
    const auto b = AddRow(MakeFile("b.mp3"), {"Ann", "B"});
    FileRenamer renamer(catalog, rules, registry, general, user);
    renamer.SetUpdateList({a, b});
    renamer.RemoveFromUpdateList({0, 0, 7});
    ASSERT_EQ(renamer.UpdateList().size(), 1u);
    EXPECT_EQ(renamer.UpdateList()[0].Id, b);
    EXPECT_EQ(NewFileName("%0 %3", renamer.UpdateList()[0]), "Ann 00.mp3");
    EXPECT_EQ(NewFileName("%5", renamer.UpdateList()[0]), "");
    EXPECT_EQ(Count(), 2);
}

}  // namespace
}  // namespace sonarchive::organize
