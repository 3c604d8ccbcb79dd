// sonarchive: the desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gui/shell/opened_files.h"
#include "gui/shell/path_text.h"
#include "gui/shell/program.h"
#include "gui/shell/single_instance.h"
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
    parser.setApplicationDescription(QStringLiteral(
        "Keeps a catalog of audio files (MP3, Ogg Vorbis, WAV, Monkey's Audio).\n"
        "Files and folders named on the command line are added to the catalog as if dropped "
        "on the main window; playlists open in a playlist window. A second start on the same "
        "catalog hands its files to the program already running there and ends."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(kDataDir);
    parser.addPositionalArgument(
        QStringLiteral("files"),
        QStringLiteral("Audio files, folders and playlists (.m3u, .m3u8) to add or open."),
        QStringLiteral("[FILE...]"));
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

// Qt has taken its own options out of argv by now.
std::vector<std::string> CommandLinePaths(int argc, char** argv, const QCommandLineParser& parser) {
    std::error_code error;
    const std::string workingDirectory = std::filesystem::current_path(error).string();
    return sonarchive::gui::NamedPaths(std::vector<std::string>(argv + 1, argv + argc),
                                       parser.positionalArguments(), workingDirectory);
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
    const std::string dataDirectory =
        platform::DataDirectory(gui::PathFromQtName(parser.value(kDataDir)));
    const std::vector<std::string> named = CommandLinePaths(argc, argv, parser);
    gui::SingleInstance instance(gui::InstanceSocketPath(dataDirectory));
    switch (instance.ClaimOrHandOver(named)) {
        case gui::SingleInstance::Claim::HandedOver:
            return 0;
        case gui::SingleInstance::Claim::NoAnswer:
            std::cerr << "sonarchive: the program already running on this catalog does not "
                         "answer.\n";
            return 1;
        case gui::SingleInstance::Claim::First:
        case gui::SingleInstance::Claim::Alone:
            break;
    }

    platform::SettingsFile settings(platform::SettingsFilePath());
    gui::ProgramParts parts;
    parts.providers = gui::AllWindowProviders();
    gui::Program program(dataDirectory, settings, std::move(parts));
    instance.SetReceiver(
        [&program](std::vector<std::string> paths) { program.TakeHandOver(std::move(paths)); });
    program.OpenFiles(named);
    return program.Run();
}
