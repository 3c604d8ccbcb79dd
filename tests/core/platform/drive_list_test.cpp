#include "platform/drive_list.h"

#include <gtest/gtest.h>

#include "platform/disk_info.h"
#include "support/fake_mount_table.h"

namespace sonarchive::platform {
namespace {

using sonarchive::testing::FakeMountTable;

class DriveListTest : public ::testing::Test {
protected:
    DriveListTest() {
        mounts.Add("/media/ann/STICK", "ABCD1234", "Removable", "MUSIC");
        mounts.Add("/", "3F1C2B4A");
        mounts.AddNetwork("/mnt/nas", "//nas/music", "//nas/music");
        mounts.Add("/media/ann/CD", "0012ABCD", "CDROM", "AUDIO_CD");
        mounts.Add("/media/ann/STICK2", "ABCD1234", "Removable");  // a cloned stick
    }
    FakeMountTable mounts;
};

TEST_F(DriveListTest, LocalDrivesInMountPointOrderWithoutNetworkDrives) {
    const LocalDriveList drives = BuildLocalDriveList(mounts);
    EXPECT_EQ(drives, (LocalDriveList{{"/", "3F1C2B4A"},
                                      {"/media/ann/CD", "0012ABCD"},
                                      {"/media/ann/STICK", "ABCD1234"},
                                      {"/media/ann/STICK2", "ABCD1234"}}));
    EXPECT_EQ(FindDriveBySerial(drives, "ABCD1234"), 2);   // the first match
    EXPECT_EQ(FindDriveBySerial(drives, "abcd1234"), -1);  // exact comparison
    EXPECT_EQ(FindDriveBySerial(drives, "//nas"), -1);
    EXPECT_EQ(CurrentDriveLetter(drives, "0012ABCD"), "/media/ann/CD");
    EXPECT_EQ(CurrentDriveLetter(drives, "DEADBEEF"), "?");

    // The CD moved to another mount point: its rows show the new one.
    mounts.drives[3].mountPoint = "/run/media/ann/AUDIO_CD";
    EXPECT_EQ(CurrentDriveLetter(BuildLocalDriveList(mounts), "0012ABCD"),
              "/run/media/ann/AUDIO_CD");
}

TEST_F(DriveListTest, DiskInfoQueriesWhenSetAndTheTypeOnEveryRead) {
    TDiskInfo info(mounts);
    EXPECT_EQ(info.Drive(), "/");
    EXPECT_EQ(info.SerialNumber(), "3F1C2B4A");

    info.SetDrive("/media/ann/STICK/Rock/a.mp3");  // any path: its drive is taken
    EXPECT_EQ(info.Drive(), "/media/ann/STICK");
    EXPECT_EQ(info.DriveType(), "Removable");
    EXPECT_EQ(info.SerialNumber(), "ABCD1234");
    EXPECT_EQ(info.VolumeName(), "MUSIC");
    EXPECT_EQ(info.FileSystemType(), "ext4");

    info.SetDrive("/mnt/nas/x");
    EXPECT_EQ(info.Drive(), "/mnt/nas");
    EXPECT_EQ(info.DriveType(), "Remote");
    EXPECT_EQ(info.SerialNumber(), "");

    info.SetDrive("/media/ann/CD");
    mounts.drives.erase(mounts.drives.begin() + 3);  // ejected: the queried values stay
    EXPECT_EQ(info.DriveType(), "Root Directory does not exist");
    EXPECT_EQ(info.SerialNumber(), "0012ABCD");

    info.SetDrive("relative/path");
    EXPECT_EQ(info.Drive(), "relative/path");
    EXPECT_EQ(info.DriveType(), "Root Directory does not exist");
    EXPECT_EQ(info.SerialNumber(), "");
    EXPECT_EQ(info.VolumeName(), "");
}

}  // namespace
}  // namespace sonarchive::platform
