// sonarchive-screenshots DIR: pictures of the program's windows, made without a display on a
// small demonstration catalog, so that anyone can look at the program.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdlib>
#include <string>

#include "catalog_store/catalog.h"
#include "catalog_store/sql_text.h"
#include "gui/shell/main_window.h"
#include "gui/shell/program.h"
#include "gui/window_providers.h"
#include "platform/settings_file.h"
#include "screenshot_support.h"

namespace {

using namespace sonarchive;

struct DemoSong {
    const char* artist;
    const char* title;
    const char* album;
    const char* genre;
    int year;
    int seconds;
};

constexpr DemoSong kSongs[] = {
    {"Ann Arbor", "Blue Sky", "Weather Songs", "Pop", 2003, 187},
    {"Ann Arbor", "Rain Again", "Weather Songs", "Pop", 2003, 214},
    {"Ann Arbor", "Thunder Road Trip", "Weather Songs", "Pop", 2003, 242},
    {"The Quiet Hours", "Night Shift", "After Dark", "Jazz", 1999, 305},
    {"The Quiet Hours", "Lamplight", "After Dark", "Jazz", 1999, 276},
    {"Björk Nilsson", "Fjord", "Northern Lines", "Folk", 2011, 198},
    {"Björk Nilsson", "Ice Harbour", "Northern Lines", "Folk", 2011, 221},
    {"Static Garden", "Feedback Loop", "Circuits", "Electronic", 2015, 263},
};

// A back-end that pretends to play a song, so the player shows a position.
class DemoBackend : public gui::MediaBackend {
public:
    bool Open(const QString&) override { return true; }
    void Close() override {}
    Mode State() const override { return Mode::Playing; }
    bool Play() override { return true; }
    bool Pause() override { return true; }
    bool Resume() override { return true; }
    bool Stop() override { return true; }
    bool Seek(qint64) override { return true; }
    qint64 Length() const override { return 225000; }
    qint64 Position() const override { return 83000; }
    bool HasVolumeControl() const override { return true; }
    int Volume() const override { return 45000; }
    void SetVolumeUnmuted(int) override {}
};

void FillDemoCatalog(const std::string& dataDirectory) {
    catalog::Catalog demo(dataDirectory);
    catalog::Database& db = demo.Engine();
    int track = 1;
    for (const DemoSong& song : kSongs) {
        const std::string path = std::string("/Music/") + song.artist + "/" + song.album + "/" +
                                 std::to_string(track) + " " + song.title + ".mp3";
        db.Execute(
            "insert into maindata (dFormat, dYear, dTrack, dTitle, dArtist, dAlbum, dGenre, dPath, "
            "dDriveSerialNumber, dDriveLabel, dDriveLetter, dDriveType, dFileSize, dMPEGBitrate, "
            "dMPEGFrequency, dLength, dDateAdded) values (2, " +
            std::to_string(song.year) + ", " + std::to_string(track++) + ", '" +
            catalog::SqlQuote(song.title) + "', '" + catalog::SqlQuote(song.artist) + "', '" +
            catalog::SqlQuote(song.album) + "', '" + catalog::SqlQuote(song.genre) + "', '" +
            catalog::SqlQuote(path) + "', '1A2B3C4D', 'MUSIC', '/media/MUSIC', 2, " +
            std::to_string(song.seconds * 24) + ", 192, 44100, " + std::to_string(song.seconds) +
            ", '2024-05-01')");
    }
    for (const char* name : {"Car", "Party mix", "Sunday morning"}) {
        db.Execute("insert into SubColl (dName, dFiles, dLength, dSize, dUsePositions) values ('" +
                   catalog::SqlQuote(name) + "', 0, 0, 0, 0)");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        QTextStream(stderr) << "Usage: sonarchive-screenshots DIR\n";
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/sonarchive.png")));
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir work;
    if (!QDir().mkpath(out.absolutePath()) || !work.isValid()) {
        QTextStream(stderr) << "cannot create the folders\n";
        return 1;
    }
    const std::string dataDirectory = work.filePath(QStringLiteral("data")).toStdString();
    FillDemoCatalog(dataDirectory);
    platform::SettingsFile settings(work.filePath(QStringLiteral("settings.json")).toStdString());
    settings.Write({{"FIRST_TIME_USAGE", std::int64_t{0}}});

    gui::ProgramParts parts;
    parts.providers = gui::AllWindowProviders();
    parts.mediaBackend = [] { return std::make_unique<DemoBackend>(); };
    gui::Program program(dataDirectory, settings, std::move(parts));
    program.Main().resize(1100, 720);
    if (program.Start() != gui::StartupSequence::Result::Completed) {
        return 1;
    }
    bool saved = true;
    for (const auto shoot : {screenshots::ShootShellWindows, screenshots::ShootCataloguingWindows,
                             screenshots::ShootTagWindows, screenshots::ShootListWindows,
                             screenshots::ShootOrganizeWindows,
                             screenshots::ShootCollectionWindows,
                             screenshots::ShootReportWindows}) {
        saved = shoot(program, out) && saved;
    }
    return saved ? 0 : 1;
}
