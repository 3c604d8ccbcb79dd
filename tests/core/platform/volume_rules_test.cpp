#include "platform/volume_rules.h"

#include <gtest/gtest.h>

namespace sonarchive::platform {
namespace {

TEST(VolumeRules, SerialsFromTheUuidsOfEachFilesystem) {
    EXPECT_EQ(SerialFromUuid("ABCD-1234", "STICK"), "ABCD1234");  // FAT: the serial Windows shows
    EXPECT_EQ(SerialFromUuid("abcd-1234", ""), "ABCD1234");
    EXPECT_EQ(SerialFromUuid("01D3F4A5B6C7D8E9", "Data"), "B6C7D8E9");  // NTFS: the low half
    EXPECT_EQ(SerialFromUuid("0012abcd-5678-4def-8123-456789abcdef", "x"), "0012ABCD");
    EXPECT_EQ(SerialFromUuid("1a2b", ""), "00001A2B");
    EXPECT_EQ(SerialFromUuid("", "label"), "");
    EXPECT_EQ(SerialFromUuid("--", ""), "");
}

TEST(VolumeRules, DiscsBurnedOnOneDayAreTwoVolumes) {
    // ISO 9660 and UDF give their creation time as UUID: the first 8 digits are the day.
    const std::string first = SerialFromUuid("2026-12-09-15-41-19-00", "HOLIDAY");
    const std::string second = SerialFromUuid("2026-12-09-18-02-44-00", "HOLIDAY");
    EXPECT_NE(first, second);
    EXPECT_NE(first.substr(0, 8), "20261209");
    EXPECT_EQ(first, HashSerial("2026-12-09-15-41-19-00\nHOLIDAY"));
    // The same disc is the same volume whenever it is read; another label is another disc.
    EXPECT_EQ(SerialFromUuid("2026-12-09-15-41-19-00", "HOLIDAY"), first);
    EXPECT_NE(SerialFromUuid("2026-12-09-15-41-19-00", "WORK"), first);
    // Not one hexadecimal number either: other letters, or groups of no UUID layout.
    EXPECT_EQ(SerialFromUuid("WxYz-1234", ""), HashSerial("WxYz-1234\n"));
    EXPECT_EQ(SerialFromUuid("abcd-12-34", "L"), HashSerial("abcd-12-34\nL"));
}

TEST(VolumeRules, HashSerialIsFnv1a) {
    // Reference values of the 32-bit FNV-1a hash.
    EXPECT_EQ(HashSerial(""), "811C9DC5");
    EXPECT_EQ(HashSerial("a"), "E40C292C");
    EXPECT_EQ(HashSerial("foobar"), "BF9CF968");
}

TEST(VolumeRules, NetworkAddressesOfMountSources) {
    EXPECT_EQ(NetworkAddressOf("//nas/music"), "//nas/music");
    EXPECT_EQ(NetworkAddressOf("//nas/music/"), "//nas/music");
    EXPECT_EQ(NetworkAddressOf("\\\\nas\\music\\rock"), "//nas/music/rock");
    EXPECT_EQ(NetworkAddressOf("//nas"), "//nas");
    EXPECT_EQ(NetworkAddressOf("nas:/export/music"), "//nas/export/music");
    EXPECT_EQ(NetworkAddressOf("nas:/"), "//nas");
    EXPECT_EQ(NetworkAddressOf("[fd00::5]:/export"), "//[fd00::5]/export");
    EXPECT_EQ(NetworkAddressOf("ann@pi:/srv/music"), "//pi/srv/music");
    EXPECT_EQ(NetworkAddressOf("https://ann@dav.example:8443/remote.php/files"),
              "//dav.example/remote.php/files");
    // Forms with no host and path in them cannot be translated.
    EXPECT_EQ(NetworkAddressOf("ann@pi:music"), "");  // relative to a home folder
    EXPECT_EQ(NetworkAddressOf("gvfsd-fuse"), "");
    EXPECT_EQ(NetworkAddressOf(":/export"), "");
    EXPECT_EQ(NetworkAddressOf(""), "");
}

TEST(VolumeRules, DriveTypesAndPseudoFilesystems) {
    EXPECT_EQ(DriveTypeOf("ext4", "/dev/sda1", false), "Fixed");
    EXPECT_EQ(DriveTypeOf("vfat", "/dev/sdb1", true), "Removable");
    EXPECT_EQ(DriveTypeOf("iso9660", "/dev/loop0", false), "CDROM");
    EXPECT_EQ(DriveTypeOf("udf", "/dev/sdc", true), "CDROM");
    EXPECT_EQ(DriveTypeOf("vfat", "/dev/sr0", false), "CDROM");
    EXPECT_EQ(DriveTypeOf("ext2", "/dev/scd1", false), "CDROM");
    EXPECT_EQ(DriveTypeOf("tmpfs", "tmpfs", false), "RamDisk");
    EXPECT_EQ(DriveTypeOf("ramfs", "none", false), "RamDisk");
    EXPECT_EQ(DriveTypeOf("overlay", "overlay", false), "Fixed");
    EXPECT_EQ(DriveTypeOf("cifs", "//nas/music", false), "Remote");
    EXPECT_EQ(DriveTypeOf("fuse.sshfs", "ann@pi:/srv", false), "Remote");
    EXPECT_EQ(DriveTypeOf("ext4", "/dev/srv", false), "Fixed");
    EXPECT_TRUE(IsNetworkFileSystem("nfs4"));
    EXPECT_TRUE(IsNetworkFileSystem("fuse.rclone"));
    EXPECT_TRUE(IsNetworkFileSystem("fuse.glusterfs"));
    EXPECT_FALSE(IsNetworkFileSystem("fuse"));
    EXPECT_FALSE(IsNetworkFileSystem("fuse.encfs"));
    EXPECT_TRUE(IsPseudoFileSystem("proc"));
    EXPECT_TRUE(IsPseudoFileSystem("cgroup2"));
    EXPECT_TRUE(IsPseudoFileSystem("autofs"));
    EXPECT_FALSE(IsPseudoFileSystem("tmpfs"));
    EXPECT_FALSE(IsPseudoFileSystem("overlay"));
}

}  // namespace
}  // namespace sonarchive::platform
