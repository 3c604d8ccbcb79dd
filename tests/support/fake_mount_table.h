// A mount table whose drives the test sets.
#pragma once

#include <memory>
#include <vector>

#include "platform/mount_table.h"

namespace sonarchive::testing {

class FakeMountTable : public platform::MountTable {
public:
    std::vector<platform::MountEntry> drives;

    platform::MountSnapshot Drives() const override {
        return std::make_shared<const std::vector<platform::MountEntry>>(drives);
    }

    // Adds a local drive.
    void Add(std::string mountPoint, std::string serial, std::string driveType = "Fixed",
             std::string label = {}) {
        drives.push_back({std::move(mountPoint), "/dev/fake", "ext4", std::move(driveType),
                          std::move(serial), std::move(label), {}});
    }
    // Adds a network mount of `address` ("//host/share").
    void AddNetwork(std::string mountPoint, std::string address, std::string source = {}) {
        drives.push_back({std::move(mountPoint), std::move(source), "cifs", "Remote", {}, {},
                          std::move(address)});
    }
};

}  // namespace sonarchive::testing
