#include "platform/disk_info.h"

#include "platform/mount_paths.h"
#include "platform/volume_rules.h"

namespace sonarchive::platform {

TDiskInfo::TDiskInfo(const MountTable& mounts) : mounts_(mounts) {
    SetDrive("/");
}

void TDiskInfo::SetDrive(std::string_view path) {
    const auto drives = mounts_.Drives();
    const PathPlace place = PlaceOfPath(*drives, path);
    if (place.drive == nullptr) {
        drive_ = path;
        volumeName_.clear();
        serialNumber_.clear();
        fileSystemType_.clear();
        return;
    }
    drive_ = place.drive->mountPoint;
    volumeName_ = place.drive->volumeName;
    serialNumber_ = place.drive->serialNumber;
    fileSystemType_ = place.drive->fileSystemType;
}

std::string TDiskInfo::DriveType() const {
    const auto drives = mounts_.Drives();
    for (const auto& drive : *drives) {
        if (drive.mountPoint == drive_) {
            return drive.driveType;
        }
    }
    return std::string(kDriveNoRootDirectory);
}

}  // namespace sonarchive::platform
