#include "gui/shell/recent_playlists.h"

#include <QFileDialog>
#include <algorithm>

namespace sonarchive::gui {

QStringList RecentPlaylists::StoredOldestFirst() const {
    return QString::fromStdString(registry_.ReadRegString(kValueName))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList RecentPlaylists::Files() const {
    QStringList files = StoredOldestFirst();
    std::reverse(files.begin(), files.end());
    return files;
}

void RecentPlaylists::Add(const QString& file) {
    QStringList files = StoredOldestFirst();
    files.removeAll(file);
    files.append(file);
    while (files.size() > kMaxEntries) {
        files.removeFirst();
    }
    registry_.WriteRegString(kValueName, files.join(QLatin1Char('\n')).toStdString());
}

QString PlaylistFileFilter() {
    return QObject::tr("WinAmp playlist (*.m3u *.m3u8 *.M3U *.M3U8)");
}

QString AskPlaylistFileToSave(QWidget& parent, const QString& caption) {
    QFileDialog dialog(&parent, caption, QString(), PlaylistFileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("m3u"));
    dialog.selectFile(QStringLiteral("MyPlayList"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}

}  // namespace sonarchive::gui
