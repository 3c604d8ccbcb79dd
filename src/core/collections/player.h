// Handing files to the user's audio player: one file directly, several through a temporary
// playlist. Network files go only when their host answers. How a player is started is the
// launcher's business: the desktop program's opens files with the desktop's default
// application, or runs the commands the user configured.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "catalog_store/settings.h"
#include "interaction/interaction.h"
#include "platform/mount_table.h"
#include "platform/reachability.h"

namespace sonarchive::collections {

// The three ways of handing a file over. Each answers whether a program could be started.
class PlayerLauncher {
public:
    virtual ~PlayerLauncher() = default;
    virtual bool Play(const std::string& path) = 0;
    // The fall-back after a failed Play: the file's default application.
    virtual bool Open(const std::string& path) = 0;
    virtual bool Enqueue(const std::string& path) = 0;
};

// PLAYER_COMMAND and PLAYER_ENQUEUE_COMMAND; empty when not set.
struct PlayerCommands {
    std::string play;
    std::string enqueue;
};
PlayerCommands ReadPlayerCommands(catalog::Registry& registry);

// Plays and enqueues through the configured commands where they are set, and through
// `defaultApplication` (its Open) where they are not; Open is always the default application.
class ConfiguredLauncher final : public PlayerLauncher {
public:
    ConfiguredLauncher(PlayerCommands commands, PlayerLauncher& defaultApplication)
        : commands_(std::move(commands)), default_(defaultApplication) {}

    bool Play(const std::string& path) override;
    bool Open(const std::string& path) override;
    bool Enqueue(const std::string& path) override;

private:
    PlayerCommands commands_;
    PlayerLauncher& default_;
};

enum class PlayMode { Play = 0, Enqueue = 1 };

class PlayerHandOff {
public:
    PlayerHandOff(PlayerLauncher& launcher, const platform::MountTable& mounts,
                  platform::ReachabilityCheck& reachability, Interaction& user,
                  std::string temporaryFolder);

    // A network file ("//host/..." or on a network mount) goes only when its host answers;
    // otherwise nothing happens. Play falls back to Open; when nothing could be started the
    // user reads "Couldn't open file (PATH)".
    void HandToPlayer(const std::string& path, PlayMode mode);
    // No paths: nothing; one: that file; several: a new temporary playlist of them.
    void PlayFileList(const std::vector<std::string>& paths, PlayMode mode);

    // The host a path must reach first: "//host" for a network path or a path on a network
    // mount (found in the mount table by its mount point, the file itself is not touched);
    // empty for a local file.
    std::string NetworkHostOf(const std::string& path) const;

private:
    PlayerLauncher& launcher_;
    const platform::MountTable& mounts_;
    platform::ReachabilityCheck& reachability_;
    Interaction& user_;
    std::string temporaryFolder_;
};

// Writes "~sonarchv" + a number from 0 to 99999 + ".m3u" into the folder, made new (never
// over another file: a taken number draws another) and readable by the user only, one
// absolute path a line. Answers its path, empty when it could not be written.
std::string WriteTemporaryPlaylist(const std::vector<std::string>& paths,
                                   const std::string& folder);

}  // namespace sonarchive::collections
