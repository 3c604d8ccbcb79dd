#include "platform/drive_list.h"

#include <algorithm>

#include "platform/volume_rules.h"

namespace sonarchive::platform {

LocalDriveList BuildLocalDriveList(const MountTable& mounts) {
    const auto drives = mounts.Drives();
    LocalDriveList local;
    for (const auto& drive : *drives) {
        if (drive.driveType != kDriveRemote) {
            local.push_back({drive.mountPoint, drive.serialNumber});
        }
    }
    std::stable_sort(local.begin(), local.end(),
                     [](const TDriveRec& a, const TDriveRec& b) { return a.Letter < b.Letter; });
    return local;
}

int FindDriveBySerial(const LocalDriveList& drives, std::string_view serial) {
    const auto found = std::find_if(drives.begin(), drives.end(), [&](const TDriveRec& drive) {
        return drive.SerialNumber == serial;
    });
    return found == drives.end() ? -1 : static_cast<int>(found - drives.begin());
}

std::string CurrentDriveLetter(const LocalDriveList& drives, std::string_view serial) {
    const int index = FindDriveBySerial(drives, serial);
    return index < 0 ? "?" : drives[static_cast<std::size_t>(index)].Letter;
}

}  // namespace sonarchive::platform
