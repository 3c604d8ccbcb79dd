#include "platform/proc_mount_table.h"

#include <gtest/gtest.h>

#include <map>

#include "catalog_store/path_rules.h"
#include "platform/mount_paths.h"
#include "platform/volume_rules.h"
#include "support/fake_mount_table.h"
#include "support/test_support.h"

namespace sonarchive::platform {
namespace {

using sonarchive::testing::FakeMountTable;
using sonarchive::testing::TempDir;
using sonarchive::testing::WriteBytes;

// Devices by mount source, as udev would describe them.
class FakeDeviceFacts : public DeviceFacts {
public:
    struct Device {
        VolumeIdentity identity;
        bool removable = false;
    };
    std::map<std::string, Device, std::less<>> devices;

    VolumeIdentity IdentityOf(std::string_view, std::string_view source) const override {
        const auto found = devices.find(source);
        return found == devices.end() ? VolumeIdentity{} : found->second.identity;
    }
    bool IsRemovable(std::string_view, std::string_view source) const override {
        const auto found = devices.find(source);
        return found != devices.end() && found->second.removable;
    }
};

// A desktop: NVMe root and EFI partition, a USB stick (also bind-mounted in part), an NTFS
// disk, a CD, network shares, a container overlay and the usual kernel filesystems.
constexpr const char* kDesktop =
    "22 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
    "23 22 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
    "24 22 0:22 / /sys rw,nosuid,nodev,noexec,relatime shared:2 - sysfs sysfs rw\n"
    "25 22 0:5 / /dev rw,nosuid,relatime shared:8 - devtmpfs udev rw,size=8123456k,mode=755\n"
    "26 25 0:23 / /dev/pts rw,nosuid,noexec,relatime shared:9 - devpts devpts rw,gid=5\n"
    "27 22 0:24 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,mode=755\n"
    "28 24 0:25 / /sys/fs/cgroup rw,nosuid,nodev,noexec shared:4 - cgroup2 cgroup2 rw\n"
    "29 22 0:26 / /tmp rw,nosuid,nodev shared:14 - tmpfs tmpfs rw,inode64\n"
    "30 22 259:1 / /boot/efi rw,relatime shared:30 - vfat /dev/nvme0n1p1 rw,fmask=0077\n"
    "32 22 0:28 / /proc/sys/fs/binfmt_misc rw,relatime shared:28 - autofs systemd-1 rw,fd=29\n"
    "40 22 8:17 / /media/ann/MUSIC\\040STICK rw,nosuid,nodev shared:330 - vfat /dev/sdb1 rw\n"
    "41 22 8:2 / /media/ann/Backup rw,nosuid,nodev shared:340 - ntfs3 /dev/sda2 rw,uid=1000\n"
    "42 22 11:0 / /media/ann/AUDIO_CD ro,nosuid,nodev shared:350 - iso9660 /dev/sr0 ro\n"
    "43 22 0:45 / /mnt/nas rw,relatime shared:360 - cifs //nas/music rw,vers=3.1.1\n"
    "44 22 0:46 / /mnt/nfs rw,relatime shared:370 - nfs4 nas:/export/music rw,vers=4.2\n"
    "45 22 0:47 / /var/lib/docker/overlay2/3f9a/merged rw shared:380 - overlay overlay rw\n"
    "46 22 8:17 /Albums /srv/albums rw,nosuid,nodev shared:330 - vfat /dev/sdb1 rw\n"
    "47 22 259:2 / /mnt/rootbind rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
    "48 22 0:50 / /home/ann/pi rw,nosuid,nodev shared:390 - fuse.sshfs ann@pi:/srv/music rw\n";

class DesktopMounts : public ::testing::Test {
protected:
    DesktopMounts() {
        facts.devices["/dev/nvme0n1p2"] = {{"3f1c2b4a-8d7e-4f60-9a1b-2c3d4e5f6a7b", ""}, false};
        facts.devices["/dev/nvme0n1p1"] = {{"1A2B-3C4D", ""}, false};
        facts.devices["/dev/sdb1"] = {{"ABCD-1234", "MUSIC"}, true};
        facts.devices["/dev/sda2"] = {{"01D3F4A5B6C7D8E9", "Backup"}, false};
        facts.devices["/dev/sr0"] = {{"2004-05-01-12-00-00-00", "AUDIO_CD"}, true};
        table.drives = DrivesFromMountInfo(ParseMountInfo(kDesktop), facts);
    }

    const MountEntry& At(const std::string& mountPoint) const {
        for (const auto& drive : table.drives) {
            if (drive.mountPoint == mountPoint) {
                return drive;
            }
        }
        throw std::runtime_error("no drive at " + mountPoint);
    }

    FakeDeviceFacts facts;
    FakeMountTable table;
};

TEST_F(DesktopMounts, ListsEachFilesystemOnceWithoutPseudoFilesystems) {
    std::vector<std::string> mountPoints;
    for (const auto& drive : table.drives) {
        mountPoints.push_back(drive.mountPoint);
    }
    EXPECT_EQ(mountPoints, (std::vector<std::string>{
                               "/", "/run", "/tmp", "/boot/efi", "/media/ann/MUSIC STICK",
                               "/media/ann/Backup", "/media/ann/AUDIO_CD", "/mnt/nas", "/mnt/nfs",
                               "/var/lib/docker/overlay2/3f9a/merged", "/home/ann/pi"}));
    // The bind mounts stay known as further places of their filesystem.
    EXPECT_EQ(At("/").otherPlaces, (std::vector<MountPlace>{{"/mnt/rootbind", ""}}));
    EXPECT_EQ(At("/media/ann/MUSIC STICK").otherPlaces,
              (std::vector<MountPlace>{{"/srv/albums", "/Albums"}}));
}

TEST_F(DesktopMounts, TypesSerialsAndLabels) {
    const MountEntry& root = At("/");
    EXPECT_EQ(root.driveType, "Fixed");
    EXPECT_EQ(root.serialNumber, "3F1C2B4A");
    EXPECT_EQ(root.fileSystemType, "ext4");
    EXPECT_EQ(root.source, "/dev/nvme0n1p2");

    const MountEntry& stick = At("/media/ann/MUSIC STICK");
    EXPECT_EQ(stick.driveType, "Removable");
    EXPECT_EQ(stick.serialNumber, "ABCD1234");
    EXPECT_EQ(stick.volumeName, "MUSIC");

    const MountEntry& ntfs = At("/media/ann/Backup");
    EXPECT_EQ(ntfs.driveType, "Fixed");
    EXPECT_EQ(ntfs.serialNumber, "B6C7D8E9");
    EXPECT_EQ(ntfs.volumeName, "Backup");

    EXPECT_EQ(At("/media/ann/AUDIO_CD").driveType, "CDROM");
    EXPECT_EQ(At("/media/ann/AUDIO_CD").serialNumber,
              HashSerial("2004-05-01-12-00-00-00\nAUDIO_CD"));  // a creation time
    EXPECT_EQ(At("/boot/efi").serialNumber, "1A2B3C4D");

    // Without UUID: a hash of source, type and, for device-less filesystems, the mount point,
    // so that /run and /tmp are told apart.
    const MountEntry& run = At("/run");
    EXPECT_EQ(run.driveType, "RamDisk");
    EXPECT_EQ(run.serialNumber, HashSerial("tmpfs\ntmpfs\n/run"));
    EXPECT_NE(run.serialNumber, At("/tmp").serialNumber);
    EXPECT_EQ(run.volumeName, "");
    EXPECT_EQ(At("/var/lib/docker/overlay2/3f9a/merged").driveType, "Fixed");

    for (const char* remote : {"/mnt/nas", "/mnt/nfs", "/home/ann/pi"}) {
        EXPECT_EQ(At(remote).driveType, "Remote") << remote;
        EXPECT_EQ(At(remote).serialNumber, "") << remote;
    }
    EXPECT_EQ(At("/mnt/nas").networkAddress, "//nas/music");
    EXPECT_EQ(At("/mnt/nfs").networkAddress, "//nas/export/music");
    EXPECT_EQ(At("/home/ann/pi").networkAddress, "//pi/srv/music");
}

TEST_F(DesktopMounts, PathsTranslateToIdentitiesAndBack) {
    const catalog::PosixPathRules rules(table);
    EXPECT_EQ(rules.StripDriveLetter("/media/ann/MUSIC STICK/Rock/a.mp3"), "/Rock/a.mp3");
    EXPECT_EQ(rules.DriveLetterOf("/media/ann/MUSIC STICK/Rock/a.mp3"), "/media/ann/MUSIC STICK");
    EXPECT_EQ(rules.BuildFullPath("ABCD1234", "/Rock/a.mp3"), "/media/ann/MUSIC STICK/Rock/a.mp3");

    // Through a bind mount, a file keeps the identity of its own filesystem.
    EXPECT_EQ(rules.StripDriveLetter("/srv/albums/b.mp3"), "/Albums/b.mp3");
    EXPECT_EQ(rules.DriveLetterOf("/srv/albums/b.mp3"), "/media/ann/MUSIC STICK");
    EXPECT_EQ(rules.StripDriveLetter("/mnt/rootbind/home/c.mp3"), "/home/c.mp3");

    EXPECT_EQ(rules.StripDriveLetter("/mnt/nas/Jazz/d.mp3"), "//nas/music/Jazz/d.mp3");
    EXPECT_EQ(rules.BuildFullPath("//nas", "//nas/music/Jazz/d.mp3"), "/mnt/nas/Jazz/d.mp3");
    EXPECT_EQ(rules.StripDriveLetter("/mnt/nfs/e.ogg"), "//nas/export/music/e.ogg");
    EXPECT_EQ(rules.BuildFullPath("//nas", "//nas/export/music/e.ogg"), "/mnt/nfs/e.ogg");
    EXPECT_EQ(rules.StripDriveLetter("/home/ann/pi/f.mp3"), "//pi/srv/music/f.mp3");

    // A folder typed as a network path opens through the mount of its share.
    EXPECT_EQ(rules.ResolveTypedFolder("//nas/music/Jazz"), "/mnt/nas/Jazz");
    EXPECT_EQ(rules.ResolveTypedFolder("//NAS/export/music"), "/mnt/nfs");
    EXPECT_EQ(rules.ResolveTypedFolder("//nas/video"), "");
    EXPECT_EQ(rules.ResolveTypedFolder("/home/ann"), "/home/ann");
}

TEST(DrivesFromMountInfo, ALaterMountHidesTheOneBelowIt) {
    const FakeDeviceFacts facts;
    const auto drives =
        DrivesFromMountInfo(ParseMountInfo("22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                           "25 22 0:23 / /dev/shm rw - tmpfs tmpfs rw\n"
                                           "30 25 0:27 / /dev/shm rw - tmpfs shm rw\n"),
                            facts);
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[1].mountPoint, "/dev/shm");
    EXPECT_EQ(drives[1].source, "shm");
    EXPECT_EQ(drives[0].serialNumber, HashSerial("/dev/sda1\next4"));  // unreadable identity
}

TEST(DrivesFromMountInfo, NamesThatAreNotUtf8AreKeptInTheProgramsForm) {
    FakeDeviceFacts facts;
    facts.devices["/dev/sdb1"] = {{"ABCD-1234", ""}, true};  // asked with the system's bytes
    const auto drives = DrivesFromMountInfo(
        ParseMountInfo("22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                       "40 22 8:17 / /media/Lieder\\040\xC4lter rw - vfat /dev/sdb1 rw\n"
                       "41 22 8:17 /Caf\xE9 /srv/caf\xE9 rw - vfat /dev/sdb1 rw\n"
                       "50 22 0:50 / /mnt/nas rw - cifs //nas/M\xFCsik rw\n"),
        facts);
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[1].mountPoint, "/media/Lieder \uEFC4lter");
    EXPECT_EQ(drives[1].serialNumber, "ABCD1234");
    ASSERT_EQ(drives[1].otherPlaces.size(), 1u);
    EXPECT_EQ(drives[1].otherPlaces[0], (MountPlace{"/srv/caf\uEFE9", "/Caf\uEFE9"}));
    EXPECT_EQ(drives[2].networkAddress, "//nas/M\uEFFCsik");
}

TEST(ProcMountTable, ReadsAgainOnlyWhenInvalidated) {
    TempDir dir;
    const std::string file = dir / "mountinfo";
    WriteBytes(file, "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n");
    ProcMountTable table(file, std::make_shared<FakeDeviceFacts>());
    const MountSnapshot first = table.Drives();
    ASSERT_EQ(first->size(), 1u);

    WriteBytes(file,
               "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
               "40 22 8:17 / /media/x rw - vfat /dev/sdb1 rw\n");
    EXPECT_EQ(table.Drives(), first);  // a plain file signals no change: the cache stays
    table.Invalidate();
    EXPECT_EQ(table.Drives()->size(), 2u);
    EXPECT_EQ(first->size(), 1u);  // a snapshot once handed out never changes

    EXPECT_TRUE(ProcMountTable(dir / "missing").Drives()->empty());
}

TEST(ProcMountTable, ReadsThisProcessesMountTable) {
    const ProcMountTable table;
    const auto drives = table.Drives();
    for (const auto& drive : *drives) {
        EXPECT_FALSE(IsPseudoFileSystem(drive.fileSystemType)) << drive.mountPoint;
        EXPECT_EQ(drive.serialNumber.size(), drive.driveType == "Remote" ? 0u : 8u);
    }
    EXPECT_EQ(table.Drives(), drives);  // nothing was mounted in between: same snapshot

    // In a chroot the mounts outside it are not listed, and no drive may hold the folder.
    const sonarchive::testing::TempDir dir;
    if (PlaceOfPath(*drives, dir.Path()).drive == nullptr) {
        GTEST_SKIP() << "no mount of this process is seen to hold " << dir.Path();
    }
    EXPECT_FALSE(drives->empty());
}

}  // namespace
}  // namespace sonarchive::platform
