#include "cataloguing/volume_identity.h"

#include "catalog_store/sql_text.h"
#include "platform/mount_paths.h"

namespace sonarchive::cataloguing {
namespace {

VolumeIdentity NetworkIdentity(std::string host) {
    return {"Remote", catalog::kDriveRemote, std::move(host), "", " "};
}

}  // namespace

VolumeIdentity IdentityOfDrive(const platform::MountEntry& drive) {
    return {drive.driveType, catalog::DriveTypeCodeOf(drive.driveType), drive.serialNumber,
            drive.volumeName, drive.mountPoint};
}

IdentityResult VolumeIdentityOf(const platform::MountTable& mounts,
                                const catalog::PathRules& rules, const std::string& path) {
    if (rules.IsNetworkPath(path)) {
        return {NetworkIdentity(rules.NetworkHostOf(path, false))};
    }
    const auto drives = mounts.Drives();
    const platform::MountEntry* drive = platform::PlaceOfPath(*drives, path).drive;
    if (drive == nullptr) {
        return {{}, IdentityProblem::NoVolume};
    }
    if (drive->driveType == "Remote") {
        if (drive->networkAddress.empty()) {
            return {{}, IdentityProblem::UntranslatableNetworkMount};
        }
        return {NetworkIdentity(rules.NetworkHostOf(drive->networkAddress, false))};
    }
    return {IdentityOfDrive(*drive)};
}

}  // namespace sonarchive::cataloguing
