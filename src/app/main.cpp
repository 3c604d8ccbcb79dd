// sonarchive: the desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include "gui/shell/program.h"
#include "platform/app_paths.h"
#include "platform/settings_file.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("sonarchive"));
    QApplication::setApplicationVersion(QStringLiteral(SONARCHIVE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("sonarchive"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("sonarchive"),
                                                 QIcon(QStringLiteral(":/images/sonarchive.png"))));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Keeps a catalog of audio files (MP3, Ogg Vorbis, WAV, Monkey's Audio)."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"),
        QStringLiteral("The catalog's folder (default: $SONARCHIVE_DATA_DIR, else "
                       "$XDG_DATA_HOME/sonarchive, else ~/.local/share/sonarchive)."),
        QStringLiteral("DIR"));
    parser.addOption(dataDir);
    parser.process(application);

    using namespace sonarchive;
    platform::SettingsFile settings(platform::SettingsFilePath());
    gui::Program program(platform::DataDirectory(parser.value(dataDir).toStdString()), settings,
                         gui::ProgramParts{});
    return program.Run();
}
