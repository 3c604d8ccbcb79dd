// How a search window adds files in its add modes: a folder (mode 1), files dropped on the
// main window or on the window itself (mode 2), every local drive (mode 3). Each answers the
// highest catalog id before the first file, so the window can list the rows above it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gui/cataloguing/add_files_dialog.h"

namespace sonarchive::gui {

class CounterFigures;
class MessagesPanel;
class TFMain;
class VolumeFigures;

enum class AddMode { Search = 0, Folder = 1, Dropped = 2, AllDrives = 3 };

// What the search window shows of an add while it runs; any part may be null.
struct AddDisplay {
    VolumeFigures* volume = nullptr;     // the disk panel
    CounterFigures* counters = nullptr;  // the counters panel
    MessagesPanel* messages = nullptr;   // the lines of files that were not added
};

// Scans the chosen folder with the progress window; nothing when the add could not start
// (the user has been told why).
std::optional<std::int64_t> AddFromFolder(TFMain& main, const AddFilesChoice& choice,
                                          const AddDisplay& display);
// Scans every local drive with the progress window.
std::int64_t AddFromAllDrives(TFMain& main, const std::vector<std::string>& masks,
                              const AddDisplay& display);
// Adds the files one by one; a playlist among them is opened instead.
std::int64_t AddDroppedFiles(TFMain& main, const std::vector<std::string>& paths,
                             const AddDisplay& display);

}  // namespace sonarchive::gui
