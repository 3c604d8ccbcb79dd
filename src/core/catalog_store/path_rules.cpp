#include "catalog_store/path_rules.h"

#include <algorithm>

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

bool IsUnder(std::string_view path, std::string_view directory) {
    if (directory == "/") {
        return !path.empty() && path.front() == '/';
    }
    return path.substr(0, directory.size()) == directory &&
           (path.size() == directory.size() || path[directory.size()] == '/');
}

// The remainder of `path` below `directory` ("" or "/...").
std::string_view Below(std::string_view path, std::string_view directory) {
    return directory == "/" ? path : path.substr(directory.size());
}

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

const platform::MountEntry* PosixPathRules::MountOf(
    const std::vector<platform::MountEntry>& drives, std::string_view fullPath) {
    const platform::MountEntry* best = nullptr;
    for (const auto& drive : drives) {
        if (IsUnder(fullPath, drive.mountPoint) &&
            (best == nullptr || drive.mountPoint.size() > best->mountPoint.size())) {
            best = &drive;
        }
    }
    return best;
}

std::string PosixPathRules::StripDriveLetter(std::string_view fullPath) const {
    if (IsNetworkPath(fullPath)) {
        return std::string(fullPath);
    }
    const auto drives = mounts_.Drives();
    const platform::MountEntry* mount = MountOf(*drives, fullPath);
    if (mount == nullptr) {
        return std::string(fullPath);
    }
    std::string stored(Below(fullPath, mount->mountPoint));
    if (stored.empty()) {
        stored = "/";
    }
    if (!mount->networkAddress.empty()) {
        return mount->networkAddress + (stored == "/" ? "" : stored);
    }
    return stored;
}

std::string PosixPathRules::DriveLetterOf(std::string_view fullPath) const {
    if (IsNetworkPath(fullPath)) {
        return " ";
    }
    const auto drives = mounts_.Drives();
    const platform::MountEntry* mount = MountOf(*drives, fullPath);
    return mount == nullptr || !mount->networkAddress.empty() ? " " : mount->mountPoint;
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
        if (drive.networkAddress.empty() && drive.serialNumber == serial) {
            return drive.mountPoint == "/" ? std::string(storedPath)
                                           : drive.mountPoint + std::string(storedPath);
        }
    }
    return {};
}

}  // namespace sonarchive::catalog
