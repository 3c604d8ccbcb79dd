// Pictures of the main window, the preferences, the mini player and the about box.
#include <QStringList>

#include "gui/shell/about_box.h"
#include "gui/shell/main_window.h"
#include "gui/shell/mini_player.h"
#include "gui/shell/preferences_dialog.h"
#include "gui/shell/program.h"
#include "screenshot_support.h"

namespace sonarchive::screenshots {

bool ShootShellWindows(gui::Program& program, const QDir& out) {
    bool saved = Save(program.Main(), out, QStringLiteral("main-window"));

    gui::TFPreferences& preferences = *program.Windows().preferences;
    preferences.Prepare();
    preferences.show();
    const QStringList pages = {QStringLiteral("General"),
                               QStringLiteral("Confirmations"),
                               QStringLiteral("MP3"),
                               QStringLiteral("Ogg Vorbis"),
                               QStringLiteral("Monkey's Audio"),
                               QStringLiteral("File Organizer")};
    for (const QString& page : pages) {
        preferences.SelectNode(page);
        saved = Save(preferences, out,
                     QStringLiteral("preferences-") +
                         page.toLower()
                             .remove(QLatin1Char('\''))
                             .replace(QLatin1Char(' '), QLatin1Char('-'))) &&
                saved;
    }
    preferences.hide();

    gui::TFMiniPlayer& player = *program.Windows().miniPlayer;
    player.PlayFile(QStringLiteral("/Music/Ann Arbor/Weather Songs/1 Blue Sky.mp3"));
    player.adjustSize();
    saved = Save(player, out, QStringLiteral("mini-player")) && saved;
    player.hide();

    gui::AboutBox& about = *program.Windows().about;
    about.show();
    saved = Save(about, out, QStringLiteral("about")) && saved;
    about.hide();
    return saved;
}

}  // namespace sonarchive::screenshots
