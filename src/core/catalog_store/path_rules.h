// How a file's full path maps onto its catalog identity (volume serial, stored path) and back.
//
// Two rule sets implement one interface: the Windows rules (drive letters, "\", UNC paths),
// pure string logic kept so that the system's own examples stay checked, and the POSIX rules,
// which work through the current mount table: the "drive letter" is the mount point, the stored
// path is the path below it, and a file on a network mount is stored by its network address
// "//host/share/...".
#pragma once

#include <string>
#include <string_view>

#include "platform/drive_list.h"
#include "platform/mount_table.h"

namespace sonarchive::catalog {

class PathRules {
public:
    virtual ~PathRules() = default;

    // The path as stored in dPath.
    virtual std::string StripDriveLetter(std::string_view fullPath) const = 0;
    // The drive letter (mount point) of a full path; a blank for network paths.
    virtual std::string DriveLetterOf(std::string_view fullPath) const = 0;
    // The host part of a network path with its two leading separators ("\\srv", "//srv"),
    // without them when `dropSlashes` is set; empty for a path that is not a network path.
    virtual std::string NetworkHostOf(std::string_view path, bool dropSlashes) const = 0;
    // Where a catalogued file can be opened now; empty when its volume is not present or its
    // network share is not reachable through a mount.
    virtual std::string BuildFullPath(std::string_view serial,
                                      std::string_view storedPath) const = 0;
    // Where a folder the user typed can be opened. On POSIX a network folder "//host/share/dir"
    // is reached through the current network mounts (empty when none reaches it).
    virtual std::string ResolveTypedFolder(std::string_view typed) const = 0;
    // The two characters that begin a network path: "\\" or "//".
    virtual std::string_view NetworkPrefix() const = 0;
    virtual char Separator() const = 0;

    bool IsNetworkPath(std::string_view path) const { return !NetworkHostOf(path, false).empty(); }
};

// Drive letters, backslashes and UNC paths, with the local drives from a drive list.
class WindowsPathRules final : public PathRules {
public:
    explicit WindowsPathRules(const platform::LocalDriveList& drives) : drives_(drives) {}

    std::string StripDriveLetter(std::string_view fullPath) const override;
    std::string DriveLetterOf(std::string_view fullPath) const override;
    std::string NetworkHostOf(std::string_view path, bool dropSlashes) const override;
    std::string BuildFullPath(std::string_view serial, std::string_view storedPath) const override;
    // UNC paths open as they are.
    std::string ResolveTypedFolder(std::string_view typed) const override;
    std::string_view NetworkPrefix() const override { return "\\\\"; }
    char Separator() const override { return '\\'; }

private:
    const platform::LocalDriveList& drives_;
};

// Mount points and network addresses, through the current mount table.
class PosixPathRules final : public PathRules {
public:
    explicit PosixPathRules(const platform::MountTable& mounts) : mounts_(mounts) {}

    std::string StripDriveLetter(std::string_view fullPath) const override;
    std::string DriveLetterOf(std::string_view fullPath) const override;
    std::string NetworkHostOf(std::string_view path, bool dropSlashes) const override;
    std::string BuildFullPath(std::string_view serial, std::string_view storedPath) const override;
    std::string ResolveTypedFolder(std::string_view typed) const override;
    std::string_view NetworkPrefix() const override { return "//"; }
    char Separator() const override { return '/'; }

private:
    const platform::MountTable& mounts_;
};

}  // namespace sonarchive::catalog
