#include "platform/attached_volumes.h"

#include <blkid/blkid.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>

#include "platform/device_facts.h"
#include "platform/volume_rules.h"

namespace sonarchive::platform {
namespace {

namespace fs = std::filesystem;

struct Filesystem {
    std::string uuid;
    std::string label;
    std::string type;  // libblkid's name of the filesystem ("ext4"); empty from udev
    std::string node;  // the device node it was found at
};

using ByDevice = std::map<dev_t, Filesystem>;

bool BlockDeviceNumber(const std::string& path, dev_t& number) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISBLK(st.st_mode)) {
        return false;
    }
    number = st.st_rdev;
    return true;
}

// Every link of a /dev/disk folder, by the device it leads to: its decoded name.
std::map<dev_t, std::string> LinkNames(const char* folder) {
    std::map<dev_t, std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        dev_t number = 0;
        if (BlockDeviceNumber(it->path().string(), number)) {
            names.emplace(number, DecodeUdevName(it->path().filename().string()));
        }
    }
    return names;
}

void AddFromUdev(ByDevice& found) {
    const auto labels = LinkNames("/dev/disk/by-label");
    for (auto& [number, uuid] : LinkNames("/dev/disk/by-uuid")) {
        Filesystem& filesystem = found[number];
        filesystem.uuid = uuid;
        if (const auto label = labels.find(number); label != labels.end()) {
            filesystem.label = CleanLabel(label->second);
        }
    }
}

std::string TagOf(blkid_dev device, const char* name) {
    std::string value;
    blkid_tag_iterate tags = blkid_tag_iterate_begin(device);
    const char* type = nullptr;
    const char* text = nullptr;
    while (tags != nullptr && blkid_tag_next(tags, &type, &text) == 0) {
        if (type != nullptr && text != nullptr && std::string_view(type) == name) {
            value = text;
        }
    }
    blkid_tag_iterate_end(tags);
    return value;
}

// Devices udev has not described (no udev in a container, a loop device just attached) are
// probed; what udev said is kept where both know a device.
void AddFromBlkid(ByDevice& found) {
    blkid_cache cache = nullptr;
    // No cache file: the answer must be of now, and nothing is written.
    if (blkid_get_cache(&cache, "/dev/null") != 0) {
        return;
    }
    const std::unique_ptr<blkid_struct_cache, void (*)(blkid_cache)> owner(cache, blkid_put_cache);
    if (blkid_probe_all(cache) != 0) {
        return;
    }
    blkid_dev_iterate devices = blkid_dev_iterate_begin(cache);
    blkid_dev device = nullptr;
    while (devices != nullptr && blkid_dev_next(devices, &device) == 0) {
        const char* node = blkid_dev_devname(device);
        dev_t number = 0;
        if (node == nullptr || !BlockDeviceNumber(node, number)) {
            continue;
        }
        Filesystem& filesystem = found[number];
        if (filesystem.uuid.empty()) {
            filesystem.uuid = TagOf(device, "UUID");
            filesystem.label = CleanLabel(TagOf(device, "LABEL"));
        }
        filesystem.type = TagOf(device, "TYPE");
        filesystem.node = node;
    }
    blkid_dev_iterate_end(devices);
}

}  // namespace

std::vector<std::string> AttachedVolumeSerials() {
    ByDevice found;
    AddFromUdev(found);
    AddFromBlkid(found);
    std::vector<std::string> serials;
    for (const auto& [number, filesystem] : found) {
        std::string serial = SerialFromUuid(filesystem.uuid, filesystem.label);
        if (serial.empty() && !filesystem.type.empty()) {
            // A filesystem without UUID is known by its device and type once mounted.
            serial = HashSerial(filesystem.node + "\n" + filesystem.type);
        }
        if (!serial.empty() && std::find(serials.begin(), serials.end(), serial) == serials.end()) {
            serials.push_back(std::move(serial));
        }
    }
    return serials;
}

}  // namespace sonarchive::platform
