#include "platform/mount_paths.h"

namespace sonarchive::platform {

bool IsPathUnder(std::string_view path, std::string_view folder) {
    if (folder == "/") {
        return !path.empty() && path.front() == '/';
    }
    return path.substr(0, folder.size()) == folder &&
           (path.size() == folder.size() || path[folder.size()] == '/');
}

std::string_view PathBelow(std::string_view path, std::string_view folder) {
    return folder == "/" ? path : path.substr(folder.size());
}

PathPlace PlaceOfPath(const std::vector<MountEntry>& drives, std::string_view path) {
    PathPlace best;
    const auto consider = [&](const MountEntry& drive, std::string_view mountPoint,
                              std::string_view folder) {
        if (IsPathUnder(path, mountPoint) &&
            (best.drive == nullptr || mountPoint.size() > best.mountPoint.size())) {
            best = {&drive, mountPoint, folder};
        }
    };
    for (const auto& drive : drives) {
        consider(drive, drive.mountPoint, {});
        for (const auto& place : drive.otherPlaces) {
            consider(drive, place.mountPoint, place.folder);
        }
    }
    return best;
}

}  // namespace sonarchive::platform
