// Absolute POSIX paths relative to mount points and folders.
#pragma once

#include <string_view>
#include <vector>

#include "platform/mount_table.h"

namespace sonarchive::platform {

// True when `path` is `folder` or lies below it (a component boundary follows the prefix:
// "/media/a b" is not below "/media/a").
bool IsPathUnder(std::string_view path, std::string_view folder);

// The rest of `path` below `folder` ("" or "/..."); `path` must be under `folder`.
std::string_view PathBelow(std::string_view path, std::string_view folder);

// Where a path lies: the drive, and which of its places holds the path.
struct PathPlace {
    const MountEntry* drive = nullptr;
    std::string_view mountPoint;
    std::string_view folder;  // the folder of the drive shown there; empty at its main place
};

// The place with the longest mount point that is a prefix of the path at a component
// boundary, among the drives' main and other places; no drive when none is (a relative path).
PathPlace PlaceOfPath(const std::vector<MountEntry>& drives, std::string_view path);

}  // namespace sonarchive::platform
