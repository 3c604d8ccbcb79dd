// What the system knows about the block device behind a mount: the identity of the filesystem
// on it and whether its disk can be taken away.
#pragma once

#include <string>
#include <string_view>

namespace sonarchive::platform {

struct VolumeIdentity {
    std::string uuid;   // as the filesystem writes it ("ABCD-1234"); empty when unknown
    std::string label;  // empty when none or unknown
};

class DeviceFacts {
public:
    virtual ~DeviceFacts() = default;
    // `device` is the major:minor number of a mount ("8:17"), `source` its mount source.
    virtual VolumeIdentity IdentityOf(std::string_view device, std::string_view source) const = 0;
    // True when the device's disk is marked removable or hangs off USB.
    virtual bool IsRemovable(std::string_view device, std::string_view source) const = 0;
};

// The facts as udev and the kernel tell them: UUID and label from /dev/disk/by-uuid and
// /dev/disk/by-label, else from libblkid probing the device; removability from sysfs.
class SystemDeviceFacts final : public DeviceFacts {
public:
    VolumeIdentity IdentityOf(std::string_view device, std::string_view source) const override;
    bool IsRemovable(std::string_view device, std::string_view source) const override;
};

// udev writes unsafe characters of link names as "\xHH" ("MY\x20MUSIC"); this decodes them.
std::string DecodeUdevName(std::string_view name);

// A label as the drives carry it: valid UTF-8, at most 255 code points.
std::string CleanLabel(std::string_view label);

}  // namespace sonarchive::platform
