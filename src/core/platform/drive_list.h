// The local drive list: every mounted drive that is not a network drive, with its serial.
#pragma once

#include <string>
#include <vector>

namespace sonarchive::platform {

struct TDriveRec {
    std::string Letter;        // the drive's mount point ("/media/ann/MUSIC"); a letter on Windows
    std::string SerialNumber;  // 8 upper-case hexadecimal digits
};

using LocalDriveList = std::vector<TDriveRec>;

}  // namespace sonarchive::platform
