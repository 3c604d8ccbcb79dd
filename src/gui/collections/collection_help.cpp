#include "gui/collections/collection_help.h"

#include <QObject>

namespace sonarchive::gui {

Tip CollectionOpeningTip() {
    return {TipKind::Collection, QObject::tr("Collections"),
            QObject::tr("To add files to a collection, open a \"Browse\" or a \"Search\" window "
                        "and drag files over to the \"collection\" window. You can also "
                        "\"right-click\" in a \"Browse\" / \"Search\" window and select \"Add to "
                        "collection\" from the popup menu."),
            true, kCollectionsHelpTopic};
}

Tip CollectionAddFilesTip() {
    return {TipKind::Collection, QObject::tr("Collections"),
            QObject::tr("To add files to the collection, open a \"Browse\" or a \"Search\" window "
                        "and drag files over to the \"collection\" window."),
            true, kCollectionsHelpTopic};
}

Tip CollectionsTip() {
    return {TipKind::Collections, QObject::tr("Collections"),
            QObject::tr("A \"collection\" lets you define a group of files. There are many "
                        "situations where this is helpfull, for instance when selecting files to "
                        "prepare for cd-burning. A collection also work great as a playlist."),
            true, kCollectionsHelpTopic};
}

Tip PlaylistTip() {
    return {TipKind::Playlist, QObject::tr("Playlists"),
            QObject::tr("To add files to the playlist, you can drag files from Sonarchive's "
                        "archive (browse or search view), drag from another source (e.g. Windows "
                        "Explorer), or by clicking on the \"Add files\" button to select files "
                        "directly from your computer."),
            true, kPlaylistHelpTopic};
}

}  // namespace sonarchive::gui
