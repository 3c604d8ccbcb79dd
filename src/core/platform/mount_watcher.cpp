#include "platform/mount_watcher.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <vector>

namespace sonarchive::platform {

MountWatcher::MountWatcher(const MountTable& mounts, const std::string& signalFile)
    : mounts_(mounts),
      fd_(::open(signalFile.c_str(), O_RDONLY | O_CLOEXEC)),
      drives_(mounts.Drives()),
      localDrives_(BuildLocalDriveList(mounts)) {}

MountWatcher::~MountWatcher() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool MountWatcher::ProcessChange() {
    MountSnapshot drives = mounts_.Drives();
    if (*drives == *drives_) {
        return false;
    }
    drives_ = std::move(drives);
    localDrives_ = BuildLocalDriveList(mounts_);
    std::vector<Subscriber> subscribers;
    for (const auto& [token, subscriber] : subscribers_) {
        subscribers.push_back(subscriber);
    }
    for (const auto& subscriber : subscribers) {
        subscriber(localDrives_);
    }
    return true;
}

bool MountWatcher::WaitForChange(int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() < 0) {
            return false;
        }
        pollfd watch{fd_, POLLPRI, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(left.count()));
        if (ready > 0 && (watch.revents & (POLLPRI | POLLERR)) != 0 && ProcessChange()) {
            return true;
        }
        if (ready == 0) {
            return false;
        }
    }
}

int MountWatcher::Subscribe(Subscriber subscriber) {
    subscribers_.emplace(nextToken_, std::move(subscriber));
    return nextToken_++;
}

void MountWatcher::Unsubscribe(int token) {
    subscribers_.erase(token);
}

}  // namespace sonarchive::platform
