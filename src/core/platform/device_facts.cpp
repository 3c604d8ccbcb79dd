#include "platform/device_facts.h"

#include <blkid/blkid.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <charconv>
#include <filesystem>
#include <optional>

#include "formats/file_access.h"
#include "text/text.h"

namespace sonarchive::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxLabelLength = 255;  // code points
constexpr int kMaxStackDepth = 4;             // dm-crypt on LVM on a USB disk is 3 levels

std::optional<dev_t> ParseDeviceNumber(std::string_view device) {
    const auto colon = device.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    unsigned major = 0;
    unsigned minor = 0;
    const char* begin = device.data();
    const char* end = begin + device.size();
    const auto [afterMajor, majorError] = std::from_chars(begin, begin + colon, major);
    const auto [afterMinor, minorError] = std::from_chars(begin + colon + 1, end, minor);
    if (majorError != std::errc() || minorError != std::errc() || afterMajor != begin + colon ||
        afterMinor != end) {
        return std::nullopt;
    }
    return makedev(major, minor);
}

std::optional<dev_t> BlockDeviceAt(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISBLK(st.st_mode)) {
        return std::nullopt;
    }
    return st.st_rdev;
}

// The block device of a mount. Filesystems that span devices (btrfs) show an anonymous number
// (major 0) in mountinfo; their source then names the device.
std::optional<dev_t> DeviceNumberOf(std::string_view device, std::string_view source) {
    const auto number = ParseDeviceNumber(device);
    if (number && major(*number) != 0) {
        return number;
    }
    return BlockDeviceAt(std::string(source));
}

// The device node libblkid can open: the source itself, else udev's /dev/block/M:m link.
std::optional<std::string> DeviceNode(dev_t number, std::string_view source) {
    std::string candidate(source);
    if (BlockDeviceAt(candidate) == number) {
        return candidate;
    }
    candidate = "/dev/block/" + std::to_string(major(number)) + ":" + std::to_string(minor(number));
    if (BlockDeviceAt(candidate) == number) {
        return candidate;
    }
    return std::nullopt;
}

// The name of the link in a /dev/disk folder that leads to the device; empty when none does.
std::string LinkNameFor(const char* folder, dev_t number) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (BlockDeviceAt(it->path().string()) == number) {
            return DecodeUdevName(it->path().filename().string());
        }
    }
    return {};
}

VolumeIdentity ProbeWithBlkid(const std::string& node) {
    VolumeIdentity identity;
    blkid_probe probe = blkid_new_probe_from_filename(node.c_str());
    if (probe == nullptr) {
        return identity;
    }
    blkid_probe_enable_superblocks(probe, 1);
    blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_UUID | BLKID_SUBLKS_LABEL);
    if (blkid_do_safeprobe(probe) == 0) {
        const char* value = nullptr;
        if (blkid_probe_lookup_value(probe, "UUID", &value, nullptr) == 0 && value != nullptr) {
            identity.uuid = value;
        }
        if (blkid_probe_lookup_value(probe, "LABEL", &value, nullptr) == 0 && value != nullptr) {
            identity.label = CleanLabel(value);
        }
    }
    blkid_free_probe(probe);
    return identity;
}

std::string SysfsFolderOf(dev_t number) {
    std::error_code error;
    const fs::path folder = fs::canonical(
        "/sys/dev/block/" + std::to_string(major(number)) + ":" + std::to_string(minor(number)),
        error);
    return error ? std::string() : folder.string();
}

// `folder` is the sysfs folder of a block device. A partition's removable flag sits on its
// disk; a device-mapper or RAID device inherits removability from the devices below it.
bool IsRemovableInSysfs(const fs::path& folder, int depth) {
    if (folder.string().find("/usb") != std::string::npos) {
        return true;
    }
    std::error_code error;
    const fs::path disk = fs::exists(folder / "partition", error) ? folder.parent_path() : folder;
    const auto removable = formats::ReadWholeFile((disk / "removable").string(), 16);
    if (removable && removable->substr(0, 1) == "1") {
        return true;
    }
    if (depth >= kMaxStackDepth) {
        return false;
    }
    for (fs::directory_iterator it(folder / "slaves", error), end; !error && it != end;
         it.increment(error)) {
        std::error_code linkError;
        const fs::path below = fs::canonical(it->path(), linkError);
        if (!linkError && IsRemovableInSysfs(below, depth + 1)) {
            return true;
        }
    }
    return false;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::string CleanLabel(std::string_view label) {
    return text::CutCodePoints(text::SanitizeUtf8(label), kMaxLabelLength);
}

std::string DecodeUdevName(std::string_view name) {
    std::string decoded;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            HexValue(name[i + 2]) >= 0 && HexValue(name[i + 3]) >= 0) {
            decoded += static_cast<char>(HexValue(name[i + 2]) * 16 + HexValue(name[i + 3]));
            i += 3;
        } else {
            decoded += name[i];
        }
    }
    return decoded;
}

VolumeIdentity SystemDeviceFacts::IdentityOf(std::string_view device,
                                             std::string_view source) const {
    const auto number = DeviceNumberOf(device, source);
    if (!number) {
        return {};
    }
    if (std::string uuid = LinkNameFor("/dev/disk/by-uuid", *number); !uuid.empty()) {
        return {std::move(uuid), CleanLabel(LinkNameFor("/dev/disk/by-label", *number))};
    }
    const auto node = DeviceNode(*number, source);
    return node ? ProbeWithBlkid(*node) : VolumeIdentity{};
}

bool SystemDeviceFacts::IsRemovable(std::string_view device, std::string_view source) const {
    const auto number = DeviceNumberOf(device, source);
    if (!number) {
        return false;
    }
    const std::string folder = SysfsFolderOf(*number);
    return !folder.empty() && IsRemovableInSysfs(folder, 0);
}

}  // namespace sonarchive::platform
