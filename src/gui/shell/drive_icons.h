// The picture of a volume by its dDriveType code, shared by every window that lists volumes.
#pragma once

#include <QIcon>
#include <cstdint>

namespace sonarchive::gui {

// The desktop theme's icon, the style's own where the theme has none: 2 removable, 3 fixed,
// 4 remote, 5 CD-ROM, 6 RAM disk; anything else a hard disk.
QIcon DriveTypeIcon(std::int32_t driveType);

}  // namespace sonarchive::gui
