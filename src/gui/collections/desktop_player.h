// Handing files to the user's audio player from the desktop program: the desktop's default
// application for a file, or the player commands of the "Player" preferences where the user set
// them (read anew on every hand-off, so a change applies at once).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "collections/player.h"

namespace sonarchive::gui {

class TFMain;

// Opens a file with the application the desktop associates with it; Play, Open and Enqueue
// are all that one act, since the desktop knows no other verbs.
class DesktopApplicationLauncher final : public collections::PlayerLauncher {
public:
    bool Play(const std::string& path) override { return Open(path); }
    bool Open(const std::string& path) override;
    bool Enqueue(const std::string& path) override { return Open(path); }
};

// One file directly, several through a temporary playlist; network files only when their host
// answers. `defaultApplication` stands in for the desktop (tests give a fake).
void PlayFiles(TFMain& main, collections::PlayerLauncher& defaultApplication,
               const std::vector<std::string>& fullPaths, bool enqueue);

}  // namespace sonarchive::gui
