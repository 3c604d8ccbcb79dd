// The drives (mounted filesystems) the catalog can find files on.
//
// A "drive" is a mounted filesystem; its "drive letter" is its mount point. A catalogued file
// is identified by its volume's serial and its path below the mount point, so that a stick or
// disc is found again wherever it is mounted next time. Files on network mounts are identified
// by their network address ("//host/share/...") instead.
//
// Mount points, sources and folders are in the program's form of names (text/path_bytes.h).
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace sonarchive::platform {

// Another place where a filesystem is mounted (a bind mount), showing `folder` of it.
struct MountPlace {
    std::string mountPoint;
    std::string folder;  // "/Music": the folder of the filesystem seen at the mount point

    bool operator==(const MountPlace&) const = default;
};

struct MountEntry {
    std::string mountPoint;      // with escapes decoded: "/media/ann/MY MUSIC"
    std::string source;          // as mounted: "/dev/sdb1", "//nas/music", "nas:/export"
    std::string fileSystemType;  // "vfat", "ext4", "cifs", ...
    std::string driveType;       // a drive type name: "Fixed", "Removable", "Remote", ...
    std::string serialNumber;    // 8 upper-case hexadecimal digits; empty for "Remote"
    std::string volumeName;      // the filesystem label, empty when none
    std::string networkAddress;  // "//host/share" for "Remote" mounts, empty otherwise
    // Further places of the same filesystem, each showing a folder inside what `mountPoint`
    // shows. The filesystem is listed once, under `mountPoint`; paths below these places
    // still belong to it.
    std::vector<MountPlace> otherPlaces = {};

    bool operator==(const MountEntry&) const = default;
};

using MountSnapshot = std::shared_ptr<const std::vector<MountEntry>>;

class MountTable {
public:
    virtual ~MountTable() = default;
    // Every drive mounted now, one entry per filesystem, pseudo filesystems left out. The
    // snapshot stays valid and unchanged while the caller holds it.
    virtual MountSnapshot Drives() const = 0;
};

}  // namespace sonarchive::platform
