// Keeps the local drive list current while drives come and go: the Linux form of device
// arrival and removal. The kernel marks /proc/self/mountinfo with POLLPRI whenever a
// filesystem is mounted or unmounted in this mount namespace.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "platform/drive_list.h"
#include "platform/mount_table.h"

namespace sonarchive::platform {

// Used from one thread. The desktop program watches FileDescriptor() with an exception
// notifier and calls ProcessChange() when it fires; the command line and tests use
// WaitForChange().
class MountWatcher {
public:
    using Subscriber = std::function<void(const LocalDriveList&)>;

    // Builds the local drive list from `mounts` at once and starts watching `signalFile`.
    explicit MountWatcher(const MountTable& mounts,
                          const std::string& signalFile = "/proc/self/mountinfo");
    ~MountWatcher();
    MountWatcher(const MountWatcher&) = delete;
    MountWatcher& operator=(const MountWatcher&) = delete;

    // Ready for POLLPRI when the mount table changed; -1 when it could not be opened.
    int FileDescriptor() const { return fd_; }

    // Reads the drives again after a change signal. When they differ from before (local drives
    // or network mounts), rebuilds the local drive list, tells every subscriber and answers
    // true.
    bool ProcessChange();

    // Waits up to `timeoutMs` for a change of the drives and processes it; false when none
    // came in time. Changes that leave the drives as they were (a pseudo filesystem) are
    // passed over.
    bool WaitForChange(int timeoutMs);

    const LocalDriveList& LocalDrives() const { return localDrives_; }

    // Subscribers are called after the list was rebuilt; a subscriber may unsubscribe itself.
    int Subscribe(Subscriber subscriber);
    void Unsubscribe(int token);

private:
    const MountTable& mounts_;
    int fd_ = -1;
    MountSnapshot drives_;
    LocalDriveList localDrives_;
    int nextToken_ = 1;
    std::map<int, Subscriber> subscribers_;
};

}  // namespace sonarchive::platform
