#include "organize/disk_organizer.h"

#include <gtest/gtest.h>

#include "organize_fixture.h"

namespace sonarchive::organize {
namespace {

namespace fs = std::filesystem;
using sonarchive::testing::ReadBytes;
using testing::OrganizeTest;
using testing::RowTags;

bool ReadTitle(const std::string& path, int, catalog::TCommentInfoType& tags,
               catalog::TEncoderInfoType&) {
    tags.Title = ReadBytes(path);
    return true;
}

// Two sticks mounted below the temporary folder, as /media/ann/D and /media/ann/E would be.
class DiskOrganizerTest : public OrganizeTest {
protected:
    static constexpr const char* kSerialD = "D0D0D0D0";
    static constexpr const char* kSerialE = "E0E0E0E0";

    DiskOrganizerTest() {
        fs::create_directories(D());
        fs::create_directories(E());
        mounts.Add(D(), kSerialD, "Removable", "STICK-D");
        mounts.Add(E(), kSerialE, "Removable", "STICK-E");
        general.ConfirmOrganizeFiles = false;
        settings.baseDir = D() + "/Music";
        fs::create_directories(settings.baseDir);
    }

    std::string D() const { return dir / "media/ann/D"; }
    std::string E() const { return dir / "media/ann/E"; }

    // A file on stick E with its row.
    std::int64_t OnE(const std::string& relative, const RowTags& tags,
                     const std::string& content = "audio") {
        const std::string path = MakeFile("media/ann/E/" + relative, content);
        return AddRow(path.substr(E().size()), tags, kSerialE);
    }

    OrganizeOutcome Run(OrganizeMode mode, std::optional<catalog::IdList> ids) {
        DiskOrganizer organizer(catalog, rules, mounts, registry, general, user, adder,
                                [this](const std::string& host) { hosts.push_back(host); });
        return organizer.Run(
            settings, mode, ids,
            {[this](const std::string& from, const std::string& to) {
                 paths.push_back(from + " -> " + to);
             },
             [this](const OrganizerMessage& m) { lines.push_back(m.Text(true)); }});
    }

    OrganizerSettings settings;
    std::vector<std::string> lines;
    std::vector<std::string> paths;
    std::vector<std::string> hosts;
    catalog::CatalogInserter inserter{catalog, rules, ReadTitle, {}};
    cataloguing::FileAdder adder{catalog, rules, mounts, inserter, user};
};

TEST_F(DiskOrganizerTest, MovingBuildsTheTreeAndTheRowFollowsToTheOtherVolume) {
    const auto id = OnE("In/track03.mp3", {"Ann", "Blue", "Sky", 3}, "the song");
    settings.action = OrganizeAction::Move;
    settings.folders = FolderNaming::ArtistAlbum;
    settings.names = FileNaming::ArtistTitle;
    const OrganizeOutcome outcome = Run(OrganizeMode::Move, catalog::IdList{id});
    EXPECT_EQ(outcome.done, 1);
    EXPECT_TRUE(lines.empty());
    const std::string target = D() + "/Music/Ann/Sky/Ann - Blue.mp3";
    EXPECT_EQ(ReadBytes(target), "the song");
    EXPECT_FALSE(Exists(E() + "/In/track03.mp3"));
    EXPECT_EQ(Column(id, "dPath"), "/Music/Ann/Sky/Ann - Blue.mp3");
    EXPECT_EQ(Column(id, "dDriveSerialNumber"), kSerialD);
    EXPECT_EQ(Column(id, "dDriveLabel"), "STICK-D");
    EXPECT_EQ(Column(id, "dDriveType"), "2");
    EXPECT_EQ(Column(id, "dDriveLetter"), D());
    EXPECT_EQ(paths, std::vector<std::string>{E() + "/In/track03.mp3 -> " + target});
}

TEST_F(DiskOrganizerTest, CopyingAddsARowAndAnAllFilesRunNeverCopiesItsOwnCopies) {
    const auto id = OnE("a.mp3", {"Ann", "Blue"}, "copied title");
    settings.range = OrganizeRange::AllFiles;
    settings.baseDir = E();  // copies land on the same stick, after the row they came from
    const OrganizeOutcome outcome = Run(OrganizeMode::Copy, std::nullopt);
    EXPECT_EQ(outcome.done, 1);
    EXPECT_EQ(ReadBytes(E() + "/Ann/a.mp3"), "copied title");
    EXPECT_TRUE(Exists(E() + "/a.mp3"));
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(Column(id, "dPath"), "/a.mp3");
    EXPECT_EQ(Count("dPath = '/Ann/a.mp3' and dTitle = 'copied title'"), 1);
    EXPECT_FALSE(Exists(E() + "/Ann/Ann"));
}

TEST_F(DiskOrganizerTest, BaseFolderRules) {
    const auto id = OnE("a.mp3", {"Ann", "Blue"});
    settings.baseDir = D() + "/";  // one trailing separator goes
    Run(OrganizeMode::Copy, catalog::IdList{id});
    EXPECT_TRUE(Exists(D() + "/Ann/a.mp3"));

    for (const std::string& bad : {std::string(), std::string("relative/dir"), D() + "/missing"}) {
        settings.baseDir = bad;
        EXPECT_FALSE(Run(OrganizeMode::Preview, catalog::IdList{id}).started) << bad;
    }
    EXPECT_EQ(user.Texts("info"),
              std::vector<std::string>(3, "Please select a valid parent folder."));
}

TEST_F(DiskOrganizerTest, ANetworkBaseIsReachedThroughItsMountAndGivesNetworkRows) {
    const std::string share = dir / "mnt/nas";
    fs::create_directories(share + "/music");
    mounts.AddNetwork(share, "//server/share");
    const auto id = OnE("a.mp3", {"Ann", "Blue"});
    settings.baseDir = "//server/share/music";
    settings.action = OrganizeAction::Move;
    Run(OrganizeMode::Move, catalog::IdList{id});
    EXPECT_TRUE(Exists(share + "/music/Ann/a.mp3"));
    EXPECT_EQ(Column(id, "dPath"), "//server/share/music/Ann/a.mp3");
    EXPECT_EQ(Column(id, "dDriveSerialNumber"), "//server");
    EXPECT_EQ(Column(id, "dDriveType"), "4");
    EXPECT_EQ(Column(id, "dDriveLabel"), "");
    EXPECT_EQ(hosts, std::vector<std::string>{"server"});

    // A network mount whose address cannot be told is refused; one that can is translated.
    fs::create_directories(dir / "mnt/odd");
    mounts.drives.push_back({dir / "mnt/odd", "odd", "fuse.odd", "Remote", "", "", ""});
    settings.baseDir = dir / "mnt/odd";
    EXPECT_FALSE(Run(OrganizeMode::Preview, catalog::IdList{id}).started);
    settings.baseDir = share + "/music";
    EXPECT_TRUE(Run(OrganizeMode::Preview, catalog::IdList{id}).started);
}

TEST_F(DiskOrganizerTest, TagsNeverLeaveTheirFolder) {
    const auto acdc = OnE("a.mp3", {"AC/DC", "Live: 1999"});
    general.DiskOrgReplaceDeleteIllegal = false;
    settings.names = FileNaming::Title;
    Run(OrganizeMode::Copy, catalog::IdList{acdc});
    EXPECT_EQ(lines, std::vector<std::string>{"Couldn't create folder " + D() +
                                              "/Music/AC/DC Description"});
    settings.folders = FolderNaming::Skip;
    lines.clear();
    Run(OrganizeMode::Copy, catalog::IdList{acdc});
    EXPECT_EQ(lines, std::vector<std::string>{"Illegal filename Live: 1999.mp3"});

    general.DiskOrgReplaceDeleteIllegal = true;
    general.DiskOrgReplaceWithCharacter = "-";
    settings.folders = FolderNaming::Artist;
    lines.clear();
    Run(OrganizeMode::Copy, catalog::IdList{acdc});
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(Exists(D() + "/Music/AC-DC/Live- 1999.mp3"));
    EXPECT_FALSE(Exists(D() + "/Music/AC"));
}

TEST_F(DiskOrganizerTest, EmptyTagsFailYearsDoNotAndLongPathsAreRefused) {
    const auto noArtist = OnE("a.mp3", {"", "Blue"});
    const auto noYear = OnE("b.mp3", {"Ann", std::string(240, 'x')});
    settings.names = FileNaming::Title;
    Run(OrganizeMode::Preview, catalog::IdList{noArtist});
    EXPECT_EQ(lines,
              std::vector<std::string>{"Couldn't create folder " + D() + "/Music/ Description"});
    settings.folders = FolderNaming::Year;
    lines.clear();
    const OrganizeOutcome outcome = Run(OrganizeMode::Preview, catalog::IdList{noArtist, noYear});
    ASSERT_EQ(outcome.preview.size(), 1u);
    EXPECT_EQ(outcome.preview[0].newPath, D() + "/Music/0/Blue.mp3");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("Path too long " + D() + "/Music/0/xxx", 0), 0u);
}

TEST_F(DiskOrganizerTest, ThePreviewShowsWhatTheRunDoesAndChangesNothing) {
    const auto a = OnE("In/a.mp3", {"Ann", "One", "Sky", 1});
    const auto b = OnE("In/b.mp3", {"Bo", "Two", "Sea", 2});
    const auto away = AddRow("/gone/c.mp3", {"Cy", "Three"}, "99999999");  // not mounted
    settings.folders = FolderNaming::ArtistAlbum;
    settings.names = FileNaming::Custom;
    settings.customFormat = "%3 %1";
    settings.action = OrganizeAction::Move;
    const OrganizeOutcome preview = Run(OrganizeMode::Preview, catalog::IdList{a, b, away});
    const std::vector<PreviewLine> expected = {
        {D() + "/Music/Ann/Sky/01 One.mp3", E() + "/In/a.mp3"},
        {D() + "/Music/Bo/Sea/02 Two.mp3", E() + "/In/b.mp3"}};
    EXPECT_EQ(preview.preview, expected);
    EXPECT_FALSE(Exists(D() + "/Music/Ann"));
    EXPECT_EQ(Column(a, "dPath"), "/In/a.mp3");
    EXPECT_TRUE(user.Texts("replace").empty());

    const OrganizeOutcome run = Run(OrganizeMode::Move, catalog::IdList{a, b, away});
    EXPECT_EQ(run.done, 2);
    for (const auto& line : expected) {
        EXPECT_TRUE(Exists(line.newPath)) << line.newPath;
    }
}

TEST_F(DiskOrganizerTest, EachReplaceAnswer) {
    settings.folders = FolderNaming::Skip;
    settings.names = FileNaming::Title;
    settings.action = OrganizeAction::Move;
    const auto first = OnE("1.mp3", {"Ann", "Same"}, "first");
    const auto second = OnE("2.mp3", {"Ann", "Same"}, "second");
    user.AnswerReplace(ReplaceAnswer::No);
    Run(OrganizeMode::Move, catalog::IdList{first, second});
    EXPECT_EQ(ReadBytes(D() + "/Music/Same.mp3"), "first");
    EXPECT_EQ(ReadBytes(E() + "/2.mp3"), "second");
    EXPECT_EQ(Count(), 2);

    // Yes replaces the file and deletes the row that described it.
    user.AnswerReplace(ReplaceAnswer::Yes);
    Run(OrganizeMode::Move, catalog::IdList{second});
    EXPECT_EQ(ReadBytes(D() + "/Music/Same.mp3"), "second");
    EXPECT_EQ(Column(first, "dPath"), "<no row>");
    EXPECT_EQ(Column(second, "dPath"), "/Music/Same.mp3");

    // Cancel skips the file and ends the run.
    const auto third = OnE("3.mp3", {"Ann", "Same"}, "third");
    const auto fourth = OnE("4.mp3", {"Ann", "Other"}, "fourth");
    user.AnswerReplace(ReplaceAnswer::Cancel);
    lines.clear();
    const OrganizeOutcome cancelled = Run(OrganizeMode::Move, catalog::IdList{third, fourth});
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(lines, std::vector<std::string>{"Organizing stopped "});
    EXPECT_TRUE(Exists(E() + "/3.mp3"));
    EXPECT_TRUE(Exists(E() + "/4.mp3"));
    EXPECT_FALSE(user.UnansweredQuestionsLeft());
}

TEST_F(DiskOrganizerTest, YesToAllAndNoToAllAreRememberedForTheRun) {
    settings.folders = FolderNaming::Skip;
    for (const auto& name : {"a.mp3", "b.mp3", "c.mp3"}) {
        MakeFile("media/ann/D/Music/" + std::string(name), "old");
    }
    const catalog::IdList ids = {OnE("a.mp3", {"A", "a"}, "new"), OnE("b.mp3", {"B", "b"}, "new"),
                                 OnE("c.mp3", {"C", "c"}, "new")};
    user.AnswerReplace(ReplaceAnswer::NoToAll);
    Run(OrganizeMode::Copy, ids);
    EXPECT_EQ(user.Texts("replace"), std::vector<std::string>{"a.mp3"});
    EXPECT_EQ(ReadBytes(D() + "/Music/c.mp3"), "old");
    user.AnswerReplace(ReplaceAnswer::YesToAll);
    Run(OrganizeMode::Copy, ids);
    EXPECT_EQ(user.Texts("replace").size(), 2u);
    EXPECT_EQ(ReadBytes(D() + "/Music/a.mp3"), "new");
    EXPECT_EQ(ReadBytes(D() + "/Music/c.mp3"), "new");
}

TEST_F(DiskOrganizerTest, AFileAlreadyAtItsTargetIsAskedAboutAndKeepsItsRow) {
    const auto id = AddRow("/Music/Ann/a.mp3", {"Ann", "A"}, kSerialD);
    MakeFile("media/ann/D/Music/Ann/a.mp3", "in place");
    settings.action = OrganizeAction::Move;
    user.AnswerReplace(ReplaceAnswer::Yes);
    const OrganizeOutcome outcome = Run(OrganizeMode::Move, catalog::IdList{id});
    EXPECT_EQ(outcome.done, 1);
    EXPECT_EQ(user.Texts("replace"), std::vector<std::string>{"a.mp3"});
    EXPECT_EQ(ReadBytes(D() + "/Music/Ann/a.mp3"), "in place");
    EXPECT_EQ(Column(id, "dPath"), "/Music/Ann/a.mp3");
}

TEST_F(DiskOrganizerTest, EmptiedFoldersAreRemovedLongestFirst) {
    settings.action = OrganizeAction::Move;
    settings.removeEmptyFolders = true;
    catalog::IdList ids;
    for (const auto& name : {"In/A/1.mp3", "In/A/2.mp3", "In/A/3.mp3", "In/4.mp3"}) {
        ids.push_back(OnE(name, {"Ann", name}));
    }
    MakeFile("media/ann/E/Keep/stay.txt");
    ids.push_back(OnE("Keep/5.mp3", {"Ann", "5"}));
    Run(OrganizeMode::Move, ids);
    EXPECT_FALSE(Exists(E() + "/In"));
    EXPECT_TRUE(Exists(E() + "/Keep/stay.txt"));
    EXPECT_TRUE(Exists(D() + "/Music/Ann/4.mp3"));
    EXPECT_TRUE(lines.empty());
}

TEST_F(DiskOrganizerTest, AsksFirstAndTellsWhenNothingIsSelected) {
    general.ConfirmOrganizeFiles = true;
    const auto id = OnE("a.mp3", {"Ann", "A"});
    user.AnswerConfirm({false, false});
    EXPECT_FALSE(Run(OrganizeMode::Copy, catalog::IdList{id}).started);
    user.AnswerConfirm({true, true});
    EXPECT_TRUE(Run(OrganizeMode::Copy, catalog::IdList{id}).started);
    EXPECT_FALSE(general.ConfirmOrganizeFiles);
    EXPECT_EQ(user.Texts("confirm"),
              std::vector<std::string>(2, "Start organizing Update 1 files? [help 4]"));
    EXPECT_FALSE(Run(OrganizeMode::Copy, std::nullopt).started);
    EXPECT_FALSE(Run(OrganizeMode::Preview, catalog::IdList{}).started);
    EXPECT_EQ(user.Texts("info"), std::vector<std::string>(2, "No files selected."));
}

TEST_F(DiskOrganizerTest, ACopyTheSystemRefusesIsReportedWithItsReason) {
    settings.folders = FolderNaming::Skip;
    const auto id = AddRow("/vanished.mp3", {"Ann", "A"}, kSerialE);
    Run(OrganizeMode::Copy, catalog::IdList{id});
    EXPECT_EQ(lines, std::vector<std::string>{"Couldn't copy file " + E() +
                                              "/vanished.mp3: No such file or directory"});
    MakeFile("media/ann/D/Music/Ann", "a file where the folder should be");
    const auto blocked = OnE("b.mp3", {"Ann", "B"});
    settings.folders = FolderNaming::Artist;
    lines.clear();
    Run(OrganizeMode::Move, catalog::IdList{blocked});
    EXPECT_EQ(lines,
              std::vector<std::string>{"Couldn't create folder " + D() + "/Music/Ann Description"});
    EXPECT_TRUE(Exists(E() + "/b.mp3"));
}

TEST(OrganizerSettings, MissingOrOutOfRangeValuesKeepTheOption) {
    sonarchive::testing::TempDir dir;
    platform::SettingsFile file(dir / "settings.json");
    sonarchive::testing::ScriptedInteraction user;
    catalog::Registry registry(file, user);
    OrganizerSettings s;
    s.folders = FolderNaming::Genre;
    registry.WriteRegInteger("DISK_ORG_FOLDER_NAME", 9);
    registry.WriteRegInteger("DISK_ORG_ACTION", 1);
    registry.WriteRegInteger("DISK_ORG_REMOVE_EMPTY_FOLDERS", 2);
    ReadOrganizerSettings(registry, s);
    EXPECT_EQ(s.folders, FolderNaming::Genre);
    EXPECT_EQ(s.action, OrganizeAction::Move);
    EXPECT_FALSE(s.removeEmptyFolders);

    s = {"/media/x",         OrganizeAction::Move, true,   OrganizeRange::AllFiles,
         FolderNaming::Year, FileNaming::Custom,   "%7 %1"};
    ASSERT_TRUE(WriteOrganizerSettings(registry, s));
    OrganizerSettings read;
    ReadOrganizerSettings(registry, read);
    EXPECT_EQ(read.baseDir, "/media/x");
    EXPECT_EQ(read.action, OrganizeAction::Move);
    EXPECT_TRUE(read.removeEmptyFolders);
    EXPECT_EQ(read.range, OrganizeRange::AllFiles);
    EXPECT_EQ(read.folders, FolderNaming::Year);
    EXPECT_EQ(read.names, FileNaming::Custom);
    EXPECT_EQ(read.customFormat, "%7 %1");
}

}  // namespace
}  // namespace sonarchive::organize
