// Files dragged between the program and other programs, as "text/uri-list" of file URLs.
// Names are bytes: the URLs carry every byte percent-encoded, so a name that is not UTF-8
// still names its file at the other end.
#pragma once

#include <QMimeData>
#include <memory>
#include <string>
#include <vector>

namespace sonarchive::platform {
class MountTable;
}

namespace sonarchive::gui {

// The local files of a drop, as the program holds paths; URLs of other schemes or hosts are
// left out.
std::vector<std::string> DroppedFilePaths(const QMimeData& data);

// The paths with every folder among them replaced by the audio files below it, as a scan of
// the folder with its subfolders would find them; other paths stay as they are, in order.
std::vector<std::string> WithFolderFiles(const platform::MountTable& mounts,
                                         const std::vector<std::string>& paths);

// True when a drop offers at least one local file.
bool OffersLocalFiles(const QMimeData& data);

// The name Qt opens a file by, for a path as the program holds it.
QString QtFileName(const std::string& path);

// The drag data of full paths (as the program holds them).
std::unique_ptr<QMimeData> FileUrlsMimeData(const std::vector<std::string>& paths);

}  // namespace sonarchive::gui
