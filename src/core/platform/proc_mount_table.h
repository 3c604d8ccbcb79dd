// The drives of this process's mount namespace, read from /proc/self/mountinfo.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/device_facts.h"
#include "platform/mount_table.h"
#include "platform/mountinfo.h"

namespace sonarchive::platform {

// The drives of a mount table: pseudo filesystems left out, mounts covered by a later mount
// on the same mount point left out, each filesystem once. A filesystem mounted at several
// places is listed under the place that shows most of it (the shortest root), then the
// shortest mount point; its other places become `otherPlaces`. Kept in the table's order.
std::vector<MountEntry> DrivesFromMountInfo(const std::vector<MountInfoLine>& lines,
                                            const DeviceFacts& facts);

class ProcMountTable final : public MountTable {
public:
    static constexpr const char* kSelfMountInfo = "/proc/self/mountinfo";

    explicit ProcMountTable(
        std::string path = kSelfMountInfo,
        std::shared_ptr<const DeviceFacts> facts = std::make_shared<SystemDeviceFacts>());
    ~ProcMountTable() override;
    ProcMountTable(const ProcMountTable&) = delete;
    ProcMountTable& operator=(const ProcMountTable&) = delete;

    // The drives as last read. The table is read again only when the kernel signals a change
    // of the mount table (a cheap poll) or after Invalidate, since long lists ask for every
    // row. An unreadable table has no drives.
    MountSnapshot Drives() const override;

    // Makes the next Drives() read the table again (for tables that cannot signal changes).
    void Invalidate();

private:
    bool KernelSignalledChange() const;
    MountSnapshot Read() const;

    std::string path_;
    std::shared_ptr<const DeviceFacts> facts_;
    int fd_ = -1;
    mutable std::mutex mutex_;
    mutable MountSnapshot cache_;
};

}  // namespace sonarchive::platform
