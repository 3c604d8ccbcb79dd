// sonarchive: the desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstring>
#include <memory>
#include <utility>

#include "gui/shell/path_text.h"
#include "gui/shell/program.h"
#include "gui/window_providers.h"
#include "platform/app_paths.h"
#include "platform/settings_file.h"

namespace {

const QCommandLineOption kDataDir(
    QStringLiteral("data-dir"),
    QStringLiteral("The catalog's folder (default: $SONARCHIVE_DATA_DIR, else "
                   "$XDG_DATA_HOME/sonarchive, else ~/.local/share/sonarchive)."),
    QStringLiteral("DIR"));

void Describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Keeps a catalog of audio files (MP3, Ogg Vorbis, WAV, Monkey's Audio)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(kDataDir);
}

// --help and --version answer on the terminal, also where no display is available.
bool AsksForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        for (const char* word : {"--help", "-h", "--help-all", "--version", "-v"}) {
            if (std::strcmp(argv[i], word) == 0) {
                return true;
            }
        }
    }
    return false;
}

void Name() {
    QCoreApplication::setApplicationName(QStringLiteral("sonarchive"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SONARCHIVE_VERSION));
}

}  // namespace

int main(int argc, char** argv) {
    if (AsksForText(argc, argv)) {
        QCoreApplication terminal(argc, argv);
        Name();
        QCommandLineParser parser;
        Describe(parser);
        parser.process(terminal);  // prints and exits
        return 0;
    }
    QApplication application(argc, argv);
    Name();
    QApplication::setDesktopFileName(QStringLiteral(SONARCHIVE_DESKTOP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(SONARCHIVE_DESKTOP_ID),
                                                 QIcon(QStringLiteral(":/images/sonarchive.png"))));
    QCommandLineParser parser;
    Describe(parser);
    parser.process(application);

    using namespace sonarchive;
    platform::SettingsFile settings(platform::SettingsFilePath());
    gui::ProgramParts parts;
    parts.providers = gui::AllWindowProviders();
    gui::Program program(platform::DataDirectory(gui::PathFromQtName(parser.value(kDataDir))),
                         settings, std::move(parts));
    return program.Run();
}
