// How a mounted filesystem becomes a drive: which mounts are drives at all, their drive type,
// the network address of a network mount, and the 8-digit serial of a volume.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sonarchive::platform {

// Drive type names; the catalog stores them as codes (DriveTypeCodeOf).
inline constexpr std::string_view kDriveNoTypeInformation = "No Type Information";
inline constexpr std::string_view kDriveNoRootDirectory = "Root Directory does not exist";
inline constexpr std::string_view kDriveRemovable = "Removable";
inline constexpr std::string_view kDriveFixed = "Fixed";
inline constexpr std::string_view kDriveRemote = "Remote";
inline constexpr std::string_view kDriveCdRom = "CDROM";
inline constexpr std::string_view kDriveRamDisk = "RamDisk";

// Kernel interfaces and automounter placeholders (proc, sysfs, cgroup, autofs, ...): no files
// of the user live there.
bool IsPseudoFileSystem(std::string_view fileSystemType);

// nfs, cifs, sshfs and the other filesystems whose files live on another computer. FUSE
// filesystems count by their subtype ("fuse.sshfs").
bool IsNetworkFileSystem(std::string_view fileSystemType);

// The drive type name of a mount that is not a pseudo filesystem. `removableDisk` tells whether
// the block device behind it sits on a removable or USB disk.
std::string_view DriveTypeOf(std::string_view fileSystemType, std::string_view source,
                             bool removableDisk);

// The network address "//host/path" of a network mount source, or empty when the source has
// none of the known forms:
//   //host/share, \\host\share          (cifs, smb3)
//   host:/export, [v6addr]:/export       (nfs, glusterfs)
//   user@host:/dir                       (sshfs)
//   scheme://user@host:port/dir          (davfs)
// A trailing "/" is dropped; "host:/" gives "//host".
std::string NetworkAddressOf(std::string_view source);

// The serial of a volume from its filesystem UUID and label: 8 upper-case hexadecimal digits.
// FAT and exFAT "ABCD-1234" give "ABCD1234"; the 16 hex digits of NTFS give their last 8 (the
// half that Windows shows as the serial); any other hexadecimal UUID gives its first 8 hex
// digits, a shorter one is padded with leading zeros. A UUID that is not one hexadecimal number
// (the creation time of an ISO 9660 or UDF disc, "2026-12-09-15-41-19-00", the same for every
// disc burned that day) gives the HashSerial of the whole UUID and the label. Empty when the
// UUID has no hexadecimal digit.
std::string SerialFromUuid(std::string_view uuid, std::string_view label);

// The serial of a volume without UUID: the 32-bit FNV-1a hash of `key` as 8 upper-case
// hexadecimal digits. Stable across runs and versions: catalogued rows depend on it.
std::string HashSerial(std::string_view key);

}  // namespace sonarchive::platform
