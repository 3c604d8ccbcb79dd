#include "gui/shell/drive_icons.h"

#include <QApplication>
#include <QStyle>

namespace sonarchive::gui {

QIcon DriveTypeIcon(std::int32_t driveType) {
    struct Theme {
        const char* name;
        QStyle::StandardPixmap fallback;
    };
    static constexpr Theme kThemes[] = {
        {"drive-harddisk", QStyle::SP_DriveHDIcon},         // no type information
        {"drive-harddisk", QStyle::SP_DriveHDIcon},         // root does not exist
        {"drive-removable-media", QStyle::SP_DriveFDIcon},  // removable
        {"drive-harddisk", QStyle::SP_DriveHDIcon},         // fixed
        {"folder-remote", QStyle::SP_DriveNetIcon},         // remote
        {"media-optical", QStyle::SP_DriveCDIcon},          // CD-ROM
        {"media-flash", QStyle::SP_DriveHDIcon},            // RAM disk
    };
    constexpr auto kCount = static_cast<std::int32_t>(sizeof kThemes / sizeof kThemes[0]);
    const Theme& theme = kThemes[driveType >= 0 && driveType < kCount ? driveType : 0];
    return QIcon::fromTheme(QString::fromLatin1(theme.name),
                            QApplication::style()->standardIcon(theme.fallback));
}

}  // namespace sonarchive::gui
