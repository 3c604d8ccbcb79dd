#include "platform/mountinfo.h"

#include <gtest/gtest.h>

#include "platform/device_facts.h"

namespace sonarchive::platform {
namespace {

TEST(MountInfo, ReadsTheFieldsAroundTheOptionalOnes) {
    const auto lines = ParseMountInfo(
        "22 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
        "36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 propagate_from:2 - ext3 /dev/root rw\n"
        "40 22 8:17 / /media/ann/MY\\040MUSIC rw - vfat /dev/sdb1 rw,uid=1000\n"
        "41 22 0:45 / /mnt/tab\\011and\\134back rw - tmpfs  rw\n"
        "50 22 0:46 / /mnt/no-separator rw ext4 /dev/sdc1 rw\n"
        "garbage\n"
        "\n"
        "51 22 0:47 / /mnt/last rw - nfs4 nas:/export/music");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].device, "259:2");
    EXPECT_EQ(lines[0].root, "/");
    EXPECT_EQ(lines[0].mountPoint, "/");
    EXPECT_EQ(lines[0].fileSystemType, "ext4");
    EXPECT_EQ(lines[0].source, "/dev/nvme0n1p2");

    EXPECT_EQ(lines[1].root, "/mnt1");  // two optional fields before "-"
    EXPECT_EQ(lines[1].mountPoint, "/mnt2");
    EXPECT_EQ(lines[1].source, "/dev/root");

    EXPECT_EQ(lines[2].mountPoint, "/media/ann/MY MUSIC");
    EXPECT_EQ(lines[2].fileSystemType, "vfat");

    EXPECT_EQ(lines[3].mountPoint, "/mnt/tab\tand\\back");
    EXPECT_EQ(lines[3].source, "");  // a mount without source: two blanks in a row

    EXPECT_EQ(lines[4].mountPoint, "/mnt/last");  // last line without newline or options
    EXPECT_EQ(lines[4].source, "nas:/export/music");
}

TEST(MountInfo, DecodesOnlyCompleteOctalEscapes) {
    EXPECT_EQ(DecodeMountEscapes("a\\040b"), "a b");
    EXPECT_EQ(DecodeMountEscapes("\\012"), "\n");
    EXPECT_EQ(DecodeMountEscapes("\\303\\251t\\303\\251"), "\xC3\xA9t\xC3\xA9");  // "été" in UTF-8
    EXPECT_EQ(DecodeMountEscapes("a\\04"), "a\\04");
    EXPECT_EQ(DecodeMountEscapes("a\\08b"), "a\\08b");
    EXPECT_EQ(DecodeMountEscapes("\\777"), "\\777");  // above one byte
    EXPECT_EQ(DecodeMountEscapes("end\\"), "end\\");
}

// The names of /dev/disk/by-label links.
TEST(UdevNames, DecodeHexEscapes) {
    EXPECT_EQ(DecodeUdevName("MY\\x20MUSIC"), "MY MUSIC");
    EXPECT_EQ(DecodeUdevName("a\\x2fb"), "a/b");
    EXPECT_EQ(DecodeUdevName("\\x2"), "\\x2");
    EXPECT_EQ(DecodeUdevName("\\xZZ"), "\\xZZ");
}

}  // namespace
}  // namespace sonarchive::platform
