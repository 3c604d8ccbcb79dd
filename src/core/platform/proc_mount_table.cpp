#include "platform/proc_mount_table.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <map>
#include <unordered_map>

#include "formats/file_access.h"
#include "platform/mount_paths.h"
#include "platform/volume_rules.h"
#include "text/path_bytes.h"

namespace sonarchive::platform {
namespace {

// Systems with thousands of mounts write a few hundred kilobytes.
constexpr std::size_t kMaxMountInfoSize = 64 * 1024 * 1024;

// The lines that can hold the user's files: no pseudo filesystems, and of several mounts on
// one mount point only the last, the one that covers the others.
std::vector<const MountInfoLine*> VisibleMounts(const std::vector<MountInfoLine>& lines) {
    std::unordered_map<std::string_view, std::size_t> lastAt;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lastAt[lines[i].mountPoint] = i;
    }
    std::vector<const MountInfoLine*> visible;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!IsPseudoFileSystem(lines[i].fileSystemType) && lastAt[lines[i].mountPoint] == i) {
            visible.push_back(&lines[i]);
        }
    }
    return visible;
}

// The mounts of each filesystem (by device number), in the order of their first mount.
std::vector<std::vector<const MountInfoLine*>> ByFileSystem(
    const std::vector<const MountInfoLine*>& mounts) {
    std::vector<std::vector<const MountInfoLine*>> groups;
    std::map<std::string_view, std::size_t> groupOf;
    for (const MountInfoLine* mount : mounts) {
        const auto [it, isNew] = groupOf.emplace(mount->device, groups.size());
        if (isNew) {
            groups.emplace_back();
        }
        groups[it->second].push_back(mount);
    }
    return groups;
}

const MountInfoLine* MainPlace(const std::vector<const MountInfoLine*>& places) {
    const MountInfoLine* main = places.front();
    for (const MountInfoLine* place : places) {
        if (place->root.size() < main->root.size() ||
            (place->root.size() == main->root.size() &&
             place->mountPoint.size() < main->mountPoint.size())) {
            main = place;
        }
    }
    return main;
}

// Places showing a folder outside what the main place shows cannot be expressed through it and
// are left out.
std::vector<MountPlace> OtherPlaces(const std::vector<const MountInfoLine*>& places,
                                    const MountInfoLine& main) {
    std::vector<MountPlace> others;
    for (const MountInfoLine* place : places) {
        if (place != &main && IsPathUnder(place->root, main.root)) {
            const bool sameFolder = place->root == main.root;
            others.push_back({text::PathFromSystem(place->mountPoint),
                              sameFolder
                                  ? std::string()
                                  : text::PathFromSystem(PathBelow(place->root, main.root))});
        }
    }
    return others;
}

// A filesystem without device and UUID (tmpfs, overlay) is told apart by where it is mounted:
// every tmpfs has the source "tmpfs". The key is the system's bytes, as it always was.
std::string FallbackSerial(const MountInfoLine& mount) {
    std::string key = mount.source + "\n" + mount.fileSystemType;
    if (!mount.source.starts_with('/')) {
        key += "\n" + mount.mountPoint;
    }
    return HashSerial(key);
}

MountEntry DriveOf(const MountInfoLine& main, std::vector<MountPlace> otherPlaces,
                   const DeviceFacts& facts) {
    // The device facts are asked with the system's bytes; the entry holds the program's form.
    MountEntry drive;
    drive.mountPoint = text::PathFromSystem(main.mountPoint);
    drive.source = text::PathFromSystem(main.source);
    drive.fileSystemType = main.fileSystemType;
    drive.otherPlaces = std::move(otherPlaces);
    if (IsNetworkFileSystem(main.fileSystemType)) {
        drive.driveType = kDriveRemote;
        drive.networkAddress = NetworkAddressOf(drive.source);
        return drive;
    }
    const bool removable = facts.IsRemovable(main.device, main.source);
    drive.driveType = DriveTypeOf(main.fileSystemType, main.source, removable);
    VolumeIdentity identity = facts.IdentityOf(main.device, main.source);
    drive.serialNumber = SerialFromUuid(identity.uuid, identity.label);
    if (drive.serialNumber.empty()) {
        drive.serialNumber = FallbackSerial(main);
    }
    drive.volumeName = std::move(identity.label);
    return drive;
}

}  // namespace

std::vector<MountEntry> DrivesFromMountInfo(const std::vector<MountInfoLine>& lines,
                                            const DeviceFacts& facts) {
    std::vector<MountEntry> drives;
    for (const auto& places : ByFileSystem(VisibleMounts(lines))) {
        const MountInfoLine* main = MainPlace(places);
        drives.push_back(DriveOf(*main, OtherPlaces(places, *main), facts));
    }
    return drives;
}

ProcMountTable::ProcMountTable(std::string path, std::shared_ptr<const DeviceFacts> facts)
    : path_(std::move(path)),
      facts_(std::move(facts)),
      fd_(::open(path_.c_str(), O_RDONLY | O_CLOEXEC)) {}

ProcMountTable::~ProcMountTable() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

MountSnapshot ProcMountTable::Drives() const {
    std::lock_guard lock(mutex_);
    if (cache_ == nullptr || KernelSignalledChange()) {
        cache_ = Read();
    }
    return cache_;
}

void ProcMountTable::Invalidate() {
    std::lock_guard lock(mutex_);
    cache_.reset();
}

bool ProcMountTable::KernelSignalledChange() const {
    pollfd watch{fd_, POLLPRI, 0};
    return fd_ >= 0 && ::poll(&watch, 1, 0) > 0 && (watch.revents & (POLLPRI | POLLERR)) != 0;
}

MountSnapshot ProcMountTable::Read() const {
    const auto text = fd_ >= 0 ? formats::ReadWholeFile(fd_, kMaxMountInfoSize) : std::nullopt;
    if (!text) {
        return std::make_shared<const std::vector<MountEntry>>();
    }
    return std::make_shared<const std::vector<MountEntry>>(
        DrivesFromMountInfo(ParseMountInfo(*text), *facts_));
}

}  // namespace sonarchive::platform
