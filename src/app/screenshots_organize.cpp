// Pictures of renaming, of the File Organizer with its preview, and of the duplicate finder
// with its groups. The organizer works on files at hand, so a few small songs are made and
// added first.
#include <QDialog>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <fstream>

#include "gui/lists/add_modes.h"
#include "gui/organize/duplicates_window.h"
#include "gui/organize/organizer_window.h"
#include "gui/organize/rename_window.h"
#include "gui/shell/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/main_window.h"
#include "gui/shell/program.h"
#include "organize/organizer_settings.h"
#include "screenshot_support.h"
#include "tags/tag_types.h"
#include "tags/tag_write.h"

namespace sonarchive::screenshots {
namespace {

// MPEG-1 layer III frames at 128 kbit/s and 44.1 kHz behind an ID3v2 tag.
bool MakeSong(const std::string& path, const std::string& artist, const std::string& title) {
    constexpr std::size_t kFrameLength = 417;
    std::string frame(kFrameLength, '\0');
    frame.replace(0, 4, "\xFF\xFB\x90\x64");
    std::ofstream file(path, std::ios::binary);
    for (int i = 0; i < 60; ++i) {
        file << frame;
    }
    file.close();
    catalog::TCommentInfoType values;
    values.Artist = artist;
    values.Title = title;
    values.Album = "Weather Songs";
    values.Year = "2003";
    return static_cast<bool>(tags::WriteTag(path, tags::kTagId3v2, values, "", true));
}

bool ShootOrganizer(gui::TFMain& main, const QDir& out, const QString& base) {
    if (!QDir().mkpath(base)) {
        return false;
    }
    organize::OrganizerSettings settings;
    settings.baseDir = base.toStdString();
    settings.range = organize::OrganizeRange::AllFiles;
    settings.folders = organize::FolderNaming::ArtistAlbum;
    settings.names = organize::FileNaming::ArtistTitle;
    organize::WriteOrganizerSettings(main.App().Registry(), settings);
    bool saved = true;
    gui::TFDiskOrgMain& organizer = gui::TFDiskOrgMain::Of(main);
    ShootNextModal(out, QStringLiteral("file-organizer"), saved, [&out, &saved](QDialog& window) {
        ShootNextModal(out, QStringLiteral("file-organizer-preview"), saved);
        static_cast<gui::TFDiskOrgMain&>(window).Preview();
    });
    organizer.ShowModal({});
    return saved;
}

}  // namespace

bool ShootOrganizeWindows(gui::Program& program, const QDir& out) {
    gui::TFMain& main = program.Main();
    QTemporaryDir work;
    const QString songs = work.filePath(QStringLiteral("songs"));
    if (!work.isValid() || !QDir().mkpath(songs)) {
        return false;
    }
    std::vector<std::string> paths;
    for (const auto& [artist, title] :
         {std::pair("Ann Arbor", "Blue Sky"), std::pair("Ann Arbor", "Rain Again"),
          std::pair("Static Garden", "Feedback Loop")}) {
        const std::string path =
            (songs + QLatin1Char('/') + QString::number(paths.size() + 1) + QStringLiteral(".mp3"))
                .toStdString();
        if (!MakeSong(path, artist, title)) {
            return false;
        }
        paths.push_back(path);
    }
    gui::AddDroppedFiles(main, paths, {});

    bool saved = true;
    gui::TFRename& rename = gui::TFRename::Of(main);
    rename.SetIds({1, 2, 3, 4, 5, 6, 7, 8});
    ShootNextModal(out, QStringLiteral("rename-files"), saved);
    rename.ShowModal();

    saved = ShootOrganizer(main, out, work.filePath(QStringLiteral("Sorted"))) && saved;

    auto* finder = new gui::TFDuplicates(main);
    QMdiSubWindow* frame = main.Children().Add(finder, gui::ChildKind::Duplicates);
    frame->resize(900, 380);
    organize::DuplicateFields artist;
    artist.artist = true;
    finder->RunSearch(organize::DuplicateMethod::Custom, artist);
    saved = Save(*frame, out, QStringLiteral("find-duplicates")) && saved;
    frame->close();
    return saved;
}

}  // namespace sonarchive::screenshots
