#include "collections/player.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "collections/player_command.h"
#include "collections/playlist_document.h"
#include "platform/mount_paths.h"
#include "text/path_bytes.h"

namespace sonarchive::collections {
namespace {

constexpr int kTemporaryNameAttempts = 1000;

// "//host/share/..." gives "//host".
std::string HostPartOf(std::string_view networkPath) {
    if (!networkPath.starts_with("//") || networkPath.size() < 3) {
        return {};
    }
    const auto end = networkPath.find('/', 2);
    return std::string(networkPath.substr(0, end));
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

PlayerCommands ReadPlayerCommands(catalog::Registry& registry) {
    return {registry.ReadRegString("PLAYER_COMMAND"),
            registry.ReadRegString("PLAYER_ENQUEUE_COMMAND")};
}

bool ConfiguredLauncher::Play(const std::string& path) {
    return commands_.play.empty() ? default_.Open(path)
                                  : StartDetached(PlayerArguments(commands_.play, path));
}

bool ConfiguredLauncher::Open(const std::string& path) {
    return default_.Open(path);
}

bool ConfiguredLauncher::Enqueue(const std::string& path) {
    return commands_.enqueue.empty() ? default_.Open(path)
                                     : StartDetached(PlayerArguments(commands_.enqueue, path));
}

PlayerHandOff::PlayerHandOff(PlayerLauncher& launcher, const platform::MountTable& mounts,
                             platform::ReachabilityCheck& reachability, Interaction& user,
                             std::string temporaryFolder)
    : launcher_(launcher),
      mounts_(mounts),
      reachability_(reachability),
      user_(user),
      temporaryFolder_(std::move(temporaryFolder)) {}

std::string PlayerHandOff::NetworkHostOf(const std::string& path) const {
    if (path.starts_with("//")) {
        return HostPartOf(path);
    }
    const platform::MountSnapshot drives = mounts_.Drives();
    const platform::PathPlace place = platform::PlaceOfPath(*drives, path);
    if (place.drive == nullptr || place.drive->driveType != "Remote") {
        return {};
    }
    return HostPartOf(place.drive->networkAddress);
}

void PlayerHandOff::HandToPlayer(const std::string& path, PlayMode mode) {
    const std::string host = NetworkHostOf(path);
    if (!host.empty() && !platform::PingHost(reachability_, host, user_)) {
        return;
    }
    const bool started = mode == PlayMode::Play ? launcher_.Play(path) || launcher_.Open(path)
                                                : launcher_.Enqueue(path);
    if (!started) {
        user_.ShowError(CouldNotOpen(path));
    }
}

void PlayerHandOff::PlayFileList(const std::vector<std::string>& paths, PlayMode mode) {
    if (paths.empty()) {
        return;
    }
    if (paths.size() == 1) {
        HandToPlayer(paths.front(), mode);
        return;
    }
    const std::string playlist = WriteTemporaryPlaylist(paths, temporaryFolder_);
    if (playlist.empty()) {
        user_.ShowError(WriteProblem(temporaryFolder_ + "/~sonarchv.m3u"));
        return;
    }
    HandToPlayer(playlist, mode);
}

std::string WriteTemporaryPlaylist(const std::vector<std::string>& paths,
                                   const std::string& folder) {
    std::string content;
    for (const auto& path : paths) {
        content.append(text::PathToSystem(path)).append("\n");
    }
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<int> number(0, 99999);
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const std::string path = folder + "/~sonarchv" + std::to_string(number(random)) + ".m3u";
        const int fd = ::open(text::PathToSystem(path).c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return {};
        }
        const bool written = WriteAll(fd, content);
        const bool closed = ::close(fd) == 0;
        if (written && closed) {
            return path;
        }
        ::unlink(text::PathToSystem(path).c_str());
        return {};
    }
    return {};
}

}  // namespace sonarchive::collections
