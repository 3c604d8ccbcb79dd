// Files dragged between the program and other programs, as "text/uri-list" of file URLs.
// Names are bytes: the URLs carry every byte percent-encoded, so a name that is not UTF-8
// still names its file at the other end.
#pragma once

#include <QMimeData>
#include <memory>
#include <string>
#include <vector>

namespace sonarchive::gui {

// The local files of a drop, as the program holds paths; URLs of other schemes or hosts are
// left out.
std::vector<std::string> DroppedFilePaths(const QMimeData& data);

// True when a drop offers at least one local file.
bool OffersLocalFiles(const QMimeData& data);

// The drag data of full paths (as the program holds them).
std::unique_ptr<QMimeData> FileUrlsMimeData(const std::vector<std::string>& paths);

}  // namespace sonarchive::gui
