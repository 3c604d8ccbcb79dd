// The playlists opened lately, listed at the end of the "&Playlist" menu, and the file dialogs
// that choose playlists.
#pragma once

#include <QStringList>

#include "catalog_store/settings.h"

class QWidget;

namespace sonarchive::gui {

class RecentPlaylists {
public:
    static constexpr int kMaxEntries = 10;
    static constexpr const char* kValueName = "RECENT_PLAYLISTS";

    explicit RecentPlaylists(catalog::Registry& registry) : registry_(registry) {}

    // The newest first, as the menu lists them.
    QStringList Files() const;
    // Puts the file at the top, where it moves if it was listed already; the oldest goes when
    // the list is full. Stored oldest first.
    void Add(const QString& file);

private:
    QStringList StoredOldestFirst() const;

    catalog::Registry& registry_;
};

// The filter of the playlist dialogs, with the upper-case names that other systems write.
QString PlaylistFileFilter();
// A save dialog for a playlist ("MyPlayList", extension m3u, asking before replacing a file);
// the chosen name, empty when cancelled.
QString AskPlaylistFileToSave(QWidget& parent, const QString& caption);

}  // namespace sonarchive::gui
