// The local drive list: every mounted drive that is not a network drive, with its serial.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/mount_table.h"

namespace sonarchive::platform {

struct TDriveRec {
    std::string Letter;        // the drive's mount point ("/media/ann/MUSIC"); a letter on Windows
    std::string SerialNumber;  // 8 upper-case hexadecimal digits

    bool operator==(const TDriveRec&) const = default;
};

using LocalDriveList = std::vector<TDriveRec>;

// Every drive of the mount table whose type is not "Remote", ordered by mount point.
LocalDriveList BuildLocalDriveList(const MountTable& mounts);

// The index of the first drive whose serial is exactly `serial`; -1 when there is none.
int FindDriveBySerial(const LocalDriveList& drives, std::string_view serial);

// Where the volume with that serial is mounted now; "?" when it is not.
std::string CurrentDriveLetter(const LocalDriveList& drives, std::string_view serial);

}  // namespace sonarchive::platform
