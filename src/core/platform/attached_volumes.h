// The volumes of every block device attached now, mounted or not: an internal data partition
// that nobody mounted, or a disk plugged in but not opened, still exists.
#pragma once

#include <string>
#include <vector>

namespace sonarchive::platform {

// The serials of the filesystems on the attached block devices, as the mount table gives them
// once such a filesystem is mounted (SerialFromUuid of UUID and label). UUID and label come
// from udev's /dev/disk/by-uuid and /dev/disk/by-label, and from libblkid probing every device
// the kernel lists (as blkid does), so that devices udev does not know of count too. Each
// serial once, in no particular order; empty where nothing can be read.
std::vector<std::string> AttachedVolumeSerials();

}  // namespace sonarchive::platform
