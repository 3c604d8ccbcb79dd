#include "gui/shell/path_text.h"

#include <QByteArray>
#include <QFile>

#include "text/path_bytes.h"

namespace sonarchive::gui {

QString DisplayPath(std::string_view path) {
    return QString::fromStdString(text::PathForDisplay(path));
}

std::string PathFromUrl(const QUrl& url) {
    // The encoded form still holds the bytes; toLocalFile() would have decoded them as UTF-8.
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toUtf8());
    return text::PathFromSystem(bytes.toStdString());
}

QUrl UrlOfPath(std::string_view path) {
    const QByteArray bytes = QByteArray::fromStdString(text::PathToSystem(path));
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
}

std::string PathFromQtName(const QString& name) {
    return text::PathFromSystem(QFile::encodeName(name).toStdString());
}

}  // namespace sonarchive::gui
