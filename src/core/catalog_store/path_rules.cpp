#include "catalog_store/path_rules.h"

#include <algorithm>

#include "platform/mount_paths.h"
#include "text/text.h"

namespace sonarchive::catalog {
namespace {

// "\\srv\share" or "//srv/share": the host runs from the third character to the next
// separator or the end.
std::string HostOf(std::string_view path, std::string_view prefix, char separator,
                   bool dropSlashes) {
    if (path.substr(0, 2) != prefix) {
        return {};
    }
    const auto end = path.find(separator, 2);
    const std::string_view host = path.substr(2, end == std::string_view::npos ? end : end - 2);
    std::string result(dropSlashes ? "" : prefix);
    result.append(host);
    return result;
}

bool HasColonAsSecondCharacter(std::string_view path) { return path.find(':') == 1; }

// A network address "//host/share" holds a stored path when it is a prefix of it at a component
// boundary; the host compares without regard to case, as host names do.
bool NetworkAddressHolds(std::string_view address, std::string_view storedPath) {
    if (storedPath.size() < address.size()) {
        return false;
    }
    const auto hostEnd = std::min(address.find('/', 2), address.size());
    return text::EqualsIgnoringCase(storedPath.substr(0, hostEnd), address.substr(0, hostEnd)) &&
           storedPath.substr(hostEnd, address.size() - hostEnd) == address.substr(hostEnd) &&
           (storedPath.size() == address.size() || storedPath[address.size()] == '/');
}

}  // namespace

// ---------------------------------------------------------------------------------------------

std::string WindowsPathRules::StripDriveLetter(std::string_view fullPath) const {
    return std::string(HasColonAsSecondCharacter(fullPath) ? fullPath.substr(2) : fullPath);
}

std::string WindowsPathRules::DriveLetterOf(std::string_view fullPath) const {
    return HasColonAsSecondCharacter(fullPath) ? std::string(fullPath.substr(0, 1)) : " ";
}

std::string WindowsPathRules::NetworkHostOf(std::string_view path, bool dropSlashes) const {
    return HostOf(path, NetworkPrefix(), Separator(), dropSlashes);
}

std::string WindowsPathRules::ResolveTypedFolder(std::string_view typed) const {
    return std::string(typed);
}

std::string WindowsPathRules::BuildFullPath(std::string_view serial,
                                            std::string_view storedPath) const {
    if (IsNetworkPath(serial)) {
        return std::string(storedPath);
    }
    for (const auto& drive : drives_) {
        if (drive.SerialNumber == serial) {
            return drive.Letter + ":" + std::string(storedPath);
        }
    }
    return {};
}

// ---------------------------------------------------------------------------------------------

std::string PosixPathRules::StripDriveLetter(std::string_view fullPath) const {
    if (IsNetworkPath(fullPath)) {
        return std::string(fullPath);
    }
    const auto drives = mounts_.Drives();
    const platform::PathPlace place = platform::PlaceOfPath(*drives, fullPath);
    if (place.drive == nullptr) {
        return std::string(fullPath);
    }
    std::string stored(place.folder);
    stored.append(platform::PathBelow(fullPath, place.mountPoint));
    if (stored.empty()) {
        stored = "/";
    }
    if (!place.drive->networkAddress.empty()) {
        return place.drive->networkAddress + (stored == "/" ? "" : stored);
    }
    return stored;
}

std::string PosixPathRules::DriveLetterOf(std::string_view fullPath) const {
    if (IsNetworkPath(fullPath)) {
        return " ";
    }
    const auto drives = mounts_.Drives();
    const platform::PathPlace place = platform::PlaceOfPath(*drives, fullPath);
    return place.drive == nullptr || !place.drive->networkAddress.empty() ? " "
                                                                          : place.drive->mountPoint;
}

std::string PosixPathRules::NetworkHostOf(std::string_view path, bool dropSlashes) const {
    return HostOf(path, NetworkPrefix(), Separator(), dropSlashes);
}

std::string PosixPathRules::BuildFullPath(std::string_view serial,
                                          std::string_view storedPath) const {
    const auto drives = mounts_.Drives();
    if (IsNetworkPath(serial)) {
        const platform::MountEntry* best = nullptr;
        for (const auto& drive : *drives) {
            if (!drive.networkAddress.empty() &&
                NetworkAddressHolds(drive.networkAddress, storedPath) &&
                (best == nullptr || drive.networkAddress.size() > best->networkAddress.size())) {
                best = &drive;
            }
        }
        if (best == nullptr) {
            return {};
        }
        const std::string_view rest = storedPath.substr(best->networkAddress.size());
        return best->mountPoint == "/" && !rest.empty() ? std::string(rest)
                                                         : best->mountPoint + std::string(rest);
    }
    for (const auto& drive : *drives) {
        if (drive.networkAddress.empty() && !serial.empty() && drive.serialNumber == serial) {
            return drive.mountPoint == "/" ? std::string(storedPath)
                                           : drive.mountPoint + std::string(storedPath);
        }
    }
    return {};
}

std::string PosixPathRules::ResolveTypedFolder(std::string_view typed) const {
    return IsNetworkPath(typed) ? BuildFullPath(NetworkHostOf(typed, false), typed)
                                : std::string(typed);
}

}  // namespace sonarchive::catalog
