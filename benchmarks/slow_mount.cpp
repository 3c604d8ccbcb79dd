#include "slow_mount.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

namespace sonarchive::benchmarks {
namespace {

// A mount point shows a device of its own once the filesystem is there.
bool IsMountedAt(const std::string& mountPoint) {
    struct stat inside {};
    struct stat parent {};
    const std::string above = std::filesystem::path(mountPoint).parent_path().string();
    return ::stat(mountPoint.c_str(), &inside) == 0 && ::stat(above.c_str(), &parent) == 0 &&
           inside.st_dev != parent.st_dev;
}

}  // namespace

SlowMount::SlowMount(const std::string& fuseProgram, const std::string& source,
                     const std::string& mountPoint, int delayMs)
    : mountPoint_(mountPoint) {
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        problem_ = "/dev/fuse is missing or not usable by this user";
        return;
    }
    std::filesystem::create_directories(mountPoint);
    const std::string delay = std::to_string(delayMs);
    server_ = ::fork();
    if (server_ == 0) {
        ::execl(fuseProgram.c_str(), fuseProgram.c_str(), source.c_str(), mountPoint.c_str(),
                delay.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!IsMountedAt(mountPoint) && std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(server_, nullptr, WNOHANG) == server_) {
            server_ = -1;
            problem_ = fuseProgram + " ended without mounting (see its messages above)";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    mounted_ = IsMountedAt(mountPoint);
    if (!mounted_) {
        problem_ = "the slow filesystem was not mounted within 10 seconds";
    }
}

SlowMount::~SlowMount() {
    if (server_ <= 0) {
        return;
    }
    // The server unmounts on SIGTERM and ends.
    ::kill(server_, SIGTERM);
    ::waitpid(server_, nullptr, 0);
}

}  // namespace sonarchive::benchmarks
