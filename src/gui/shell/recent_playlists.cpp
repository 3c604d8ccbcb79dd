#include "gui/shell/recent_playlists.h"

namespace sonarchive::gui {

QStringList RecentPlaylists::Files() const {
    return QString::fromStdString(registry_.ReadRegString(kValueName))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void RecentPlaylists::Add(const QString& file) {
    QStringList files = Files();
    if (files.contains(file)) {
        return;
    }
    files.append(file);
    while (files.size() > kMaxEntries) {
        files.removeFirst();
    }
    registry_.WriteRegString(kValueName, files.join(QLatin1Char('\n')).toStdString());
}

}  // namespace sonarchive::gui
