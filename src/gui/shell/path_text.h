// Names of files between the windows and the program.
//
// Inside the program a name is in its own form (text/path_bytes.h): bytes that are not UTF-8
// are kept as private-use characters. A QString built with QString::fromStdString of that form
// keeps it losslessly and may be handed between windows; what the user reads is DisplayPath.
// Qt's own conversions of names to bytes (QFile, QFileInfo, QUrl::fromLocalFile,
// QUrl::toLocalFile) know nothing of the kept bytes: names go to the system as PathToSystem
// bytes and come back through PathFromSystem.
#pragma once

#include <QString>
#include <QUrl>
#include <string>
#include <string_view>

namespace sonarchive::gui {

// For reading: kept bytes show as their ISO-8859-1 characters.
QString DisplayPath(std::string_view path);

// The file named by a dropped or pasted URL, with every byte of its name.
std::string PathFromUrl(const QUrl& url);

// A file URL that names exactly the file's bytes (for players and other programs).
QUrl UrlOfPath(std::string_view path);

// A name Qt produced (a file dialog's answer): the bytes Qt would open, in the program's form.
std::string PathFromQtName(const QString& name);

}  // namespace sonarchive::gui
