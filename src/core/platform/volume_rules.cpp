#include "platform/volume_rules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <vector>

namespace sonarchive::platform {
namespace {

constexpr std::array<std::string_view, 21> kPseudoFileSystems = {
    "proc",        "sysfs",     "devpts", "devtmpfs", "cgroup", "cgroup2",    "securityfs",
    "debugfs",     "tracefs",   "mqueue", "bpf",      "pstore", "configfs",   "fusectl",
    "binfmt_misc", "hugetlbfs", "autofs", "efivarfs", "nsfs",   "rpc_pipefs", "selinuxfs"};

// FUSE filesystems are listed by their subtype ("fuse.sshfs" as "sshfs").
constexpr std::array<std::string_view, 13> kNetworkFileSystems = {
    "nfs",  "nfs4",      "cifs",  "smb3",   "smbfs", "9p",        "afs",
    "ceph", "glusterfs", "sshfs", "rclone", "davfs", "gvfsd-fuse"};

constexpr std::string_view kFusePrefix = "fuse.";

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string_view BaseName(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// "/dev/sr0", "/dev/scd1": the kernel's names of optical drives.
bool IsOpticalDevice(std::string_view source) {
    if (!source.starts_with("/dev/")) {
        return false;
    }
    const std::string_view name = BaseName(source);
    for (const std::string_view prefix : {"sr", "scd"}) {
        if (name.starts_with(prefix) && name.size() > prefix.size() &&
            std::isdigit(static_cast<unsigned char>(name[prefix.size()])) != 0) {
            return true;
        }
    }
    return false;
}

std::string JoinAddress(std::string_view host, std::string_view path) {
    while (!path.empty() && path.back() == '/') {
        path.remove_suffix(1);
    }
    if (host.empty()) {
        return {};
    }
    std::string address = "//";
    address.append(host);
    address.append(path);
    return address;
}

// "//host/share" and "\\host\share".
std::string UncAddress(std::string_view source) {
    std::string slashed(source);
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const std::string_view rest = std::string_view(slashed).substr(2);
    const auto slash = rest.find('/');
    return slash == std::string_view::npos ? JoinAddress(rest, {})
                                           : JoinAddress(rest.substr(0, slash), rest.substr(slash));
}

// "scheme://user@host:port/path".
std::string UrlAddress(std::string_view afterScheme) {
    const auto slash = afterScheme.find('/');
    std::string_view authority = afterScheme.substr(0, slash);
    const std::string_view path =
        slash == std::string_view::npos ? std::string_view{} : afterScheme.substr(slash);
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    if (!authority.starts_with("[")) {
        authority = authority.substr(0, authority.find(':'));
    } else if (const auto close = authority.find(']'); close != std::string_view::npos) {
        authority = authority.substr(0, close + 1);
    }
    return JoinAddress(authority, path);
}

// "user@host:/path" and "[v6addr]:/path"; the path must be absolute.
std::string HostColonPathAddress(std::string_view source) {
    std::string_view rest = source;
    if (const auto at = rest.find('@'); at != std::string_view::npos && at < rest.find(':')) {
        rest.remove_prefix(at + 1);
    }
    std::size_t colon = std::string_view::npos;
    if (rest.starts_with("[")) {
        const auto close = rest.find(']');
        if (close != std::string_view::npos && close + 1 < rest.size() && rest[close + 1] == ':') {
            colon = close + 1;
        }
    } else {
        colon = rest.find(':');
    }
    if (colon == std::string_view::npos || colon + 1 >= rest.size() || rest[colon + 1] != '/') {
        return {};
    }
    return JoinAddress(rest.substr(0, colon), rest.substr(colon + 1));
}

// Hexadecimal digits alone (NTFS, HFS+, UDF) or in the groups filesystems write one number in:
// 4-4 (FAT, exFAT) and 8-4-4-4-12 (ext, btrfs, XFS, LUKS). An ISO 9660 creation time
// ("2026-12-09-15-41-19-00") is decimal groups of another layout.
bool IsOneHexadecimalNumber(std::string_view uuid) {
    std::vector<std::size_t> groups{0};
    for (const char c : uuid) {
        if (c == '-') {
            groups.push_back(0);
        } else if (std::isxdigit(static_cast<unsigned char>(c)) != 0) {
            ++groups.back();
        } else {
            return false;
        }
    }
    using Layout = std::vector<std::size_t>;
    return (groups.size() == 1 && groups[0] > 0) || groups == Layout{4, 4} ||
           groups == Layout{8, 4, 4, 4, 12};
}

}  // namespace

bool IsPseudoFileSystem(std::string_view fileSystemType) {
    return Contains(kPseudoFileSystems, fileSystemType);
}

bool IsNetworkFileSystem(std::string_view fileSystemType) {
    if (fileSystemType.starts_with(kFusePrefix)) {
        fileSystemType.remove_prefix(kFusePrefix.size());
    }
    return Contains(kNetworkFileSystems, fileSystemType);
}

std::string_view DriveTypeOf(std::string_view fileSystemType, std::string_view source,
                             bool removableDisk) {
    if (IsNetworkFileSystem(fileSystemType)) {
        return kDriveRemote;
    }
    if (fileSystemType == "iso9660" || fileSystemType == "udf" || IsOpticalDevice(source)) {
        return kDriveCdRom;
    }
    if (fileSystemType == "tmpfs" || fileSystemType == "ramfs") {
        return kDriveRamDisk;
    }
    return removableDisk ? kDriveRemovable : kDriveFixed;
}

std::string NetworkAddressOf(std::string_view source) {
    if (source.starts_with("//") || source.starts_with("\\\\")) {
        return UncAddress(source);
    }
    if (const auto scheme = source.find("://");
        scheme != std::string_view::npos && source.find_first_of("/:") == scheme) {
        return UrlAddress(source.substr(scheme + 3));
    }
    return HostColonPathAddress(source);
}

std::string SerialFromUuid(std::string_view uuid, std::string_view label) {
    std::string digits;
    for (const char c : uuid) {
        if (std::isxdigit(static_cast<unsigned char>(c)) != 0) {
            digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    if (digits.empty()) {
        return {};
    }
    if (!IsOneHexadecimalNumber(uuid)) {
        std::string key(uuid);
        key += '\n';
        key.append(label);
        return HashSerial(key);
    }
    constexpr std::size_t kSerialDigits = 8;
    constexpr std::size_t kNtfsDigits = 16;
    if (digits.size() == kNtfsDigits && digits.size() == uuid.size()) {
        return digits.substr(kNtfsDigits - kSerialDigits);
    }
    if (digits.size() < kSerialDigits) {
        return std::string(kSerialDigits - digits.size(), '0') + digits;
    }
    return digits.substr(0, kSerialDigits);
}

std::string HashSerial(std::string_view key) {
    std::uint32_t hash = 2166136261U;  // FNV-1a 32-bit offset basis
    for (const char c : key) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619U;  // FNV 32-bit prime
    }
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(hash));
    return text;
}

}  // namespace sonarchive::platform
