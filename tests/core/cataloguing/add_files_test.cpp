#include "cataloguing/add_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "catalog_store/catalog_rows.h"
#include "cataloguing_fixture.h"

namespace sonarchive::cataloguing {
namespace {

using testing::CataloguingTest;

class AddFilesTest : public CataloguingTest {
protected:
    FileAdder Adder() { return FileAdder(catalog, rules, mounts, inserter, user, observer); }

    AddObserver observer{
        [this](const VolumeIdentity& v) { volumes.push_back(v.letter + " " + v.serial); },
        [this](const AddCounters& c) { lastCounters = c; },
        [this](const std::string& line) { errors.push_back(line); }};
    std::vector<std::string> volumes;
    AddCounters lastCounters;
    std::vector<std::string> errors;
};

TEST(ExtensionMasks, FollowTheTickedFormatsInTheDialogsOrder) {
    EXPECT_EQ(ExtensionMasks({true, false, false, false, false}),
              (std::vector<std::string>{"*.MP3", "*.OGG", "*.MAC", "*.APE", "*.WAV"}));
    EXPECT_EQ(ExtensionMasks({false, false, true, true, false}),
              (std::vector<std::string>{"*.OGG", "*.MAC", "*.APE"}));
    EXPECT_TRUE(ExtensionMasks({}).empty());
    EXPECT_TRUE(MatchesMask("song.Mp3", "*.MP3"));
    EXPECT_TRUE(MatchesMask("Björk.OGG", "*.OGG"));
    EXPECT_FALSE(MatchesMask(".mp3", "*.MP3"));
    EXPECT_FALSE(MatchesMask("song.mp3.txt", "*.MP3"));
    EXPECT_FALSE(MatchesMask("songmp3", "*.MP3"));
}

TEST_F(AddFilesTest, CountsFoundAddedAndAlreadyCatalogued) {
    MakeFile("music/a.mp3", "A");
    MakeFile("music/b.MP3", "B");
    MakeFile("music/c.mp3", "C");
    MakeFile("music/cover.jpg");
    ASSERT_EQ(Adder().AddOneFile(dir / "music/b.MP3").code, 0);

    FileAdder adder = Adder();
    ASSERT_TRUE(adder.AddFromFolder(dir / "music", false, {"*.MP3"}));
    EXPECT_EQ(adder.Totals().found, 3);
    EXPECT_EQ(adder.Totals().added, 2);
    EXPECT_EQ(adder.Totals().alreadyInArchive, 1);
    EXPECT_EQ(adder.Totals().invalid, 0);
    EXPECT_EQ(lastCounters.added, 2);
    EXPECT_EQ(volumes, std::vector<std::string>{"/ 0A1B2C3D"});
    EXPECT_EQ(adder.FirstIdBefore(), 1);

    catalog::Query added(catalog.Engine(), catalog::StandardSelectSinceId(adder.FirstIdBefore()));
    std::vector<std::string> titles;
    for (; !added.AtEnd(); added.Next()) {
        titles.push_back(added["dTitle"].AsText());
        EXPECT_EQ(added["dDriveSerialNumber"].AsText(), "0A1B2C3D");
        EXPECT_EQ(added["dDriveLetter"].AsText(), "/");
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(user.Texts("task"),
              (std::vector<std::string>{"Looking for files", "Adding files to archive"}));
}

TEST_F(AddFilesTest, WithoutFormatsFindsNothing) {
    MakeFile("music/a.mp3");
    FileAdder adder = Adder();
    ASSERT_TRUE(adder.AddFromFolder(dir / "music", true, {}));
    EXPECT_EQ(adder.Totals().found, 0);
    EXPECT_EQ(Count(), 0);
}

TEST_F(AddFilesTest, ScansSubfoldersButNotHiddenEntriesOrLinkedFolders) {
    MakeFile("music/top.ogg", "top");
    MakeFile("music/Rock/deep/x.wav", "x");
    MakeFile("music/Rock/y.mp3", "y");
    MakeFile("music/.hidden/z.mp3", "z");
    MakeFile("music/.secret.mp3", "s");
    MakeFile("elsewhere/linked.mp3", "linked");
    std::filesystem::create_symlink(dir / "elsewhere/linked.mp3", dir / "music/link.mp3");
    std::filesystem::create_directory_symlink(dir / "music", dir / "music/Rock/loop");
    std::filesystem::create_directory_symlink(dir / "elsewhere", dir / "music/outside");

    FileAdder flat = Adder();
    ASSERT_TRUE(flat.AddFromFolder(dir / "music", false, ExtensionMasks({true})));
    EXPECT_EQ(flat.Totals().found, 2);  // top.ogg and the linked file

    FileAdder deep = Adder();
    ASSERT_TRUE(deep.AddFromFolder(dir / "music", true, ExtensionMasks({true})));
    EXPECT_EQ(deep.Totals().found, 4);
    EXPECT_EQ(deep.Totals().added, 2);
    EXPECT_EQ(deep.Totals().alreadyInArchive, 2);
    EXPECT_EQ(Count("dPath like '%/.%'"), 0);
    EXPECT_EQ(Count("dTitle = 'linked'"), 1);
    EXPECT_EQ(Count("dPath like '%/loop/%' or dPath like '%/outside/%'"), 0);
}

TEST_F(AddFilesTest, ListsFilesMaskByMaskInNameOrder) {
    MakeFile("m/b.wav");
    MakeFile("m/a.wav");
    MakeFile("m/c.mp3");
    FileAdder adder = Adder();
    std::vector<catalog::TMediaFileRec> found;
    adder.ScanFolder(dir / "m", false, {"*.MP3", "*.WAV"}, 0, {"Fixed", 3, "S", "L", "/"},
                     found);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].FullPath, dir / "m/c.mp3");
    EXPECT_EQ(found[1].FullPath, dir / "m/a.wav");
    EXPECT_EQ(found[2].FullPath, dir / "m/b.wav");
    EXPECT_EQ(found[0].DriveSerialNumber, "S");
    EXPECT_EQ(found[0].DriveLabel, "L");
    EXPECT_EQ(found[0].DriveType, 3);
}

TEST_F(AddFilesTest, InvalidAndVanishedFilesCountAsInvalidWithoutStoppingTheAdd) {
    MakeFile("m/good.mp3", "good");
    MakeFile("m/bad.mp3", "BAD data");
    const std::string vanishing = MakeFile("m/gone.mp3", "gone");
    FileAdder adder = Adder();
    std::vector<catalog::TMediaFileRec> found;
    adder.ScanFolder(dir / "m", false, {"*.MP3"}, 0, {"Fixed", 3, "0A1B2C3D", "", "/"}, found);
    std::filesystem::remove(vanishing);
    adder.AddFoundFiles(found);
    EXPECT_EQ(errors, (std::vector<std::string>{"Invalid File " + dir / "m/bad.mp3",
                                                "Invalid File " + dir / "m/gone.mp3"}));
    EXPECT_EQ(lastCounters.added, 1);
    EXPECT_EQ(lastCounters.invalid, 2);
}

TEST_F(AddFilesTest, AddOneFileAnswersWithCodesAndMessages) {
    const std::string song = MakeFile("one/song.mp3", "Song");
    const std::string playlist = MakeFile("one/list.M3U", "#EXTM3U");
    const std::string picture = MakeFile("one/cover.jpg");
    std::vector<std::string> opened;
    FileAdder adder = Adder();
    adder.SetPlaylistOpener([&](const std::string& p) { opened.push_back(p); });

    EXPECT_EQ(adder.AddOneFile(playlist).code, -1);
    EXPECT_EQ(adder.AddOneFile(playlist).message, "Playlist \"" + playlist + "\" opened");
    EXPECT_EQ(opened.size(), 2u);
    const AddOneFileResult jpg = adder.AddOneFile(picture);
    EXPECT_EQ(jpg.code, -1);
    EXPECT_EQ(jpg.message, "Invalid file extension \"" + picture + "\"");
    const AddOneFileResult missing = adder.AddOneFile(dir / "one/missing.mp3");
    EXPECT_EQ(missing.code, -1);
    EXPECT_EQ(missing.message, "File not found \"" + dir / "one/missing.mp3" + "\"");
    EXPECT_EQ(adder.AddOneFile(dir / "one").message, "Invalid file extension \"" + dir / "one" + "\"");

    const AddOneFileResult added = adder.AddOneFile(song);
    EXPECT_EQ(added.code, 0);
    EXPECT_EQ(added.message, "");
    const AddOneFileResult again = adder.AddOneFile(song);
    EXPECT_EQ(again.code, -3);
    EXPECT_EQ(again.message, "File already exists in database \"" + song + "\"");

    const std::string bad = MakeFile("one/bad.ogg", "BAD");
    EXPECT_EQ(adder.AddOneFile(bad).code, -4);
    EXPECT_EQ(adder.AddOneFile(bad).message, "Invalid File " + bad);

    std::string longName = "one/" + std::string(240 - dir.Path().size(), 'n') + ".mp3";
    const std::string tooLong = MakeFile(longName);
    ASSERT_GT(tooLong.size(), 230u);
    EXPECT_EQ(adder.AddOneFile(tooLong).code, -4);
    EXPECT_EQ(Count(), 1);
}

TEST_F(AddFilesTest, DroppedFilesGoToTheErrorListAndCountLikeAScan) {
    const std::string a = MakeFile("d/a.mp3");
    const std::string b = MakeFile("d/b.wav");
    FileAdder adder = Adder();
    adder.AddDroppedFiles({a, dir / "d/nothing.mp3", b, a});
    EXPECT_EQ(adder.Totals().found, 4);
    EXPECT_EQ(adder.Totals().added, 2);
    EXPECT_EQ(adder.Totals().alreadyInArchive, 1);
    EXPECT_EQ(adder.Totals().invalid, 1);
    EXPECT_EQ(adder.ErrorLines(),
              (std::vector<std::string>{"File not found \"" + dir / "d/nothing.mp3" + "\"",
                                        "File already exists in database \"" + a + "\""}));
}

TEST_F(AddFilesTest, CancelKeepsEveryRowAlreadyAdded) {
    for (int i = 0; i < 20; ++i) {
        MakeFile("c/" + std::to_string(100 + i) + ".mp3");
    }
    user.CancelAfterChecks(8);
    FileAdder adder = Adder();
    ASSERT_TRUE(adder.AddFromFolder(dir / "c", false, {"*.MP3"}));
    EXPECT_TRUE(adder.Cancelled());
    EXPECT_GT(adder.Totals().found, 0);
    EXPECT_LT(adder.Totals().added, 20);
    EXPECT_EQ(Count(), adder.Totals().added);
    catalog::Catalog reopened(dir / "data");  // committed, not only visible to this connection
    EXPECT_EQ(reopened.FileCount(), adder.Totals().added);
}

TEST_F(AddFilesTest, NetworkFilesAreCataloguedByAddressAndHost) {
    MakeFile("nas/Jazz/a.mp3", "Jazz");
    mounts.AddNetwork(dir / "nas", "//nas/music", "//nas/music");
    FileAdder adder = Adder();
    ASSERT_TRUE(adder.AddFromFolder(dir / "nas", true, {"*.MP3"}));
    EXPECT_EQ(adder.Totals().added, 1);
    EXPECT_EQ(Count("dPath = '//nas/music/Jazz/a.mp3' and dDriveSerialNumber = '//nas' and "
                    "dDriveType = 4 and dDriveLetter = ' ' and dDriveLabel = ''"),
              1);
    EXPECT_EQ(registeredHosts, std::vector<std::string>{"nas"});
    // The typed network address finds the same file, already catalogued.
    EXPECT_EQ(adder.AddOneFile("//nas/music/Jazz/a.mp3").code, -3);
    FileAdder again = Adder();
    ASSERT_TRUE(again.AddFromFolder("//nas/music", true, {"*.MP3"}));
    EXPECT_EQ(again.Totals().alreadyInArchive, 1);
}

TEST_F(AddFilesTest, RefusesNetworkMountsItCannotTranslate) {
    MakeFile("dav/a.mp3");
    mounts.drives.push_back({dir / "dav", "https://example.invalid/dav", "davfs", "Remote", "",
                             "", ""});
    FileAdder adder = Adder();
    EXPECT_FALSE(adder.AddFromFolder(dir / "dav", true, {"*.MP3"}));
    EXPECT_EQ(user.Texts("info"),
              std::vector<std::string>{
                  "Can't add files on mapped network drives. Please use network address instead."});
    const AddOneFileResult one = adder.AddOneFile(dir / "dav/a.mp3");
    EXPECT_EQ(one.code, -2);
    EXPECT_EQ(one.message, "Can't add \"" + dir / "dav/a.mp3" +
                               "\" from mapped network drive, please use network adress instead.");
    EXPECT_FALSE(Adder().AddFromFolder(dir / "no-such-folder", true, {"*.MP3"}));
}

TEST_F(AddFilesTest, AllDrivesScansEveryLocalDriveAsItself) {
    MakeFile("stick/a.mp3", "stick");
    MakeFile("disk/b.mp3", "disk");
    MakeFile("nas/c.mp3", "nas");
    mounts.drives.clear();
    mounts.Add(dir / "stick", "ABCD1234", "Removable", "STICK");
    mounts.Add(dir / "disk", "11112222", "Fixed", "DATA");
    mounts.AddNetwork(dir / "nas", "//nas/music");
    FileAdder adder = Adder();
    adder.AddFromAllDrives({"*.MP3"});
    EXPECT_EQ(volumes, (std::vector<std::string>{dir / "disk" + " 11112222",
                                                 dir / "stick" + " ABCD1234"}));
    EXPECT_EQ(adder.Totals().added, 2);
    EXPECT_EQ(Count("dTitle = 'stick' and dDriveSerialNumber = 'ABCD1234' and dPath = '/a.mp3' "
                    "and dDriveType = 2 and dDriveLabel = 'STICK'"),
              1);
    EXPECT_EQ(Count("dTitle = 'nas'"), 0);
}

}  // namespace
}  // namespace sonarchive::cataloguing
