// The playlists opened lately, listed at the end of the "&Playlist" menu.
#pragma once

#include <QStringList>

#include "catalog_store/settings.h"

namespace sonarchive::gui {

class RecentPlaylists {
public:
    static constexpr int kMaxEntries = 10;
    static constexpr const char* kValueName = "RECENT_PLAYLISTS";

    explicit RecentPlaylists(catalog::Registry& registry) : registry_(registry) {}

    // In the order they were added; the oldest goes when the list is full.
    QStringList Files() const;
    // Appends the file unless it is listed already.
    void Add(const QString& file);

private:
    catalog::Registry& registry_;
};

}  // namespace sonarchive::gui
