#include "gui/collections/desktop_player.h"

#include <QDesktopServices>

#include "collections/temp_playlists.h"
#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"
#include "gui/shell/path_text.h"

namespace sonarchive::gui {
namespace {

collections::PlayMode ModeOf(bool enqueue) {
    return enqueue ? collections::PlayMode::Enqueue : collections::PlayMode::Play;
}

}  // namespace

bool DesktopApplicationLauncher::Open(const std::string& path) {
    return QDesktopServices::openUrl(UrlOfPath(path));
}

void PlayFiles(TFMain& main, collections::PlayerLauncher& defaultApplication,
               const std::vector<std::string>& fullPaths, bool enqueue) {
    collections::ConfiguredLauncher launcher(collections::ReadPlayerCommands(main.App().Registry()),
                                             defaultApplication);
    collections::PlayerHandOff handOff(launcher, main.Drives().Mounts(),
                                       main.Drives().Reachability(), main.App().User(),
                                       collections::TempPlaylistFolder());
    handOff.PlayFileList(fullPaths, ModeOf(enqueue));
}

}  // namespace sonarchive::gui
