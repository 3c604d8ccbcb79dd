// The lines of /proc/<pid>/mountinfo, one mount each.
//
// Line format (proc(5)):
//   36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 - ext3 /dev/root rw,errors=continue
//   (1)(2)(3)   (4)   (5)      (6)      (7)   (8) (9)    (10)         (11)
// mount id, parent id, device number, root of the mount inside its filesystem, mount point,
// mount options, zero or more optional fields ended by "-", filesystem type, mount source,
// superblock options. Blanks, tabs, newlines and backslashes inside the path fields are written
// as octal escapes ("\040" for a blank).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sonarchive::platform {

struct MountInfoLine {
    std::string device;  // "8:17": the filesystem's major:minor device number
    std::string root;    // the folder of the filesystem shown at the mount point
    std::string mountPoint;
    std::string fileSystemType;  // "ext4", "fuse.sshfs", ...
    std::string source;          // "/dev/sdb1", "//nas/music", "tmpfs", ...
};

// Every well-formed line, in the kernel's order (parents before children, later mounts after
// the ones they cover). Lines that do not have the fields above are skipped.
std::vector<MountInfoLine> ParseMountInfo(std::string_view text);

// Decodes the kernel's octal escapes ("\040" -> " "); a backslash not followed by three octal
// digits stays as it is.
std::string DecodeMountEscapes(std::string_view field);

}  // namespace sonarchive::platform
