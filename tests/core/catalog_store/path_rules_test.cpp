#include "catalog_store/path_rules.h"

#include <gtest/gtest.h>

#include "support/fake_mount_table.h"

namespace sonarchive::catalog {
namespace {

using sonarchive::testing::FakeMountTable;

TEST(WindowsPathRules, StripLettersAndKeepNetworkPaths) {
    platform::LocalDriveList drives{{"D", "0012ABCD"}, {"F", "CAFE0001"}};
    const WindowsPathRules rules(drives);
    EXPECT_EQ(rules.StripDriveLetter("C:\\a.mp3"), "\\a.mp3");
    EXPECT_EQ(rules.StripDriveLetter("D:\\Music\\a.mp3"), "\\Music\\a.mp3");
    EXPECT_EQ(rules.StripDriveLetter("\\\\srv\\music\\a.mp3"), "\\\\srv\\music\\a.mp3");
    EXPECT_EQ(rules.StripDriveLetter("ab:c"), "ab:c");  // the first ":" is not the second char
    EXPECT_EQ(rules.DriveLetterOf("D:\\Music\\a.mp3"), "D");
    EXPECT_EQ(rules.DriveLetterOf("\\\\srv\\music\\a.mp3"), " ");
    EXPECT_EQ(rules.NetworkHostOf("\\\\srv\\music\\a.mp3", false), "\\\\srv");
    EXPECT_EQ(rules.NetworkHostOf("\\\\srv\\music\\a.mp3", true), "srv");
    EXPECT_EQ(rules.NetworkHostOf("\\\\srv", false), "\\\\srv");
    EXPECT_EQ(rules.NetworkHostOf("C:\\x", false), "");
    EXPECT_TRUE(rules.IsNetworkPath("\\\\srv\\x"));

    // A disc that moved from E to F is found at F; an absent one nowhere.
    EXPECT_EQ(rules.BuildFullPath("CAFE0001", "\\Music\\a.mp3"), "F:\\Music\\a.mp3");
    EXPECT_EQ(rules.BuildFullPath("DEADBEEF", "\\a.mp3"), "");
    EXPECT_EQ(rules.BuildFullPath("\\\\srv", "\\\\srv\\music\\a.mp3"), "\\\\srv\\music\\a.mp3");
    EXPECT_EQ(rules.ResolveTypedFolder("\\\\srv\\music"), "\\\\srv\\music");
}

class PosixPathRulesTest : public ::testing::Test {
protected:
    PosixPathRulesTest() {
        mounts.Add("/", "0A1B2C3D");
        mounts.Add("/media/ann/MUSIC", "ABCD1234", "Removable", "MUSIC");
        mounts.Add("/media/ann/MUSIC 2", "ABCD5678", "Removable");
        mounts.AddNetwork("/mnt/nas", "//nas/music", "//nas/music");
        mounts.AddNetwork("/mnt/nfs", "//fileserver/export/audio", "fileserver:/export/audio");
    }
    FakeMountTable mounts;
    PosixPathRules rules{mounts};
};

TEST_F(PosixPathRulesTest, StoresThePathBelowTheLongestMountPoint) {
    EXPECT_EQ(rules.StripDriveLetter("/media/ann/MUSIC/Rock/a.mp3"), "/Rock/a.mp3");
    EXPECT_EQ(rules.StripDriveLetter("/media/ann/MUSIC 2/b.mp3"), "/b.mp3");
    EXPECT_EQ(rules.StripDriveLetter("/media/ann/MUSIC2/c.mp3"), "/media/ann/MUSIC2/c.mp3");
    EXPECT_EQ(rules.StripDriveLetter("/home/ann/d.mp3"), "/home/ann/d.mp3");
    EXPECT_EQ(rules.StripDriveLetter("/media/ann/MUSIC"), "/");
    EXPECT_EQ(rules.DriveLetterOf("/media/ann/MUSIC/Rock/a.mp3"), "/media/ann/MUSIC");
    EXPECT_EQ(rules.DriveLetterOf("/home/ann/d.mp3"), "/");
    EXPECT_EQ(rules.StripDriveLetter("relative/x.mp3"), "relative/x.mp3");
}

TEST_F(PosixPathRulesTest, TranslatesNetworkMountsToAddressesAndBack) {
    EXPECT_EQ(rules.StripDriveLetter("/mnt/nas/Jazz/a.mp3"), "//nas/music/Jazz/a.mp3");
    EXPECT_EQ(rules.DriveLetterOf("/mnt/nas/Jazz/a.mp3"), " ");
    EXPECT_EQ(rules.StripDriveLetter("/mnt/nfs/b.ogg"), "//fileserver/export/audio/b.ogg");
    EXPECT_EQ(rules.NetworkHostOf("//nas/music/Jazz/a.mp3", false), "//nas");
    EXPECT_EQ(rules.NetworkHostOf("//nas/music/Jazz/a.mp3", true), "nas");
    EXPECT_EQ(rules.NetworkHostOf("/nas/music", false), "");

    EXPECT_EQ(rules.BuildFullPath("//nas", "//nas/music/Jazz/a.mp3"), "/mnt/nas/Jazz/a.mp3");
    EXPECT_EQ(rules.BuildFullPath("//NAS", "//NAS/music/Jazz/a.mp3"), "/mnt/nas/Jazz/a.mp3");
    EXPECT_EQ(rules.BuildFullPath("//nas", "//nas/musicbox/a.mp3"), "");  // another share
    EXPECT_EQ(rules.BuildFullPath("//other", "//other/music/a.mp3"), "");
    EXPECT_EQ(rules.StripDriveLetter("//nas/music/x.mp3"), "//nas/music/x.mp3");
}

TEST_F(PosixPathRulesTest, FindsAVolumeAgainWhereverItIsMounted) {
    EXPECT_EQ(rules.BuildFullPath("ABCD1234", "/Rock/a.mp3"), "/media/ann/MUSIC/Rock/a.mp3");
    EXPECT_EQ(rules.BuildFullPath("0A1B2C3D", "/home/ann/d.mp3"), "/home/ann/d.mp3");
    mounts.drives[1].mountPoint = "/run/media/ann/STICK";
    EXPECT_EQ(rules.BuildFullPath("ABCD1234", "/Rock/a.mp3"), "/run/media/ann/STICK/Rock/a.mp3");
    mounts.drives.erase(mounts.drives.begin() + 1);
    EXPECT_EQ(rules.BuildFullPath("ABCD1234", "/Rock/a.mp3"), "");
    // A network mount whose source has no address has no serial; no row matches it.
    mounts.AddNetwork("/mnt/gvfs", "", "gvfsd-fuse");
    EXPECT_EQ(rules.BuildFullPath("", "/a.mp3"), "");
}

TEST_F(PosixPathRulesTest, FilesUnderABindMountKeepTheirVolume) {
    mounts.drives[1].otherPlaces = {{"/srv/albums", "/Albums"}, {"/mnt/stick", ""}};
    EXPECT_EQ(rules.StripDriveLetter("/srv/albums/b.mp3"), "/Albums/b.mp3");
    EXPECT_EQ(rules.StripDriveLetter("/srv/albums"), "/Albums");
    EXPECT_EQ(rules.StripDriveLetter("/mnt/stick/c.mp3"), "/c.mp3");
    EXPECT_EQ(rules.DriveLetterOf("/srv/albums/b.mp3"), "/media/ann/MUSIC");
    EXPECT_EQ(rules.BuildFullPath("ABCD1234", "/Albums/b.mp3"), "/media/ann/MUSIC/Albums/b.mp3");
    EXPECT_EQ(rules.StripDriveLetter("/srv/albumsX/d.mp3"), "/srv/albumsX/d.mp3");
}

}  // namespace
}  // namespace sonarchive::catalog
