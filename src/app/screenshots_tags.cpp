// Pictures of the tag editor on a small tagged file and of mass update on the demonstration
// catalog.
#include <QComboBox>
#include <QTemporaryDir>
#include <fstream>

#include "catalog_store/records.h"
#include "gui/shell/app_context.h"
#include "gui/shell/main_window.h"
#include "gui/shell/program.h"
#include "gui/tags/mass_update_window.h"
#include "gui/tags/tag_editor_window.h"
#include "screenshot_support.h"
#include "tags/tag_types.h"
#include "tags/tag_write.h"

namespace sonarchive::screenshots {
namespace {

// A file the editor can open: a few bytes of stand-in audio behind an ID3v2 and an ID3v1 tag.
bool MakeTaggedFile(const std::string& path) {
    std::ofstream(path, std::ios::binary) << std::string(2048, '\x55');
    catalog::TCommentInfoType values;
    values.Title = "Blue Sky";
    values.Artist = "Ann Arbor";
    values.Album = "Weather Songs";
    values.Year = "2003";
    values.Track = 1;
    values.Genre = "Pop";
    values.Comment = "Recorded live";
    values.Composer = "A. Arbor";
    values.Encoder = "LAME 3.100";
    return tags::WriteTag(path, tags::kTagId3v2, values, "", true) &&
           tags::WriteTag(path, tags::kTagId3v1, values, "", true);
}

}  // namespace

bool ShootTagWindows(gui::Program& program, const QDir& out) {
    gui::TFMain& main = program.Main();
    bool saved = true;

    QTemporaryDir work;
    const std::string song = work.filePath(QStringLiteral("01 Blue Sky.mp3")).toStdString();
    gui::TFEditMP3Properties editor(main.App(), *main.Windows().help, &main);
    if (!work.isValid() || !MakeTaggedFile(song) || !editor.Prepare(song)) {
        return false;
    }
    editor.show();
    saved = Save(editor, out, QStringLiteral("tag-editor")) && saved;
    editor.hide();

    gui::TFMassUpdateTag massUpdate(main.App(), main.Drives().PathRules(), *main.Windows().help,
                                    &main);
    massUpdate.Load({1, 2, 3, 4, 5, 6, 7, 8});
    massUpdate.findChild<QComboBox*>(QStringLiteral("ComboSelectField"))->setCurrentIndex(1);
    massUpdate.show();
    saved = Save(massUpdate, out, QStringLiteral("mass-update")) && saved;
    massUpdate.hide();
    return saved;
}

}  // namespace sonarchive::screenshots
