// The identity of one drive, as the cataloguing code asks for it.
#pragma once

#include <string>
#include <string_view>

#include "platform/mount_table.h"

namespace sonarchive::platform {

class TDiskInfo {
public:
    // Starts on the root filesystem "/", queried at once.
    explicit TDiskInfo(const MountTable& mounts);

    // The drive's mount point.
    const std::string& Drive() const { return drive_; }
    // Takes the drive that holds the path (its mount point becomes Drive) and queries its
    // label, serial and filesystem type, which stay until Drive is set again. A path on no
    // drive (a relative one) is kept as it is, with empty results.
    void SetDrive(std::string_view path);

    // Asked afresh on every read: "Root Directory does not exist" once the drive is gone.
    std::string DriveType() const;
    const std::string& VolumeName() const { return volumeName_; }
    const std::string& SerialNumber() const { return serialNumber_; }
    const std::string& FileSystemType() const { return fileSystemType_; }

private:
    const MountTable& mounts_;
    std::string drive_;
    std::string volumeName_;
    std::string serialNumber_;
    std::string fileSystemType_;
};

}  // namespace sonarchive::platform
